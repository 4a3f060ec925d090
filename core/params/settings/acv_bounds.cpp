#include "core/params/settings/acv_bounds.h"

#include <atomic>

#include "core/params/access/acv_unit.h"
#include "core/params/access/param_access.h"
#include "core/system/state/service_flags.h"

namespace settings {

namespace {
constexpr uint32_t k3P4W = 0;
constexpr double kSqrt3 = 1.7320508075688772;
}  // namespace

int32_t AcvMax(int phase, int32_t recordMax, Holder who) {
    if (who == Holder::kPanel && g_ServiceFlags.rdTestMode.load(std::memory_order_relaxed) != 0)
        return recordMax;
    if (IsAcvUnitVppOfPhase(phase) == 0) return recordMax;
    const int32_t ceiling = GetAcvMaxVppOfPhase(phase);
    if (who == Holder::kRemote) return ceiling;
    return ceiling < recordMax ? ceiling : recordMax;
}

int32_t LineAcvRemoteMax(int32_t recordMax) {
    if (IsAcvUnitVppOfPhase(0) == 0) return recordMax;
    const int32_t phaseMax = GetAcvMaxVppOfPhase(0);
    return GetPhaseMode() == k3P4W ? static_cast<int32_t>(phaseMax * kSqrt3 + 0.5) : phaseMax * 2;
}

}  // namespace settings
