#include "scpi/handlers/simulation/scpi_sim_fields.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <thread>

#include "core/params/access/param_access.h"
#include "core/params/settings/angle_bounds.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_access.h"
#include "engine/sim/sim_clamp_setters.h"
#include "engine/sim/sim_setters.h"
#include "scpi/channels/remote_port.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"

namespace {

using scpi::kChoiceMax;
using scpi::kChoiceMin;

int Fail(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

bool IsQuery(const ScpiInterface* ifc) {
    return scpiIsQuery(ifc) == 1;
}

// The phase chosen for remote SIM editing; the fields that are not per phase live in L1.
int RemotePhase() {
    const uint32_t p = g_SeqSimRemoteSel[1].load(std::memory_order_acquire);
    return p <= 2 ? static_cast<int>(p) : 0;
}

int32_t Select(ScpiInterface* ifc, int32_t state) {
    if (!IsQuery(ifc) && static_cast<int32_t>(SeqSimGetCurStep()) != state) {
        SeqSimSetCurStep(state);
        // The stage takes the new step copy before the field's register is written.
        std::this_thread::sleep_for(std::chrono::microseconds(1));
    }
    return state;
}

int32_t Stored(uint32_t word) {
    return static_cast<int32_t>(word);
}
const SimStepRecord& Rec(int32_t state, int phase) {
    return engine::SimRecAt(static_cast<uint32_t>(state), phase);
}
int32_t AngleMax(int32_t frequency) {
    return settings::AngleMaxAtFreq(frequency);
}

struct Field {
    int32_t scale = 1;          // steps per unit of the command
    const char* fmt = nullptr;  // the reply of value / scale; nullptr: "%+d" of the value
    bool perPhase = false;
    int32_t (*read)(int32_t state, int phase) = nullptr;
    // The limits a query answers for MINimum/MAXimum; nullptr: the query takes no limit.
    void (*queryLimits)(int32_t state, int phase, int32_t* lo, int32_t* hi) = nullptr;
    // The value a character parameter of a set stands for; false: the parameter is refused.
    bool (*choice)(int32_t choice, int phase, int32_t* out) = nullptr;
    int32_t (*set)(int32_t value, int phase) = nullptr;
    SimClampField field = SimClampField::kEnOnpha;  // the limits the setter holds the value to
    bool angle = false;      // the whole-degree rounding above 500 Hz
    bool frequency = false;  // an unknown choice is out of range
};

bool MinMax(int32_t choice, int32_t lo, int32_t hi, int32_t* out) {
    if (choice != kChoiceMin && choice != kChoiceMax) return false;
    *out = choice == kChoiceMax ? hi : lo;
    return true;
}

// OFF 0, ON 1, FREE 2, FIXed 3: FREE is an unfixed angle, FIXed a fixed one.
bool EnableChoice(int32_t choice, int, int32_t* out) {
    if (choice < 0 || choice > 3) return false;
    *out = choice & 1;
    return true;
}

const Field kOnEnable{
    .perPhase = true,
    .read = [](int32_t s, int p) { return (Rec(s, p).flags & kSimEnOnPhase) ? 1 : 0; },
    .choice = EnableChoice,
    .set = SimSetEnOnphaClamp,
    .field = SimClampField::kEnOnpha,
};
const Field kOffEnable{
    .perPhase = true,
    .read = [](int32_t s, int p) { return (Rec(s, p).flags & kSimEnOffPhase) ? 1 : 0; },
    .choice = EnableChoice,
    .set = SimSetEnOffphaClamp,
    .field = SimClampField::kEnOffpha,
};

void AngleQueryLimits(int32_t s, int p, int32_t* lo, int32_t* hi) {
    *lo = 0;
    *hi = AngleMax(Stored(Rec(s, p).freq));
}
bool AngleChoice(int32_t c, int p, int32_t* out) {
    return MinMax(c, 0, AngleMax(SimGetFreq(p)), out);
}
const Field kOnAngle{
    .scale = 10,
    .fmt = "%.1f",
    .perPhase = true,
    .read = [](int32_t s, int p) { return Stored(Rec(s, p).onPhase); },
    .queryLimits = AngleQueryLimits,
    .choice = AngleChoice,
    .set = SimSetOnphaClamp,
    .field = SimClampField::kOnpha,
    .angle = true,
};
const Field kOffAngle{
    .scale = 10,
    .fmt = "%+.1f",
    .perPhase = true,
    .read = [](int32_t s, int p) { return Stored(Rec(s, p).offPhase); },
    .queryLimits = AngleQueryLimits,
    .choice = AngleChoice,
    .set = SimSetOffphaClamp,
    .field = SimClampField::kOffpha,
    .angle = true,
};

const Field kTime{
    .scale = 10000,
    .fmt = "%+.4f",
    .read = [](int32_t s, int) { return Stored(Rec(s, 0).time); },
    .queryLimits =
        [](int32_t s, int, int32_t* lo, int32_t* hi) {
            *lo = s == kSimTrans1 || s == kSimTrans2 ? 0 : 1;
            *hi = SimGetTimeMax();
        },
    .choice = [](int32_t c, int, int32_t* out) { return MinMax(c, SimGetTimeMin(), SimGetTimeMax(), out); },
    .set = [](int32_t v, int) { return SimSetTimeClamp(v); },
    .field = SimClampField::kTime,
};

// The voltage limits are the output's L1 ACV limits, whatever phase is chosen.
void AcvLimits(int32_t, int, int32_t* lo, int32_t* hi) {
    *lo = GetAcvMin(0);
    *hi = GetAcvMax(0);
}
const Field kVolt{
    .scale = 100,
    .fmt = "%+.2f",
    .perPhase = true,
    .read = [](int32_t s, int p) { return SimGetAcvOf(static_cast<uint32_t>(s), p); },
    .queryLimits = AcvLimits,
    .choice = [](int32_t c, int, int32_t* out) { return MinMax(c, GetAcvMin(0), GetAcvMax(0), out); },
    .set = SimSetAcvClamp,
    .field = SimClampField::kAcv,
};

const Field kFreq{
    .scale = 100,
    .fmt = "%+.2f",
    .perPhase = true,
    .read = [](int32_t s, int p) { return Stored(Rec(s, p).freq); },
    // The output's frequency limits in whole hertz.
    .queryLimits =
        [](int32_t, int, int32_t* lo, int32_t* hi) {
            *lo = GetFrequencyMin() / 100 * 100;
            *hi = GetFrequencyMax() / 100 * 100;
        },
    .choice = [](int32_t c, int, int32_t* out) { return MinMax(c, SimGetFreqMin(), SimGetFreqMax(), out); },
    .set = SimSetFreqClamp,
    .field = SimClampField::kFreq,
    .frequency = true,
};

const Field kCode{
    .read = [](int32_t s, int) { return Stored(Rec(s, 0).syncCode); },
    .queryLimits =
        [](int32_t, int, int32_t* lo, int32_t* hi) {
            *lo = SimGetSyncCodeMin();
            *hi = SimGetSyncCodeMax();
        },
    .choice = [](int32_t c, int,
                 int32_t* out) { return MinMax(c, SimGetSyncCodeMin(), SimGetSyncCodeMax(), out); },
    .set = [](int32_t v, int) { return SimSetSyncCodeClamp(v); },
    .field = SimClampField::kSyncCode,
};

// The repeat fields live in Normal 2 whatever state is current.
const Field kRepeatCount{
    .read = [](int32_t, int) { return SimGetRepeat(); },
    .queryLimits =
        [](int32_t, int, int32_t* lo, int32_t* hi) {
            *lo = SimGetRepeatMin();
            *hi = SimGetRepeatMax();
        },
    .choice = [](int32_t c, int,
                 int32_t* out) { return MinMax(c, SimGetRepeatMin(), SimGetRepeatMax(), out); },
    .set = [](int32_t v, int) { return SimSetRepeatClamp(v); },
    .field = SimClampField::kRepeat,
};
const Field kRepeatEnable{
    .read = [](int32_t, int) { return SimGetEnRepeat(); },
    .queryLimits =
        [](int32_t, int, int32_t* lo, int32_t* hi) {
            *lo = 0;
            *hi = 1;
        },
    .choice = [](int32_t c, int, int32_t* out) { return MinMax(c, 0, 1, out); },  // OFF 0, ON 1
    .set = [](int32_t v, int) { return SimSetEnRepeatClamp(v); },
    .field = SimClampField::kEnRepeat,
};

int Reply(ScpiInterface* ifc, const Field& f, int32_t value) {
    char text[48];
    const int n = f.fmt == nullptr
                      ? std::snprintf(text, sizeof text, "%+d", value)
                      : std::snprintf(text, sizeof text, f.fmt, static_cast<double>(value) / f.scale);
    if (n <= 0 || n >= static_cast<int>(sizeof text)) return Fail(ifc, kScpiErrQueryUnterm);
    scpiWriteResponse(ifc, text, static_cast<uint32_t>(n), kPortCopy, 0);
    return 0;
}

int Query(ScpiInterface* ifc, const Field& f, int32_t state, int phase) {
    if (scpiGetParamCount(ifc) < 1 || scpi::ParamType(ifc, 0) == kItemOmitted)
        return Reply(ifc, f, f.read(state, phase));
    int32_t choice, lo, hi;
    if (f.queryLimits == nullptr || scpiGetChoice(ifc, 0, &choice) != 0) return Fail(ifc, kScpiErrParameter);
    f.queryLimits(state, phase, &lo, &hi);
    int32_t value;
    if (!MinMax(choice, lo, hi, &value)) return Fail(ifc, kScpiErrParameter);
    return Reply(ifc, f, value);
}

// The steps of a set's number, or the error row: a negative value and one whose steps leave 32 bits are
// refused before anything is written.
uint32_t Steps(const Field& f, int phase, double x, bool integer, int32_t* out) {
    if (!std::isfinite(x) || x < 0) return kScpiErrDataOutOfRange;
    double steps;
    if (integer) {
        steps = x * f.scale;
    } else if (f.angle && settings::WholeDegreeAngles(SimGetFreq(phase)) && x * 10 <= settings::kAngleMaxWholeDegrees) {
        steps = std::trunc((x * 10 + 5) / 10) * 10;  // whole degrees above 500 Hz
    } else {
        steps = std::trunc(x * f.scale + 0.5);
    }
    if (steps > std::numeric_limits<int32_t>::max()) return kScpiErrDataOutOfRange;
    *out = static_cast<int32_t>(steps);
    return 0;
}

// The value of a set, or false with its error reported.
bool SetValue(ScpiInterface* ifc, const Field& f, int phase, int32_t* value) {
    int32_t i;
    double x;
    uint32_t row = 0;
    if (scpiGetChoice(ifc, 0, &i) == 0) {
        if (!f.choice(i, phase, value)) row = f.frequency ? kScpiErrDataOutOfRange : kScpiErrParameter;
    } else if (scpiGetInt(ifc, 0, &i) == 0) {
        row = Steps(f, phase, i, true, value);
    } else if (scpiGetReal(ifc, 0, &x) == 0) {
        row = Steps(f, phase, x, false, value);
    } else {
        row = kScpiErrParameter;
    }
    if (row != 0) Fail(ifc, row);
    return row == 0;
}

// Writes the value into each state in turn, or nothing when any state or phase it goes to would not take
// it as it is (its setter would store it clamped): a refused command changes nothing. True when written.
bool SetStates(ScpiInterface* ifc, const Field& f, std::initializer_list<int32_t> states) {
    const int phase = f.perPhase ? RemotePhase() : 0;
    int32_t value = 0;
    if (!SetValue(ifc, f, phase, &value)) return false;
    for (int32_t state : states) {
        if (!SimClampTakes(f.field, value, static_cast<uint32_t>(state), phase)) {
            Fail(ifc, kScpiErrDataOutOfRange);
            return false;
        }
    }
    for (int32_t state : states) {
        Select(ifc, state);
        f.set(value, phase);
    }
    SeqSimSetDirty();
    return true;
}

// A set writes the states in order; a query answers for the last of them.
int Run(ScpiInterface* ifc, const Field& f, std::initializer_list<int32_t> states) {
    if (!IsQuery(ifc)) return SetStates(ifc, f, states), 0;
    return Query(ifc, f, *(states.end() - 1), f.perPhase ? RemotePhase() : 0);
}

}  // namespace

bool SimRemoteEditAllowed(ScpiInterface* ifc) {
    if (!SeqSimIsRunning() && SeqSimGetMode() == kSeqSimSim) return true;
    Fail(ifc, kScpiErrSystem);
    return false;
}

int32_t SimRemoteSelectInitial(ScpiInterface* ifc) {
    return Select(ifc, kSimInitial);
}
int32_t SimRemoteSelectAbnormal(ScpiInterface* ifc) {
    return Select(ifc, kSimAbnormal);
}
int32_t SimRemoteSelectNormal2(ScpiInterface* ifc) {
    return Select(ifc, kSimNormal2);
}

namespace {
// The suffix of the state's keyword: the second header level, the third under SOURce.
int StateSuffix(const ScpiInterface* ifc) {
    const int suffix = scpiGetSuffix(ifc, 1);
    return suffix >= 0 ? suffix : scpiGetSuffix(ifc, 2);
}
}  // namespace

int32_t SimRemoteSelectNormal(ScpiInterface* ifc) {
    return Select(ifc, StateSuffix(ifc) == 2 ? kSimNormal2 : kSimNormal1);
}
int32_t SimRemoteSelectTransition(ScpiInterface* ifc) {
    return Select(ifc, StateSuffix(ifc) == 2 ? kSimTrans2 : kSimTrans1);
}

int SimRemoteOnPhaseEnable(ScpiInterface* ifc, int32_t state) {
    return Run(ifc, kOnEnable, {state});
}
int SimRemoteOffPhaseEnable(ScpiInterface* ifc, int32_t state) {
    return Run(ifc, kOffEnable, {state});
}
int SimRemoteOnPhase(ScpiInterface* ifc, int32_t state) {
    return Run(ifc, kOnAngle, {state});
}
int SimRemoteOffPhase(ScpiInterface* ifc, int32_t state) {
    return Run(ifc, kOffAngle, {state});
}
int SimRemoteTime(ScpiInterface* ifc, int32_t state) {
    return Run(ifc, kTime, {state});
}
int SimRemoteCode(ScpiInterface* ifc, int32_t state) {
    return Run(ifc, kCode, {state});
}
int SimRemoteRepeatCount(ScpiInterface* ifc, int32_t state) {
    return Run(ifc, kRepeatCount, {state});
}
int SimRemoteRepeatEnable(ScpiInterface* ifc, int32_t state) {
    return Run(ifc, kRepeatEnable, {state});
}
int SimRemoteVoltage(ScpiInterface* ifc, std::initializer_list<int32_t> states) {
    return Run(ifc, kVolt, states);
}
int SimRemoteInitialVoltage(ScpiInterface* ifc) {
    const int32_t state = Select(ifc, kSimInitial);
    const int phase = RemotePhase();
    if (IsQuery(ifc)) return Query(ifc, kVolt, state, phase);
    if (!SetStates(ifc, kVolt, {state})) return 0;
    for (int p = phase; p <= (phase == 0 ? 2 : phase); ++p)
        SimWriteEndAcv(p);
    return 0;
}
int SimRemoteFrequency(ScpiInterface* ifc, std::initializer_list<int32_t> states) {
    return Run(ifc, kFreq, states);
}
