// [SOURce:]SEQuence: run status and the remote editing of the current SEQUENCE step. The handlers only
// convert between SCPI numbers and the engine's integer units; the engine's remote setters keep the limits.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/regbus/reg_read.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_remote.h"
#include "engine/seq/seq_setters.h"
#include "engine/seq/seq_volt_clamp.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

constexpr int32_t kLastStep = 999;

// "Data out of range;01" .. ";15": the number is the 1-based position of the refused parameter.
constexpr uint32_t RangeAt(uint32_t position) {
    return kScpiErrDataOutOfRange + position;
}

int Refuse(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

// Every SEQuence command but CTIMe? needs the SEQ function.
bool SeqModeRefused(ScpiInterface* ifc) {
    if (SeqIsActiveMode() != 0) return false;
    scpiSetError(ifc, kScpiErrSystem);
    return true;
}

// The phase the per-phase values are read and written for: the remote selection, L1 in 1P3W.
int EditPhase() {
    const uint32_t sel = g_SeqSimRemoteSel[0].load(std::memory_order_acquire);
    return GetPhaseMode() == kWiring1P3W || sel > 2 ? 0 : static_cast<int>(sel);
}

int Reply(ScpiInterface* ifc, const char* text) {
    WriteTextReply(ifc, text);
    return 0;
}

// A numeric parameter in engine units: a real times scale, rounded as `round` says, or an integer times
// scale. 0 and the value; 1 when it is not numeric; 2 when the scaled value leaves 32 bits.
enum class Round { kHalfUp, kAwayHalfCent };
int Scaled(const ScpiInterface* ifc, uint32_t i, int64_t scale, Round round, int32_t* out) {
    int32_t n = 0;
    double r = 0;
    if (scpiGetInt(ifc, i, &n) == 0) {
        const int64_t v = static_cast<int64_t>(n) * scale;
        if (v < INT32_MIN || v > INT32_MAX) return 2;
        *out = static_cast<int32_t>(v);
        return 0;
    }
    if (scpiGetReal(ifc, i, &r) != 0) return 1;
    double v = r * static_cast<double>(scale);
    v += round == Round::kHalfUp ? 0.5 : (v > 0 ? 0.005 : -0.005);
    v = std::trunc(v);
    if (!(v >= INT32_MIN && v <= INT32_MAX)) return 2;
    *out = static_cast<int32_t>(v);
    return 0;
}

// A choice or an integer parameter; false for anything else.
bool ChoiceOrInt(const ScpiInterface* ifc, uint32_t i, int32_t* out) {
    return scpiGetChoice(ifc, i, out) == 0 || scpiGetInt(ifc, i, out) == 0;
}

const char* ModeName(int32_t mode) {
    constexpr const char* kNames[] = {"CONST", "KEEP", "SWEEP"};
    return mode >= 0 && mode <= 2 ? kNames[mode] : kNames[0];
}

const char* TermName(int32_t term) {
    constexpr const char* kNames[] = {"CONT", "END", "HOLD"};
    return term >= 0 && term <= 2 ? kNames[term] : kNames[0];
}

// Engine waveform codes 1-256 in choice order: ARB1-ARB16, SIN, SQU, TRI, ARB17-ARB253.
void WaveName(int32_t code, char* out, size_t size) {
    const int32_t v = code - 1;
    constexpr const char* kBuiltIn[] = {"SIN", "SQU", "TRI"};
    if (v >= 16 && v <= 18) {
        std::snprintf(out, size, "%s", kBuiltIn[v - 16]);
    } else if (v >= 0 && v < 16) {
        std::snprintf(out, size, "ARB%d", v + 1);
    } else if (v > 18 && v <= 255) {
        std::snprintf(out, size, "ARB%d", v - 2);
    } else {
        std::snprintf(out, size, "SIN");  // the stage runs SIN for a code outside the table
    }
}

int PhaseAngle(int phase) {
    if (phase == 1) return SeqGetBalance_L2();
    if (phase == 2) return SeqGetBalance_L3();
    return 0;
}

int PhaseParamsQuery(ScpiInterface* ifc, bool withDuty) {
    const int p = EditPhase();
    char wave[16];
    WaveName(SeqGetWave(p), wave, sizeof wave);
    char text[160];
    int n = std::snprintf(text, sizeof text, "%+.2f,%s,%+.2f,%s,%+.2f,%s,%s,", SeqGetAcv(p) / 100.0,
                          ModeName(SeqGetAcvMode(p)), SeqGetDcv(p) / 100.0, ModeName(SeqGetDcvMode(p)),
                          SeqGetFset(p) / 100.0, ModeName(SeqGetFsetMode(p)), wave);
    if (withDuty) n += std::snprintf(text + n, sizeof text - n, "%+.1f,", SeqGetDuty(p) / 10.0);
    std::snprintf(text + n, sizeof text - n, "%+.1f", PhaseAngle(p) / 10.0);
    return Reply(ifc, text);
}

// NSParameter (withDuty) and SPARameter: every parameter is checked before the engine is called, so a
// refusal changes nothing.
int PhaseParamsSet(ScpiInterface* ifc, bool withDuty) {
    const uint32_t waveAt = 6, dutyAt = 7, angleAt = withDuty ? 8 : 7;
    int32_t value[9] = {};
    constexpr uint32_t kValueAt[] = {0, 2, 4};
    constexpr int64_t kValueScale[] = {100, 100, 100};
    const Round kValueRound[] = {Round::kHalfUp, Round::kAwayHalfCent, Round::kHalfUp};
    for (int k = 0; k < 3; ++k) {
        const int r = Scaled(ifc, kValueAt[k], kValueScale[k], kValueRound[k], &value[kValueAt[k]]);
        if (r == 1) return Refuse(ifc, kScpiErrParameter);
        if (r == 2) return Refuse(ifc, RangeAt(kValueAt[k] + 1));
    }
    if (withDuty) {
        const int r = Scaled(ifc, dutyAt, 10, Round::kHalfUp, &value[dutyAt]);
        if (r == 1) return Refuse(ifc, kScpiErrParameter);
        if (r == 2) return Refuse(ifc, RangeAt(dutyAt + 1));
    }
    int32_t angle = 0;
    const int angleRead = Scaled(ifc, angleAt, 10, Round::kHalfUp, &angle);
    if (angleRead == 1) return Refuse(ifc, kScpiErrParameter);
    // KEEP needs a step before it: step 0 takes CONST or SWEEP only.
    const bool firstStep = SeqSimIsRunning() != 0 || SeqGetAbsStep() == 0;
    for (uint32_t at : {1u, 3u, 5u}) {
        int32_t mode = -1;
        if (!ChoiceOrInt(ifc, at, &mode)) return Refuse(ifc, kScpiErrParameter);
        if (mode < 0 || mode > 2 || (firstStep && mode == 1)) return Refuse(ifc, RangeAt(2));
        value[at] = mode;
    }
    int32_t wave = -1;
    if (scpiGetChoice(ifc, waveAt, &wave) != 0) return Refuse(ifc, kScpiErrParameter);
    if (wave < 0 || wave > 255) return Refuse(ifc, RangeAt(waveAt + 1));
    const int phase = EditPhase();
    if (angleRead == 2) return Refuse(ifc, RangeAt(angleAt + 1));
    if (phase == 0) {
        // L1 is the reference phase: its angle is always 0.
        int32_t n = 0;
        double d = 0;
        const bool zero = scpiGetInt(ifc, angleAt, &n) == 0 ? n == 0 : scpiGetReal(ifc, angleAt, &d) == 0 && d == 0;
        if (!zero) return Refuse(ifc, RangeAt(angleAt + 1));
        angle = 0;
    }
    const int32_t duty = withDuty ? value[dutyAt] : SeqGetDuty(phase);
    const int32_t result =
        SeqSetStepPhaseParams(value[0], value[1], value[2], value[3], value[4], value[5], wave + 1, duty, angle);
    switch (result) {
        case -1: return Refuse(ifc, kScpiErrDataOutOfRange);
        case -101: return Refuse(ifc, RangeAt(1));
        case -103: return Refuse(ifc, RangeAt(3));
        case -105: return Refuse(ifc, RangeAt(5));
        case -108: return Refuse(ifc, withDuty ? RangeAt(8) : RangeAt(0));
        default: break;
    }
    if (SeqStepVoltClamp(SeqGetAbsStep()) != 0) SeqSimSetDirty();
    return 0;
}

// An enable or code parameter: a choice or an integer within 0..max (negatives too are refused). The
// enables OFF/FREE store 0 and ON/FIXed 1.
bool BoundedCode(ScpiInterface* ifc, uint32_t at, int32_t max, int32_t* out) {
    if (!ChoiceOrInt(ifc, at, out)) {
        scpiSetError(ifc, kScpiErrParameter);
        return false;
    }
    if (*out < 0 || *out > max) {
        scpiSetError(ifc, RangeAt(at + 1));
        return false;
    }
    return true;
}

bool PlainInt(ScpiInterface* ifc, uint32_t at, int32_t* out) {
    if (scpiGetInt(ifc, at, out) == 0) return true;
    scpiSetError(ifc, kScpiErrParameter);
    return false;
}

bool ScaledAt(ScpiInterface* ifc, uint32_t at, int64_t scale, int32_t* out) {
    const int r = Scaled(ifc, at, scale, Round::kHalfUp, out);
    if (r == 0) return true;
    scpiSetError(ifc, r == 1 ? static_cast<uint32_t>(kScpiErrParameter) : RangeAt(at + 1));
    return false;
}

int CommonParamsSet(ScpiInterface* ifc) {
    // Step 0 has no step end, jump or branch targets: it takes only their neutral values (CONT, 0, OFF),
    // as a running step 0 takes only 0 for its targets. Anything else would be dropped without a word.
    // Its jump count also takes the count it reports, so that a script can write back what it read.
    const bool firstStep = SeqSimIsRunning() != 0 || SeqGetAbsStep() == 0;
    const int32_t storedCount = SeqGetJumpCnt();
    auto neutralOnFirst = [&](uint32_t at, const int32_t* value) {
        if (!firstStep || *value == 0 || (at == 8 && *value == storedCount)) return true;
        scpiSetError(ifc, RangeAt(at + 1));
        return false;
    };
    int32_t v[15] = {};
    const bool taken =
        ScaledAt(ifc, 0, 10000, &v[0]) && ScaledAt(ifc, 1, 10, &v[1]) && BoundedCode(ifc, 2, 3, &v[2]) &&
        ScaledAt(ifc, 3, 10, &v[3]) && BoundedCode(ifc, 4, 3, &v[4]) && BoundedCode(ifc, 5, 2, &v[5]) &&
        neutralOnFirst(5, &v[5]) && PlainInt(ifc, 6, &v[6]) && neutralOnFirst(6, &v[6]) &&
        BoundedCode(ifc, 7, 1, &v[7]) && neutralOnFirst(7, &v[7]) && PlainInt(ifc, 8, &v[8]) &&
        neutralOnFirst(8, &v[8]) && BoundedCode(ifc, 9, 3, &v[9]) && PlainInt(ifc, 10, &v[10]) &&
        neutralOnFirst(10, &v[10]) && BoundedCode(ifc, 11, 1, &v[11]) && PlainInt(ifc, 12, &v[12]) &&
        neutralOnFirst(12, &v[12]) && BoundedCode(ifc, 13, 1, &v[13]) && BoundedCode(ifc, 14, 1, &v[14]);
    if (!taken) return 0;
    v[2] &= 1;
    v[4] &= 1;
    // The trigger output is checked but not stored: the engine keeps it off.
    const int32_t result =
        SeqSetStepCommonParams(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13]);
    switch (result) {
        case -1: return Refuse(ifc, kScpiErrDataOutOfRange);
        case -101: return Refuse(ifc, RangeAt(1));
        case -102: return Refuse(ifc, RangeAt(2));
        case -104: return Refuse(ifc, RangeAt(4));
        case -107: return Refuse(ifc, RangeAt(7));
        case -109: return Refuse(ifc, RangeAt(9));
        case -111: return Refuse(ifc, RangeAt(11));
        case -113: return Refuse(ifc, RangeAt(13));
        default: return 0;
    }
}

