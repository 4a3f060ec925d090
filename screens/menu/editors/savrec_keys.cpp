// The three selections of the Save/Recall list (type, action, memory) that the list's soft key acts on.
// A type keeps the other two valid for it: a memory number in its range, an action it has.
#include <atomic>

#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/menu/menu_page_words.h"
#include "screens/menu/editors/item_edit_keys.h"
#include "screens/menu/editors/menu_editor.h"

namespace {
using K = MenuEditKind;
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kPreset = 0, kArb = 3, kAllData = 4;
constexpr uint32_t kSaveInternal = 3, kRecallInternal = 4;
constexpr uint32_t kArbFirst = 1, kArbLast = 253, kMemoryLast = 9;

// The working value when it lies within the editor's limits.
bool WorkWithin(uint32_t* out) {
    const int32_t v = g_EditParam.workValue.load(kRelaxed);
    if (v < g_EditParam.min || v > g_EditParam.max) return false;
    *out = static_cast<uint32_t>(v);
    return true;
}

void EnterType(uint32_t) {
    uint32_t type = 0;
    if (WorkWithin(&type)) {
        SaveRecallType.store(type, kRelaxed);
        const uint32_t memory = SaveRecallMemory.load(kRelaxed);
        if (type == kArb && (memory < kArbFirst || memory > kArbLast))
            SaveRecallMemory.store(kArbFirst, kRelaxed);
        else if (type != kArb && type != kAllData && memory > kMemoryLast)
            SaveRecallMemory.store(0, kRelaxed);
        const uint32_t action = SaveRecallAction.load(kRelaxed);
        if (type != kPreset && (action == kSaveInternal || action == kRecallInternal))
            SaveRecallAction.store(0, kRelaxed);
    }
    MenuEdit_ReturnToRow(kMenuSavRecType);
}

void EnterAction(uint32_t) {
    uint32_t action = 0;
    if (WorkWithin(&action)) SaveRecallAction.store(action, kRelaxed);
    MenuEdit_ReturnToRow(kMenuSavRecAction);
}

void EnterMemory(uint32_t) {
    uint32_t memory = 0;
    if (WorkWithin(&memory)) SaveRecallMemory.store(memory, kRelaxed);
    MenuEdit_ReturnToRow(kMenuSavRecMemory);
}

constexpr MenuEditor kType{
    kMenuSavRecTypeEdit, kMenuSavRecType, K::kChoice, true, nullptr, nullptr, EnterType};
constexpr MenuEditor kAction{
    kMenuSavRecActionEdit, kMenuSavRecAction, K::kChoice, true, nullptr, nullptr, EnterAction};
constexpr MenuEditor kMemory{
    kMenuSavRecMemoryEdit, kMenuSavRecMemory, K::kChoice, true, nullptr, nullptr, EnterMemory};
}  // namespace

void menuListSavRecTypeEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kType);
}
void menuListSavRecActionEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kAction);
}
void menuListSavRecMemoryEdit(uint32_t* ev) {
    MenuEditor_Keys(ev, kMemory);
}
