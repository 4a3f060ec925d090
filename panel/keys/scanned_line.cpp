#include "panel/keys/scanned_line.h"

#include "core/control/output_request.h"
#include "core/control/preset_output.h"
#include "core/params/param_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/output_flags.h"
#include "drivers/barcode_scanner.h"
#include "drivers/panel_link.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/statusbar/status_bar.h"

namespace {

constexpr uint32_t kFirstTeachState = MenuStateAt(kMenuBarcodeFirst, 1), kLastTeachState = kMenuBarcodeLast;

// A scanned recall names its preset in the status bar as a recall from the keys does.
void RecallScanned(uint32_t index) {
    if (core::PresetRunForOutput(0, index) != 0) return;
    g_HomePage.recallIndex.store(index, std::memory_order_release);
    g_HomePage.presetSel.store(index, std::memory_order_release);
    g_ParamFlags.fetch_or(core::kFlagPresetRecalled, std::memory_order_release);
    MsgQueue_PostId(kMsgRecalled);
}

void RunAction(int32_t action) {
    if (action >= 0 && action <= 9) {
        RecallScanned(static_cast<uint32_t>(action));
    } else if (action == 10) {
        if (!OutputFlagTest(kOutFlagOutputOn)) OutputToggle();
    } else if (action == 11) {
        // A running SEQUENCE/SIMULATE program is stopped, and its stop switches the output off.
        if (!OutputFlagTest(kOutFlagOutputOn)) return;
        if (SeqSimIsActive() && SeqSimIsRunning())
            SeqSimRequestStop();
        else
            OutputToggle();
    }
}

}  // namespace

void ScannedLineStep() {
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    if (state >= kFirstTeachState && state <= kLastTeachState && (state % 2) == 1)
        BarcodeLineMatch(0, static_cast<int32_t>((state - kFirstTeachState) / 2));
    else
        RunAction(BarcodeLineMatch(1, 0));
}