int CommonParamsQuery(ScpiInterface* ifc) {
    const int p = EditPhase();
    char text[200];
    std::snprintf(text, sizeof text, "%+.4f,%+.1f,%+d,%+.1f,%+d,%s,%+d,%+d,%+d,%+d,%+d,%+d,%+d,%+d,%+d",
                  SeqGetTime() / 10000.0, SeqGetOnPhase(p) / 10.0, SeqGetEnOnPhase(p), SeqGetOffPhase(p) / 10.0,
                  SeqGetEnOffPhase(p), TermName(SeqGetTerm()), SeqGetJumpto(), SeqGetEnJumpto(), SeqGetJumpCnt(),
                  SeqGetSyncCode(), SeqGetBranch1(), SeqGetEnBranch1(), SeqGetBranch2(), SeqGetEnBranch2(),
                  SeqGetTriggerOut());
    return Reply(ifc, text);
}

}  // namespace

int CmdSeqCond(ScpiInterface* ifc) {
    if (SeqModeRefused(ifc)) return 0;
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    return WriteSignedReply(ifc, SeqSimIsPaused() != 0 ? 2 : SeqSimIsRunning() != 0 ? 1 : 0), 0;
}

int CmdSeqCpar(ScpiInterface* ifc) {
    if (SeqModeRefused(ifc)) return 0;
    return scpiIsQuery(ifc) == 1 ? CommonParamsQuery(ifc) : CommonParamsSet(ifc);
}

