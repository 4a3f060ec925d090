#include "core/system/state/service_flags.h"

ServiceFlags g_ServiceFlags;

void core::ServiceFlagsReset() {
    for (auto* word :
         {&g_ServiceFlags.detailAlarm, &g_ServiceFlags.clearHwAlarm, &g_ServiceFlags.threePhase1P2W,
          &g_ServiceFlags.tempDisplay, &g_ServiceFlags.rdTestMode, &g_ServiceFlags.calDataUnitIndex})
        word->store(0, std::memory_order_relaxed);
}
