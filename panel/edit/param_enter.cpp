// Entering the edit state of a setting: the panel's state word and edit words are primed from its record.
#include "panel/edit/param_enter.h"

#include "core/params/access/key_entry.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"

using namespace core;

namespace {

// Ids whose edit value comes from a mode or flag word instead of a record.
bool IsWordId(uint32_t id) {
    return id == kParamPhaseMode || id == kParamMainMode || id == kParamVoltRange || id == kParamIpkKind ||
           id == kParamVpkKind || id == kParamFreqLimitKind;
}

}  // namespace

int menuEnterParamState(uint32_t id) {
    const uint32_t phase = SelectedPhase();
    const uint32_t flags = g_ParamFlags.load(std::memory_order_relaxed);
    int32_t editValue = 0;
    switch (id) {
        case kParamPhaseMode:
            editValue = paramGetValue(kParamMeasItem7, 0) == 1 ? 0 : static_cast<int32_t>(phase);
            break;
        case kParamMainMode:
            editValue = static_cast<int32_t>(g_OutputModeIdx.load(std::memory_order_relaxed));
            break;
        case kParamVoltRange:
            editValue = static_cast<int32_t>(CurrentRangeCode());
            break;
        case kParamIpkKind:
            editValue = (flags & kFlagIpkKind) ? 1 : 0;
            break;
        case kParamVpkKind:
            editValue = (flags & kFlagVpkKind) ? 1 : 0;
            break;
        case kParamFreqLimitKind:
            editValue = (flags & kFlagFreqLimitKind) ? 1 : 0;
            break;
        default:
            break;
    }
    ParamRec rec;
    paramGetRecord(id, &rec, (id == kParamAcvLine || id == kParamDcvLine) ? 0 : phase);

    // Locked keys and a held meter leave only the measurement items open.
    if ((flags & (kFlagKeysLocked | kFlagMeterHold)) != 0 &&
        !(id >= kParamMeasItem1 && id <= kParamMeasItem7))
        return -1;

    g_MenuState.store(id, std::memory_order_relaxed);
    g_MenuPrevState.store(id, std::memory_order_relaxed);
    menuResetEdit();
    if (IsWordId(id)) {
        g_EditParam.startValue = editValue;
        g_EditParam.workValue = editValue;
    } else {
        g_EditBuf.startChoiceValue = static_cast<uint32_t>(rec.value);
        g_EditBuf.choiceValue = static_cast<uint32_t>(rec.value);
        g_EditParam.startValue = rec.value;
        g_EditParam.workValue = rec.value;
        g_EditParam.max = rec.max;
        g_EditParam.min = rec.min;
        g_EditParam.decimals = rec.decimals;
        g_EditParam.digits = rec.digits;
        g_EditParam.scale = rec.scale;
    }
    g_EditParam.cursor = 0;
    return 0;
}
