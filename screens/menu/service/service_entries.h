#pragma once
// The row actions of the service lists and the entries of the service tuning editors, as the MENU
// navigation table names them.
#include "screens/menu/service/service_switches.h"
#include "screens/menu/service/service_tuning_entries.h"

void menuUpdateListAction();
void menuServiceDataListAction();
