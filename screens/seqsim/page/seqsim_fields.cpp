#include "screens/seqsim/page/seqsim_fields.h"

#include <array>
#include <cstdio>

#include "engine/seq/seq_access.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_access.h"

namespace seqsim {
namespace {

// Getters of step-wide fields, given the phase argument they do not use.
template <int32_t (*G)()>
int32_t Whole(int) {
    return G();
}
int32_t CurStep(int) {
    return static_cast<int32_t>(SeqSimGetCurStep());
}
int32_t SimWave(int) {
    return SimGetWave();
}

constexpr int kSeqPhaseFields = 12;
constexpr int kSeqCount = 11 + kSeqPhaseFields * 3 + 2;

// Two fields per phase, L1 first: the pairs the knob visits together.
struct PhasePair {
    uint16_t selA, editA;
    const char* labelA[3];
    Fmt fmtA;
    int32_t (*getA)(int);
    uint16_t selB, editB;
    const char* labelB[3];
    Fmt fmtB;
    int32_t (*getB)(int);
};

constexpr PhasePair kSeqPairs[] = {
    {393, 396, {"ACV L1", "ACV L2", "ACV L3"}, Fmt::kAcVolt, SeqGetAcv,
     399, 402, {"ACV Mode L1", "ACV Mode L2", "ACV Mode L3"}, Fmt::kMode, SeqGetAcvMode},
    {405, 408, {"DCV L1", "DCV L2", "DCV L3"}, Fmt::kVolt, SeqGetDcv,
     411, 414, {"DCV Mode L1", "DCV Mode L2", "DCV Mode L3"}, Fmt::kMode, SeqGetDcvMode},
    {381, 384, {"Fset L1", "Fset L2", "Fset L3"}, Fmt::kFreq, SeqGetFset,
     387, 390, {"Fset Mode L1", "Fset Mode L2", "Fset Mode L3"}, Fmt::kMode, SeqGetFsetMode},
    {421, 424, {"Wave L1", "Wave L2", "Wave L3"}, Fmt::kWave, SeqGetWave,
     427, 430, {"Duty L1", "Duty L2", "Duty L3"}, Fmt::kDuty, SeqGetDuty},
    {343, 346, {"ON En L1", "ON En L2", "ON En L3"}, Fmt::kFixed, SeqGetEnOnPhase,
     337, 340, {"ON Phase L1", "ON Phase L2", "ON Phase L3"}, Fmt::kAngle, SeqGetOnPhase},
    {355, 358, {"OFF En L1", "OFF En L2", "OFF En L3"}, Fmt::kFixed, SeqGetEnOffPhase,
     349, 352, {"OFF Phase L1", "OFF Phase L2", "OFF Phase L3"}, Fmt::kAngle, SeqGetOffPhase},
};

constexpr std::array<Field, kSeqCount> BuildSeq() {
    std::array<Field, kSeqCount> t{};
    int n = 0;
    for (const Field& f : {
             Field{333, 334, -1, "Step", Fmt::kStep, CurStep},
             Field{335, 336, -1, "Time", Fmt::kTime, Whole<SeqGetTime>},
             Field{365, 366, -1, "Jump To En", Fmt::kOnOff, Whole<SeqGetEnJumpto>},
             Field{363, 364, -1, "Jump To", Fmt::kStep, Whole<SeqGetJumpto>},
             Field{367, 368, -1, "Jump Cnt", Fmt::kCount, Whole<SeqGetJumpCnt>},
             Field{373, 374, -1, "Branch1 En", Fmt::kOnOff, Whole<SeqGetEnBranch1>},
             Field{371, 372, -1, "Branch1", Fmt::kStep, Whole<SeqGetBranch1>},
             Field{377, 378, -1, "Branch2 En", Fmt::kOnOff, Whole<SeqGetEnBranch2>},
             Field{375, 376, -1, "Branch2", Fmt::kStep, Whole<SeqGetBranch2>},
             Field{361, 362, -1, "Step Term", Fmt::kTerm, Whole<SeqGetTerm>},
             Field{369, 370, -1, "Sync Code", Fmt::kSync, Whole<SeqGetSyncCode>},
         })
        t[n++] = f;
    for (const PhasePair& q : kSeqPairs) {
        for (int p = 0; p < 3; ++p) {
            const auto off = static_cast<uint16_t>(p);
            t[n++] = {static_cast<uint16_t>(q.selA + off), static_cast<uint16_t>(q.editA + off),
                      static_cast<int8_t>(p), q.labelA[p], q.fmtA, q.getA};
            t[n++] = {static_cast<uint16_t>(q.selB + off), static_cast<uint16_t>(q.editB + off),
                      static_cast<int8_t>(p), q.labelB[p], q.fmtB, q.getB};
        }
    }
    t[n++] = {417, 418, 1, "Phase L2", Fmt::kAngle, Whole<SeqGetBalance_L2>};
    t[n++] = {419, 420, 2, "Phase L3", Fmt::kAngle, Whole<SeqGetBalance_L3>};
    return t;
}
constexpr std::array<Field, kSeqCount> kSeqFields = BuildSeq();

// SIMULATE: the edit state is the selection state + 28, the phase angles' + 1.
constexpr Field Sim(uint16_t sel, int8_t phase, const char* label, Fmt fmt, int32_t (*get)(int)) {
    return {sel, static_cast<uint16_t>(sel + 28), phase, label, fmt, get};
}
constexpr Field kSimFields[] = {
    Sim(463, -1, "State", Fmt::kState, CurStep),
    Sim(462, -1, "Time", Fmt::kTime, Whole<SimGetTime>),
    Sim(440, -1, "Sync Code", Fmt::kSync, Whole<SimGetSyncCode>),
    Sim(453, -1, "Repeat En", Fmt::kOnOff, Whole<SimGetEnRepeat>),
    Sim(454, -1, "Repeat", Fmt::kCount, Whole<SimGetRepeat>),
    Sim(455, -1, "Wave", Fmt::kWave, SimWave),
    Sim(459, 0, "ACV L1", Fmt::kAcVolt, SimGetAcv),
    Sim(460, 1, "ACV L2", Fmt::kAcVolt, SimGetAcv),
    Sim(461, 2, "ACV L3", Fmt::kAcVolt, SimGetAcv),
    Sim(456, 0, "Freq L1", Fmt::kFreq, SimGetFreq),
    Sim(457, 1, "Freq L2", Fmt::kFreq, SimGetFreq),
    Sim(458, 2, "Freq L3", Fmt::kFreq, SimGetFreq),
    Sim(450, 0, "ON En L1", Fmt::kFixed, SimGetEnOnpha),
    Sim(444, 0, "ON Phase L1", Fmt::kAngle, SimGetOnpha),
    Sim(451, 1, "ON En L2", Fmt::kFixed, SimGetEnOnpha),
    Sim(445, 1, "ON Phase L2", Fmt::kAngle, SimGetOnpha),
    Sim(452, 2, "ON En L3", Fmt::kFixed, SimGetEnOnpha),
    Sim(446, 2, "ON Phase L3", Fmt::kAngle, SimGetOnpha),
    Sim(447, 0, "OFF En L1", Fmt::kFixed, SimGetEnOffpha),
    Sim(441, 0, "OFF Phase L1", Fmt::kAngle, SimGetOffpha),
    Sim(448, 1, "OFF En L2", Fmt::kFixed, SimGetEnOffpha),
    Sim(442, 1, "OFF Phase L2", Fmt::kAngle, SimGetOffpha),
    Sim(449, 2, "OFF En L3", Fmt::kFixed, SimGetEnOffpha),
    Sim(443, 2, "OFF Phase L3", Fmt::kAngle, SimGetOffpha),
    {464, 465, 1, "Phase L2", Fmt::kAngle, Whole<SimGetBalance_L2>},
    {466, 467, 2, "Phase L3", Fmt::kAngle, Whole<SimGetBalance_L3>},
};

constexpr const char* kStateNames[] = {"Initial", "Normal1", "Trans1", "Abnormal", "Trans2", "Normal2"};
constexpr const char* kTerms[] = {"CONT", "END", "HOLD"};
constexpr const char* kModes[] = {"CT", "KP", "SP"};
constexpr const char* kSyncs[] = {"LL", "LH", "HL", "HH"};
constexpr const char* kFixes[] = {"Free", "Fixed"};

const char* Pick(const char* const* names, int count, int32_t v) {
    return v >= 0 && v < count ? names[v] : "?";
}

}  // namespace

std::span<const Field> SeqFields() {
    return kSeqFields;
}
std::span<const Field> SimFields() {
    return kSimFields;
}

const char* SimStateName(uint32_t state) {
    return state < std::size(kStateNames) ? kStateNames[state] : "";
}

bool FormatValue(Fmt fmt, int32_t v, bool vpp, char* text, int size, const char** unit) {
    *unit = "";
    const auto n = static_cast<size_t>(size);
    switch (fmt) {
        case Fmt::kStep: std::snprintf(text, n, "%03d", static_cast<int>(v)); return true;
        case Fmt::kCount: std::snprintf(text, n, "%d", static_cast<int>(v)); return true;
        case Fmt::kTime: std::snprintf(text, n, "%.4f", v / 10000.0); *unit = "s"; return true;
        case Fmt::kAcVolt: std::snprintf(text, n, "%.2f", v / 100.0); *unit = vpp ? "Vpp" : "V"; return true;
        case Fmt::kVolt: std::snprintf(text, n, "%.2f", v / 100.0); *unit = "V"; return true;
        case Fmt::kFreq: std::snprintf(text, n, "%.2f", v / 100.0); *unit = "Hz"; return true;
        case Fmt::kDuty: std::snprintf(text, n, "%.1f", v / 10.0); *unit = "%"; return true;
        case Fmt::kAngle: std::snprintf(text, n, "%.1f", v / 10.0); *unit = "deg"; return true;
        case Fmt::kOnOff: std::snprintf(text, n, "%s", v != 0 ? "ON" : "OFF"); return false;
        case Fmt::kTerm: std::snprintf(text, n, "%s", Pick(kTerms, 3, v)); return false;
        case Fmt::kSync: std::snprintf(text, n, "%s", Pick(kSyncs, 4, v)); return false;
        case Fmt::kFixed: std::snprintf(text, n, "%s", Pick(kFixes, 2, v)); return false;
        case Fmt::kMode: std::snprintf(text, n, "%s", Pick(kModes, 3, v)); return false;
        case Fmt::kState: std::snprintf(text, n, "%s", SimStateName(static_cast<uint32_t>(v))); return false;
        case Fmt::kWave:
            if (v == 17) std::snprintf(text, n, "SIN");
            else if (v == 18) std::snprintf(text, n, "SQU");
            else if (v == 19) std::snprintf(text, n, "TRI");
            else if (v >= 1 && v <= 16) std::snprintf(text, n, "ARB%d", static_cast<int>(v));
            else if (v > 19 && v <= 256) std::snprintf(text, n, "ARB%d", static_cast<int>(v) - 3);
            else std::snprintf(text, n, "SIN");  // the stage runs SIN for a code outside the table
            return false;
    }
    text[0] = '\0';
    return false;
}

}  // namespace seqsim