int CmdSeqCst(ScpiInterface* ifc) {
    if (SeqModeRefused(ifc)) return 0;
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    return WriteSignedReply(ifc, SeqGetAbsStep()), 0;
}

int CmdSeqCtim(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    char text[64];
    std::snprintf(text, sizeof text, "%+d,%+d,%+d,%+d", SeqGetAbsStep(), static_cast<int>(SeqSimGetRunHours()),
                  static_cast<int>(SeqSimGetRunMinutes()), static_cast<int>(SeqSimGetRunSeconds()));
    return Reply(ifc, text);
}

int CmdSeqCjumCnt(ScpiInterface* ifc) {
    if (SeqModeRefused(ifc)) return 0;
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    char count[16] = "-1";
    if (SeqGetEnJumpto() != 0) {
        if (SeqGetJumpCnt() == 0)
            std::snprintf(count, sizeof count, "Inf");
        else
            std::snprintf(count, sizeof count, "%+d", BusReg_GetRepeatCount());
    }
    char text[48];
    std::snprintf(text, sizeof text, "%+d,%s", SeqGetAbsStep(), count);
    return Reply(ifc, text);
}

int CmdSeqInstSel(ScpiInterface* ifc) {
    if (SeqModeRefused(ifc)) return 0;
    if (scpiIsQuery(ifc) == 1) {
        constexpr const char* kLines[] = {"L1", "L2", "L3"};
        const uint32_t sel = g_SeqSimRemoteSel[0].load(std::memory_order_acquire);
        return Reply(ifc, kLines[sel <= 2 ? sel : 0]);
    }
    int32_t line = -1;
    if (!ChoiceOrInt(ifc, 0, &line)) return Refuse(ifc, kScpiErrParameter);
    const uint32_t wiring = GetPhaseMode();
    const int32_t last = wiring == kWiring1P2W ? 0 : wiring == kWiring1P3W ? 1 : 2;
    if (line < 0 || line > last) return Refuse(ifc, kScpiErrDataOutOfRange);
    g_SeqSimRemoteSel[0].store(static_cast<uint32_t>(line), std::memory_order_release);
    return 0;
}

