#include "panel/panel_services.h"

#include "core/control/alarms/alarm_state.h"
#include "core/system/state/sys_status.h"
#include "src/dev/panel_link.h"

std::atomic<uint32_t> g_Up40ms{0};

void InitRuntimeState() {
    // Of the run-time re-initialisation only the panel's part exists yet: lamps off, no stale key.
    SpiAuxWrite4(0);
    KeyEventBoxClear();
    // The alarm monitor saves every setting to the non-volatile memory on its next pass: the settings a
    // reset has just written on this thread are published with the request.
    g_AlarmState.backupRequest.store(1, std::memory_order_release);
}

// A single unit: the unit count comes with parallel operation.
void ParallelConfigUnits() {}
