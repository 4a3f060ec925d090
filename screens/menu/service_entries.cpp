#include "screens/menu/service_entries.h"

// Stand-ins: the service switches, the firmware-update and service data jobs and the tuning editors come
// with the service pages.
void menuServiceToggle() {}
void menuUpdateListAction() {}
void menuServiceDataListAction() {}
void menuServiceTuningEntry() {}