int CmdSeqNsp(ScpiInterface* ifc) {
    if (SeqModeRefused(ifc)) return 0;
    return scpiIsQuery(ifc) == 1 ? PhaseParamsQuery(ifc, true) : PhaseParamsSet(ifc, true);
}

int CmdSeqSpar(ScpiInterface* ifc) {
    if (SeqModeRefused(ifc)) return 0;
    return scpiIsQuery(ifc) == 1 ? PhaseParamsQuery(ifc, false) : PhaseParamsSet(ifc, false);
}

int CmdSeqStep(ScpiInterface* ifc) {
    if (SeqModeRefused(ifc)) return 0;
    int32_t step = -1;
    if (scpiIsQuery(ifc) == 1) {
        // "SEQ:STEP?;..." brings its optional parameter as an omitted item: the current step all the same.
        if (scpiGetParamCount(ifc) == 0 || ParamType(ifc, 0) == kItemOmitted)
            return WriteSignedReply(ifc, SeqGetCurStep()), 0;
        int32_t choice = -1;
        if (scpiGetChoice(ifc, 0, &choice) != 0 || choice < 0 || choice > 1) return Refuse(ifc, kScpiErrParameter);
        return WriteSignedReply(ifc, choice == 0 ? 0 : kLastStep), 0;
    }
    int32_t choice = -1;
    if (scpiGetChoice(ifc, 0, &choice) == 0) {
        if (choice < 0 || choice > 1) return Refuse(ifc, kScpiErrParameter);
        step = choice == 0 ? 0 : kLastStep;
    } else if (scpiGetInt(ifc, 0, &step) != 0) {
        return Refuse(ifc, kScpiErrParameter);
    }
    if (step < 0 || step > kLastStep) return Refuse(ifc, kScpiErrDataOutOfRange);
    g_SeqSimScreen.remoteStep0.store(0, std::memory_order_release);
    if (SeqSimIsRunning() == 0) {
        SeqSetCurStep(step);
        ScreenRequest_Ask(ScreenRequest::kSeqStepChanged, 0, step);
        return 0;
    }
    // A running sequence can be edited only at step 0, and only after this permission.
    if (step != 0) return Refuse(ifc, kScpiErrSystem);
    g_SeqSimScreen.remoteStep0.store(1, std::memory_order_release);
    return 0;
}

}  // namespace scpi
