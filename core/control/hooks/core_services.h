#pragma once
// The services of the layers above the core that the alarm, calibration and parallel objects use: the
// speaker, the settings backup of storage, the panel's run-time re-initialisation and a parallel slave's
// service jobs. They run at once on the caller's thread. The composition root hands them over before any
// thread runs; a service that is not set does nothing.
#include <cstdint>

#include "core/control/hooks/call_hook.h"

struct CoreServices {
    void (*beepOn)();       // alarm tone on
    void (*beepOff)();      // alarm tone off
    void (*beepRequest)();  // one key beep
    void (*beepService)();  // one step of the beep service, for loops that block the timer thread
    void (*backupSave)();   // every setting to the non-volatile memory (the alarm's backup request)
    // The six settings blocks re-based on the parallel (1) or stand-alone (0) limits of the model.
    void (*backupRebase)(int parallel);
    void (*initRuntimeState)();  // InitRuntimeStateForReset: its screen change waits for the menu pass
    // A parallel slave's service job its master sent (items 15-19 with their value): ServiceSlaveItem.
    void (*serviceItem)(uint32_t item, uint32_t value);
};

void CoreServices_Set(const CoreServices& services);

namespace core {
// The services in effect (every member may be null).
const CoreServices& Services();
}  // namespace core
