#include "sysadmin/system_helpers.h"

// No beep is ever requested until the speaker exists.
void BeepService() {}

// No external web-server process is started on this machine, so there is none to stop.
int32_t WebServerStop() {
    return -1;
}
