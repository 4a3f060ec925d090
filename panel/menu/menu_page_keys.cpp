// The keys every MENU-page list state shares: back to the parent row, the Save/Recall actions, the MISC
// list's two pages, the LCD reset and the parallel master's long DEF1.
#include "core/control/parallel/parallel_frame.h"
#include "core/control/preset_output.h"
#include "core/params/access/impedance_copy.h"
#include "core/params/access/param_access.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/usb_state.h"
#include "engine/memory_usb.h"
#include "panel/menu/home_fields.h"
#include "panel/menu/menu_page_words.h"
#include "panel/menu/row_entries.h"
#include "drivers/panel_link.h"
#include "storage/files/memory_data.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint8_t kKeyDef1 = 'Y', kKeyDef2 = 'Z', kKeyMin = '\\', kKeyBack = 0x60, kKeyLongDef1 = 194;
constexpr uint32_t kMiscRow = 95, kLcdFirstRow = 215, kLcdLastRow = 220;
constexpr uint32_t kLinkUp = 1u << 16;  // of the parallel link status
constexpr uint8_t kLcdMiddle = 50;

// Where the back key leaves a list state for: its parent row, or the home view (kHome).
constexpr uint32_t kHome = 1;
constexpr uint32_t kParallelRows = 0xFFFF;  // the Parallel list: only while its units may leave it
struct BackRow {
    uint16_t first, last;
    uint32_t target;
};
constexpr BackRow kBackTable[] = {
    {94, 95, kHome},   {96, 137, 95},     {138, 138, kHome},
    {139, 164, 138},   {165, 165, kHome}, {166, 169, 165},
    {170, 170, kHome}, {171, 178, 170},   {179, 179, kHome},
    {180, 181, 179},   {182, 182, 94},    {183, 186, 179},
    {187, 187, 94},    {188, 191, 179},   {192, 192, kHome},
    {193, 206, 192},   {207, 207, kHome}, {208, 213, kParallelRows},
    {214, 214, kHome}, {215, 220, 214},   {221, 221, kHome},
    {222, 222, 221},   {223, 223, kHome}, {224, 283, 223},
    {284, 284, kHome}, {285, 290, 284},   {292, 315, 223},
};

void Back(uint32_t state) {
    for (const BackRow& r : kBackTable) {
        if (state < r.first || state > r.last) continue;
        if (r.target == kHome) {
            menuReturnHome();
        } else if (r.target == kParallelRows) {
            const bool free = GetParallelEnable() == 0 && GetParallelPosition() != 0;
            if (free || (g_ParallelLink.status.load(std::memory_order_acquire) & kLinkUp) != 0)
                menuEnterRowState(207);
        } else {
            menuEnterRowState(r.target);
        }
        return;
    }
}

// A preset saved (3) or recalled (4) in the unit: the message names it only when it was done.
void PresetAction(uint32_t save, uint32_t number) {
    if (core::PresetRunForOutput(save, number) != 0) {
        ShowErrorMessageHold(2, "Access Failure");
        return;
    }
    // The message shows the index of the preset last saved or recalled, the status bar the current one.
    (save ? g_HomePage.saveIndex : g_HomePage.recallIndex).store(number, std::memory_order_release);
    g_HomePage.presetSel.store(number, std::memory_order_release);
    MsgQueue_PostId(save ? kMsgSaved : kMsgRecalled);
    if (!save) menuReturnHome();
}

void SaveRecall() {
    const auto type = static_cast<int32_t>(SaveRecallType.load(kRelaxed));
    const uint32_t number = SaveRecallMemory.load(kRelaxed);
    switch (SaveRecallAction.load(kRelaxed)) {
        case 0:
        case 1:
            if (!UsbMemoryMounted()) {
                ShowMessage(2, "USB Memory Unconnected");
            } else if (g_UsbState.usbAccessError.load(std::memory_order_acquire) != 0) {
                ShowMessage(2, "USB Memory Access Error");
            } else if (SaveRecallAction.load(kRelaxed) == 0) {
                SaveMemoryToUsb(type, static_cast<int32_t>(number));
            } else {
                RecallMemoryFromUsb(type, static_cast<int32_t>(number));
            }
            return;
        case 2:
            DeleteMemoryData(type, static_cast<int32_t>(number));
            return;
        case 3:
            PresetAction(1, number);
            return;
        case 4:
            PresetAction(0, number);
            return;
        default:
            ShowErrorMessageHold(2, "Access Failure");
            return;
    }
}

void MiscPage(uint32_t page) {
    if (g_MenuPreviewPage.load(kRelaxed) != page) g_MenuPreviewPage.store(page, kRelaxed);
}

}  // namespace

void KeyProcess_MenuPageKeys(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    const uint32_t state = g_MenuState.load(kRelaxed);
    switch (code) {
        case kKeyDef1:
        case kKeyDef2:
            if (state >= 195 && state <= 205 && (state & 1u) != 0) {
                if (code == kKeyDef1) CopyImpedanceToOtherPhases(state);
            } else if (state == 285 || state == 287 || state == 289) {
                if (code == kKeyDef1) SaveRecall();
            } else if (state == kMiscRow) {
                MiscPage(code == kKeyDef2 ? 1 : 0);
            }
            return;
        case kKeyMin:
            if (state >= kLcdFirstRow && state <= kLcdLastRow) {
                SetLcdAdjust0(kLcdMiddle);
                SetLcdAdjust1(kLcdMiddle);
                SetLcdAdjust2(kLcdMiddle);
                menuEnterRowState(kLcdFirstRow);
            }
            return;
        case kKeyBack:
            Back(state);
            return;
        case kKeyLongDef1:
            if (core::ParallelActiveMaster()) ParallelSendCmd(core::kLinkAllSlaves, 11, 0);
            return;
        default:
            return;
    }
}
