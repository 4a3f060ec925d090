#include "engine/seqsim/seqsim_saved_config.h"

#include "core/params/access/param_access.h"
#include "engine/seq/seq_internal.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "storage/image_hold.h"

namespace {

// A waveform held in Vpp when the unit is Vpp: every valid code but SIN and SQU.
bool VppWave(uint32_t code) {
    return code >= 1 && code <= 256 && code != kWaveCodeSin && code != kWaveCodeSqu;
}

}  // namespace

int SeqSimAcvIsVpp(int phase) {
    if (phase < 0 || phase > 2) return 0;
    const uint32_t step = SeqSimGetCurStep();
    if (SimIsActiveMode()) {
        // The saved unit lives in the L1 copy, which alone receives it; every phase follows it.
        if (SimSavedConfigCopy().acvUnit != 1 || step >= kSimSlots) return 0;
        return VppWave(g_SeqSimBlock[phase].simSet[step].wave) ? 1 : 0;
    }
    return engine::SeqVppAt(engine::SeqAbsStep(), phase) ? 1 : 0;
}

SeqSavedConfig SeqDefaultSavedConfig() {
    SeqSavedConfig saved{};
    for (int i = 0; i < 16; ++i) {
        // The shapes the ARB groups start from, by their parameter-store numbers.
        const uint32_t shape = i < 8 ? kWaveSin : i < 12 ? kWaveSqu : kWaveTri;
        saved.factors[i] = static_cast<uint32_t>(1000.0 * GetWaveCrestFactor(static_cast<int>(shape)) + 0.5);
    }
    return saved;
}

void SeqInitSavedConfig() {
    const SeqSavedConfig saved = SeqDefaultSavedConfig();
    const storage::ImageHold held(g_SeqSimSavedLock);
    if (!held.owns_lock()) return;
    for (auto& b : g_SeqSimBlock)
        b.seqSaved = saved;
}

void SimInitSavedConfig() {
    const storage::ImageHold held(g_SeqSimSavedLock);
    if (!held.owns_lock()) return;
    for (auto& b : g_SeqSimBlock)
        b.simSaved = {};
}
