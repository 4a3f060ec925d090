#include "screens/menu/service/service_entries.h"

// Stand-ins: the firmware-update and service data jobs come with the service data pages.
void menuUpdateListAction() {}
void menuServiceDataListAction() {}
