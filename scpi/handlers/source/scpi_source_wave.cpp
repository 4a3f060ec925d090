// [SOURce:]FUNCtion: the waveform of the selected phase (of every phase with edit-all or in 1P3W).
#include <cstdio>

#include "core/params/access/param_access.h"
#include "core/params/param_dirty.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "platform/stage/wave_numbers.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

constexpr int32_t kWaveLast = 255;

// "ARB1".."ARB16" (0-15), "SIN", "SQU", "TRI", then "ARB17".. from 19 on.
void WaveName(int32_t w, char* text, size_t size) {
    if (w == kWaveSin || w == kWaveSqu || w == kWaveTri) {
        static constexpr const char* kNamed[] = {"SIN", "SQU", "TRI"};
        std::snprintf(text, size, "%s", kNamed[w - kWaveSin]);
    } else {
        std::snprintf(text, size, "ARB%d", w < static_cast<int32_t>(kWaveSin) ? w + 1 : w - 2);
    }
}

int Query(ScpiInterface* ifc) {
    const uint32_t mode = GetOutputMode();
    if (mode == kModeAcDcExt || mode == kModeAcExt) {
        WriteTextReply(ifc, "EXT");
        return 0;
    }
    if (mode == kModeDcInt) {
        WriteTextReply(ifc, "DC");
        return 0;
    }
    char text[16];
    WaveName(GetWaveformSel(), text, sizeof text);
    WriteTextReply(ifc, text);
    return 0;
}

int Set(ScpiInterface* ifc) {
    int32_t w;
    if (const uint32_t error = ChoiceOrNumberUpTo(ifc, 0, kWaveLast, &w); error != 0) {
        scpiSetError(ifc, error);
        return 0;
    }
    const uint32_t mode = GetOutputMode();
    if (mode == kModeDcInt || mode == kModeAcDcExt || mode == kModeAcExt) {
        scpiSetError(ifc, kScpiErrExecution);
        return 0;
    }
    if (g_EditAllPhases.load(std::memory_order_acquire) != 0 || GetPhaseMode() == kWiring1P3W) {
        MarkParamGroupChanged(kParamWaveShape);
        for (int phase = 0; phase < 3; ++phase)
            SetWaveform(w, phase);
    }
    // The LINE view is only meaningful on a balanced sine: the waveform now in force decides, not a
    // panel edit that may belong to another setting.
    const int32_t now = SetWaveformSel(w);
    if (GetPhaseBalanceMode() == 1 && now != kWaveSin) paramPutValue(kParamMeasItem7, 0, 0);
    // The control task takes the waveform with the voltages stored for it, over what the phase holds:
    // a voltage set after this command must come after that.
    ScpiHandoverCompleteAfterPass();
    return 0;
}

}  // namespace

int CmdSourFunc(ScpiInterface* ifc) {
    return scpiIsQuery(ifc) == 1 ? Query(ifc) : Set(ifc);
}

}  // namespace scpi
