// READ?: the eighteen per-phase measurements of L1, L2 and L3 in one line, each a value or "Invalid" by
// what the output mode measures. Only the measurement getters are read.
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

#include "core/control/measure/meas_getters.h"
#include "core/params/access/param_access.h"
#include "scpi/channels/remote_port.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/channels/scpi_interface.h"

namespace {

constexpr int kFields = 18;
constexpr int kValueOnly = 2;
constexpr int kBaseUnit = 1;

using Getter = float (*)(char*, const char**, int, int);

float Power(char* t, const char** u, int p, int m) {
    return MeasGetPower(t, u, p, m, kBaseUnit);
}
float Apparent(char* t, const char** u, int p, int m) {
    return MeasGetApparent(t, u, p, m, kBaseUnit);
}
float Reactive(char* t, const char** u, int p, int m) {
    return MeasGetReactive(t, u, p, m, kBaseUnit);
}

// Fields 1-18 of a group.
constexpr Getter kFieldGetters[kFields] = {
    MeasGetVrms, MeasGetVavg, MeasGetVmax, MeasGetVmin,    MeasGetVpkHold, MeasGetIrms,
    MeasGetIavg, MeasGetImax, MeasGetImin, MeasGetIpkHold, Power,          Apparent,
    Reactive,    MeasGetPF,   MeasGetCF,   MeasGetThdV,    MeasGetThdI,    MeasGetFreq,
};

// Bit k-1 set: field k holds a value in that output mode (0 ACDC-INT ... 9 AC-VCA); the others read
// "Invalid". AC-INT adds the THD values, DC-INT has no apparent or reactive power, power factor, crest
// factor or THD, and the sync modes measure the frequency.
constexpr uint32_t kFirst15 = 0x7fff, kFirst11 = 0x7ff, kThd = 3u << 15, kFreq = 1u << 17;
constexpr uint32_t kModeFields[] = {
    kFirst15, kFirst15 | kThd, kFirst11,         kFirst15,         kFirst15,
    kFirst15, kFirst15,        kFirst15 | kFreq, kFirst15 | kFreq, kFirst15,
};

void AppendField(std::string* line, bool valued, float value) {
    if (!line->empty()) *line += ',';
    if (!valued || !std::isfinite(value)) {
        *line += "Invalid";
        return;
    }
    char text[48];
    // A negative zero is shown as +0.0000.
    const int n = std::snprintf(text, sizeof text, "%+.4f", static_cast<double>(value) + 0.0);
    if (n > 0 && n < static_cast<int>(sizeof text)) line->append(text, static_cast<size_t>(n));
}

}  // namespace

namespace scpi {

int CmdSourRead(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    const uint32_t mode = GetOutputMode();
    const uint32_t fields = mode < std::size(kModeFields) ? kModeFields[mode] : kFirst15;
    std::string line;
    line.reserve(3 * kFields * 12);
    char text[32];
    const char* unit = nullptr;
    for (int phase = 0; phase < 3; ++phase) {
        for (int k = 0; k < kFields; ++k) {
            const bool valued = (fields >> k) & 1u;
            AppendField(&line, valued, valued ? kFieldGetters[k](text, &unit, phase, kValueOnly) : 0.0f);
        }
    }
    scpiWriteResponse(ifc, line.data(), static_cast<uint32_t>(line.size()), kPortCopy, 0);
    return 0;
}

}  // namespace scpi
