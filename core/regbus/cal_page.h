#pragma once
// Calibration pages: one page of 256 16-bit words per phase, kept in memory and exchanged with the power
// stage at register 6 + page. Words 0-253 are data, word 254 their checksum (the 16-bit sum of words 0-253,
// which must also be nonzero); word 255 is never transferred.
#include <cstdint>

namespace regbus {

constexpr int kCalPageCount = 3;  // L1, L2, L3
constexpr int kCalPageWords = 256;
constexpr int kCalChecksumWord = 254;

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
