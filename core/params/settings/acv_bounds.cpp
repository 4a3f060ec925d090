#include "core/params/settings/acv_bounds.h"

#include <atomic>

#include "core/params/access/acv_unit.h"
#include "core/params/access/param_access.h"
#include "core/params/settings/line_acv.h"
#include "core/system/state/service_flags.h"
#include "platform/stage/wiring_codes.h"

namespace settings {

int32_t AcvMax(int phase, int32_t recordMax, Holder who) {
    if (who == Holder::kPanel && g_ServiceFlags.rdTestMode.load(std::memory_order_relaxed) != 0)
        return recordMax;
    if (IsAcvUnitVppOfPhase(phase) == 0) return recordMax;
    // A remote set is a phase value whatever field the panel has open meanwhile.
    const int32_t ceiling = who == Holder::kRemote ? AcvPhaseCeilingVpp(phase) : GetAcvMaxVppOfPhase(phase);
    return ceiling < recordMax ? ceiling : recordMax;
}

int32_t LineAcvRemoteMax(int32_t recordMax) {
    if (IsAcvUnitVppOfPhase(0) == 0) return recordMax;
    const int32_t lineMax = LineAcvOfPhase(AcvPhaseCeilingVpp(0), GetPhaseMode() == kWiring3P4W);
    return lineMax < recordMax ? lineMax : recordMax;
}

}  // namespace settings
