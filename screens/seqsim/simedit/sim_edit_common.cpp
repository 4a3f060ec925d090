#include "screens/seqsim/simedit/sim_edit_common.h"

#include <cmath>
#include <limits>

#include "core/params/access/key_entry.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/messaging/msg_ring.h"
#include "drivers/panel_link.h"
#include "screens/seqsim/sim/sim_prepare.h"
#include "screens/seqsim/simedit/sim_edit_words.h"

namespace simedit {

namespace {
// The rounding constants are single-precision values, widened.
constexpr double kHalfTenthMs = static_cast<double>(0.00005f);
constexpr double kHalfHundredth = static_cast<double>(0.005f);
constexpr double kHalfTenth = static_cast<double>(0.05f);

bool Fits(double v, int32_t* out) {
    if (std::isnan(v) || v >= static_cast<double>(std::numeric_limits<int32_t>::max()) + 1.0 ||
        v <= static_cast<double>(std::numeric_limits<int32_t>::min()) - 1.0)
        return false;
    *out = static_cast<int32_t>(std::trunc(v));
    return true;
}
}  // namespace

Key Decode(const uint32_t* ev) {
    return {KeyEventClass(*ev), KeyEventCode(*ev), KeyEventDelta(*ev)};
}

bool ExitKey(const Key& k, void (*back)(int phase), int phase) {
    const bool exit =
        (k.cls == kClassKeypad && k.code == kKeyExit) || (k.cls == kClassFunction && k.code == kKeySeq);
    if (!exit) return false;
    if (EntryPending())
        menuResetEdit();
    else
        back(phase);
    return true;
}

bool TypedValue(Typed rule, double x, int32_t* out) {
    switch (rule) {
        case Typed::kTenthMs:
            return Fits((x + kHalfTenthMs) * 10000.0, out);
        case Typed::kHundredths:
            return Fits((x + kHalfHundredth) * 100.0, out);
        case Typed::kTenths:
            return Fits(x * 10.0, out);
        case Typed::kWhole:
            return Fits(x, out);
    }
    return false;
}

bool TypedPhase(double x, int32_t freq, int32_t* out) {
    if (settings::WholeDegreeAngles(freq) && x * 10.0 <= settings::kAngleMaxWholeDegrees) {
        int32_t whole = 0;
        if (!Fits((x * 10.0 + 5.0) / 10.0, &whole)) return false;
        return Fits(static_cast<double>(whole) * 10.0, out);
    }
    return Fits((x + kHalfTenth) * 10.0, out);
}

void RefuseTyped(int32_t message) {
    if (message != 0) MsgQueue_PostId(message);
    menuResetEdit();
}

bool WritePhases(int32_t (*set)(int32_t value, int phase), PhaseLimits limits, int32_t value, int phase,
                 bool allPhases) {
    const int last = allPhases && phase == 0 ? 2 : phase;
    bool taken = true;
    for (int p = phase; p <= last; ++p) {
        if (value < limits.lower(p) || value > limits.upper(p))
            taken = false;
        else
            set(value, p);
    }
    return taken;
}

void AfterWrite(int mismatch) {
    Sim_AfterFieldWrite(mismatch);
}

}  // namespace simedit
