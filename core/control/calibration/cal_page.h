#pragma once
// The calibration pages kept in memory, one per phase, and their exchange with the power stage.
#include <cstdint>

#include "core/regbus/cal_layout.h"

namespace regbus {

// The page table entry of `page`, or nullptr outside 0-2.
uint16_t* CalPage(int page);

// True when word 254 is nonzero and equals the 16-bit sum of words 0-253.
bool CalPageChecksumOk(const uint16_t* page);

}  // namespace regbus

// Reads a page from the power stage into the page table (up to three attempts); 0 when a read passed its
// checksum, else 1. A failed read leaves the table as it was. Clears bit 10 of g_SysStatus.
int BusReg_ReadCalPage(int page);

// Checks the page table's page and, when write is 1, sends it word by word; 1 when the checksum fails
// (nothing is sent then), else 0.
int BusReg_WriteCalPage(int write, int page);
