// The keys every MENU-page list state shares: back to the parent row, the Save/Recall actions, the MISC
// list's two pages, the LCD reset and the parallel master's long DEF1.
#include "core/control/parallel/parallel_frame.h"
#include "core/control/preset_output.h"
#include "core/params/access/impedance_copy.h"
#include "core/params/access/param_access.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "drivers/panel_link.h"
#include "engine/memory_usb.h"
#include "panel/menu/home_fields.h"
#include "panel/menu/menu_page_words.h"
#include "panel/menu/menu_parents.h"
#include "panel/menu/row_entry_hook.h"
#include "storage/files/memory_data.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kLinkUp = 1u << 16;  // of the parallel link status
constexpr uint8_t kLcdMiddle = 50;

void Back(uint32_t state) {
    const panel::MenuParent* p = panel::MenuParentOf(state);
    if (p == nullptr) return;
    if (p->back == panel::kParentHome) {
        menuReturnHome();
    } else if (p->back == panel::kParentParallel) {
        const bool free = GetParallelEnable() == 0 && GetParallelPosition() != 0;
        if (free || (g_ParallelLink.status.load(std::memory_order_acquire) & kLinkUp) != 0)
            menuEnterRowState(kMenuParallel);
    } else {
        menuEnterRowState(p->back);
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
        case kKeySoft1:
        case kKeySoft2:
            if (state >= kMenuL1Inductance && state <= kMenuL3Resistance && (state & 1u) != 0) {
                if (code == kKeySoft1) CopyImpedanceToOtherPhases(state);
            } else if (state == kMenuSavRecType || state == kMenuSavRecAction || state == kMenuSavRecMemory) {
                if (code == kKeySoft1) SaveRecall();
            } else if (state == kMenuMisc) {
                MiscPage(code == kKeySoft2 ? 1 : 0);
            }
            return;
        case kKeySoft4:
            if (state >= kMenuLcdContrast && state <= kMenuLcdSaturationEdit) {
                SetLcdAdjust0(kLcdMiddle);
                SetLcdAdjust1(kLcdMiddle);
                SetLcdAdjust2(kLcdMiddle);
                menuEnterRowState(kMenuLcdContrast);
            }
            return;
        case kKeySoft8:
            Back(state);
            return;
        case kKeyLongSoft1:
            if (core::ParallelActiveMaster()) ParallelSendCmd(core::kLinkAllSlaves, 11, 0);
            return;
        default:
            return;
    }
}
