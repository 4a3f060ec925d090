#include "core/params/presets/preset_recall.h"

#include <string>

#include "core/params/access/param_access.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_store.h"
#include "core/params/presets/preset_transfer.h"
#include "core/system/messaging/msg_ring.h"
#include "platform/stage/wiring_codes.h"

namespace {

// The group's message, naming both quantities in one text when both were limited; it replaces whatever
// the popup was showing, a held popup included, which would otherwise outlast the recall.
void ShowLimited(const presets::LimitNames& names, const char* both, const char* tail) {
    if (names.first == nullptr && names.second == nullptr) return;
    std::string text = names.first != nullptr && names.second != nullptr ? both
                       : names.first != nullptr                          ? names.first
                                                                         : names.second;
    text += tail;
    MsgQueue_Clear();
    MsgPopup_Close();
    ShowMessage(4, text.c_str());
}

}  // namespace

int PresetRangeCheckRun(uint32_t save, uint32_t index) {
    if (index >= kPresetCount) return -1;
    if (save != 0) {
        for (uint32_t p = 0; p < PhasesOfWiring(g_PhaseMode.load()); ++p)
            PresetPhaseTransfer(1, index, p, nullptr);
    } else {
        presets::RecallLimits limits;
        const uint32_t phases = PhasesOfWiring(PresetRecord(index, 0)[kPresetPhaseMode]);
        for (uint32_t p = 0; p < phases; ++p)
            PresetPhaseTransfer(0, index, p, &limits);
        ShowLimited(limits.freq, "Freq and Limit_Hi",
                    " out of\nrange due to Preset\nmodification.\n(Setting Freq Limited)");
        ShowLimited(limits.curr, "IRMS and IPK",
                    " out of\nrange due to Preset\nmodification.\n(Setting IRMS Limited)");
    }
    const uint32_t mode = g_OutputModeIdx.load();
    FreqLimitCheck(mode);
    VoltSettingCheckAll(mode, 0);
    VoltSettingCheckAll(mode, 1);
    return 0;
}
