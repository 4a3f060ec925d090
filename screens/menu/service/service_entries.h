#pragma once
// The row actions of the service lists and the entries of the service tuning editors, as the MENU
// navigation table names them, and the jobs behind the rows that a parallel slave also runs.
#include <cstdint>

#include "screens/menu/service/service_switches.h"
#include "screens/menu/service/service_tuning_entries.h"

// The firmware-update list's job of the current row (267-270).
void menuUpdateListAction();
// The service data list's job of the current row (272-283).
void menuServiceDataListAction();

// The job of a service data row (272-283), whatever row is current.
void ServiceDataRow(uint32_t state);
// Row 267: the brand's update package unpacked, the FPGA, boot image, DSP program and web pages updated
// from it, its files removed; a reboot when all three parts succeeded.
void ServiceUpdateFirmware();
// Rows 280-282 after their checks: the FPGA (the unit leaves its parallel link first), the boot image,
// the DSP program from the service folder.
void ServiceUpdateMax10();
void ServiceUpdateZynq();
void ServiceUpdateDsp();
// Rows 273 and 274: this unit's calibration pages from and to USB memory, or a slave's through its
// master; a slave answers its master with the results.
void ServiceCalibrationRecall();
void ServiceCalibrationSave();
// The items 15-19 a master sends its slaves: the jobs of rows 282, 281, 280, 267 and 273 (value 0) or
// 274 (value 1). Other items do nothing.
void ServiceSlaveItem(uint32_t item, uint32_t value);
