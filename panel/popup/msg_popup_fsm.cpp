#include "panel/popup/msg_popup_fsm.h"

#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/arb/arb_builder.h"
#include "panel/popup/msg_text.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr auto kRelease = std::memory_order_release;
constexpr int32_t kTimedPasses = 100;
constexpr uint32_t kRunRow = 2;

// The waveform builder's pages draw their curve once; a popup over it leaves a hole when it goes.
bool OverWaveformPreview() {
    switch (g_MenuState.load(kRelaxed)) {
        case kMenuArbCf1:
        case kMenuArbSdSite:
        case kMenuArbSdAcv:
        case kMenuArbSdMode:
        case kMenuArbArbNo:
        case kMenuArbType:
            return true;
        default:
            return false;
    }
}

// A free text's poster has printed it on the console; a numbered message is printed as it comes up.
bool IsFreeText(uint32_t number) {
    return number >= kMsgFree && number <= kMsgFreeRedHold;
}

void ClearFlags(uint32_t bits) {
    g_MsgPopup.flags.fetch_and(~bits, kRelease);
}

}  // namespace

// The start row starts the machine whatever it finds posted: a close posted before the GUI thread's
// first pass would otherwise keep it from ever running.
int32_t MsgPopupFsm_Init(StepRow* row, uint32_t msg) {
    core::MsgPopupWentAway();
    g_MsgPopup.flags.store(0, kRelease);
    g_MsgPopup.hold.store(0, kRelaxed);
    StepObjPostState(kRunRow, kPopupIdle, row);
    return static_cast<int32_t>(msg);
}

int32_t MsgPopupFsm_Run(StepRow* row, uint32_t msg) {
    switch (msg) {
        case kPopupIdle: {
            uint32_t number = 0;
            if (MsgQueue_Pop(&number) == 0) {
                g_MsgPopup.id.store(number, kRelaxed);
                StepObjPostMsg(kPopupBuild, row);
            }
            break;
        }
        case kPopupBuild: {
            ClearFlags(kMsgPopupStyleMask);
            const uint32_t number = g_MsgPopup.id.load(kRelaxed);
            // The ring takes only ids that have a builder; anything else is dropped rather than called.
            const MsgTextBuilder build = number < 32 ? g_MsgTextTable[number] : nullptr;
            if (build != nullptr) {
                build(row, number);
                core::MsgPopupCameUp(!IsFreeText(number));
            } else {
                StepObjPostMsg(kPopupIdle, row);
            }
            break;
        }
        case kPopupTimedStart:
            g_MsgPopup.hold.store(kTimedPasses, kRelaxed);
            g_MsgPopup.flags.fetch_or(kMsgPopupShown, kRelease);
            StepObjPostMsg(kPopupTimed, row);
            break;
        case kPopupTimed:
            if (g_MsgPopup.hold.load(kRelaxed) < 1) {
                // A free text posted meanwhile ends the hold as well: it replaces the popup, which has
                // not gone from the screen.
                if (MsgQueue_Count() == 0) core::MsgPopupWentAway();
                ClearFlags(kMsgPopupShown);
                if (OverWaveformPreview()) ArbBuild_GeneratePreview();
                StepObjPostMsg(kPopupIdle, row);
            } else if (MsgQueue_Count() != 0) {
                g_MsgPopup.hold.store(0, kRelaxed);
                ClearFlags(kMsgPopupShown);
                StepObjPostMsg(kPopupIdle, row);
            } else {
                g_MsgPopup.hold.fetch_sub(1, kRelaxed);
            }
            break;
        case kPopupHeldStart:
            g_MsgPopup.flags.fetch_or(kMsgPopupShown, kRelease);
            StepObjPostMsg(kPopupHeld, row);
            break;
        case kPopupClose:
            core::MsgPopupWentAway();
            ClearFlags(kMsgPopupShown | kMsgPopupTextChanged);
            StepObjPostMsg(kPopupIdle, row);
            break;
        default:  // kPopupHeld: on screen until closed
            break;
    }
    return static_cast<int32_t>(msg);
}

int32_t MsgPopupFsm_Step() {
    // The block lies below the panel, which alone knows the machine's rows; only this thread reads them.
    g_MsgPopup.rows[1].handler = MsgPopupFsm_Init;
    g_MsgPopup.rows[kRunRow].handler = MsgPopupFsm_Run;
    return StepObjRun(&g_MsgPopup.fsm);
}
