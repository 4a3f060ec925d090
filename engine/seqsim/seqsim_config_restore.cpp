#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "engine/seq/seq_internal.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/seqsim/seqsim_saved_config.h"
#include "storage/nv/settings_backup.h"

void SeqCaptureConfig() {
    for (auto& b : g_SeqSimBlock) {
        for (int i = 0; i < 16; ++i)
            b.seqSaved.factors[i] = static_cast<uint32_t>(1000.0 * GetWaveCrestFactor(i) + 0.5);
    }
    SeqSavedConfig& saved = g_SeqSimBlock[0].seqSaved;
    saved.wiring = GetPhaseMode();
    saved.kind = GetOutputMode();
    saved.range = GetVoltRange() == kUserRange100V ? 0 : 1;
    saved.acvUnit = GetAcvUnit() == 1 ? 1 : 0;
}

void SimCaptureConfig() {
    SimSavedConfig& saved = g_SeqSimBlock[0].simSaved;
    saved.wiring = GetPhaseMode();
    saved.range = GetVoltRange() == kUserRange100V ? 0 : 1;
    saved.acvUnit = GetAcvUnit() == 1 ? 1 : 0;
}

void SeqSimRestoreOutputConfig() {
    const SeqSavedConfig seqSaved = SeqSavedConfigCopy();
    const SimSavedConfig simSaved = SimSavedConfigCopy();
    const bool seq = SeqSimGetEngineKind() == kEngineSeq;
    const uint32_t wiring = seq ? seqSaved.wiring : simSaved.wiring;
    const uint32_t range = seq ? seqSaved.range : simSaved.range;
    const uint32_t unit = seq ? seqSaved.acvUnit : simSaved.acvUnit;
    uint32_t redraw = 0;
    if (wiring != GetPhaseMode()) {
        // Each wiring keeps its own settings blocks: the present wiring's are kept before the switch and
        // the recalled wiring's come back after it, so neither takes over the other's voltages and limits.
        BackupSavePhaseSettings(GetPhaseMode());
        SetPhaseMode(wiring);
        BackupLoadPhaseSettings(0);
        redraw |= kRedrawWiring;
    }
    if (seq && seqSaved.kind != GetOutputMode()) {
        SetOutputMode(seqSaved.kind);
        redraw |= kRedrawMode;
    }
    if (static_cast<int32_t>(range) != GetVoltRange()) {
        SetVoltRange(RangeUserToCode(range));
        redraw |= kRedrawRange;
    }
    if (static_cast<int32_t>(unit) != GetAcvUnit()) {
        SetAcvUnit(static_cast<int32_t>(unit));
        redraw |= kRedrawUnit;
    }
    if (redraw != 0) g_SeqSimScreen.redraw.fetch_or(redraw, std::memory_order_release);
}

int SeqSimStepAcvIsVpp(int32_t step) {
    auto counts = [](uint32_t wave) { return (wave >= 1 && wave < kWaveCodeSin) || wave == kWaveCodeTri; };
    const SeqSimBlock& b = g_SeqSimBlock[0];
    if (SimIsActiveMode()) {
        if (step < 0 || step >= kSimSlots || b.simSet == nullptr) return 0;
        return SimSavedConfigCopy().acvUnit == 1 && counts(b.simSet[step].wave) ? 1 : 0;
    }
    if (step < 0 || step >= kSeqSteps) return 0;
    const uint32_t kind = engine::SeqKind() == 2 ? 0 : engine::SeqKind();  // AC+DC or AC
    const SeqStepRecord* table = b.seqTable[kind];
    return table != nullptr && SeqSavedConfigCopy().acvUnit == 1 && counts(table[step].wave) ? 1 : 0;
}
