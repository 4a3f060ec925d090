#pragma once
// The digit cursor of the SEQ and SIM voltage and frequency editors follows the number of decimals the
// field shows: crossing a display band moves the cursor so that it stays on the same decade and drops the
// digit the coarser display no longer shows. Menu/control thread only.
#include <cstdint>

// The value the digit cursor was last placed for, as the band rules read it: an editor puts its previous
// value here before it runs a rule.
extern int32_t g_SeqEditPrevValue;

struct SeqEditBand {
    int32_t value;
    uint32_t cursor;
};

// Voltage bands (0.01 V: two decimals up to 99.99 V, one up to 999.99 V, none above), from the previous
// value to the new one; the cursor never goes above top. The value is truncated towards 0 to whole tens
// whenever the cursor is moved.
SeqEditBand SeqEditVoltBand(int32_t previous, int32_t value, uint32_t cursor, int32_t top);
// Frequency bands (0.01 Hz: two decimals up to 999.99 Hz, one above); the cursor never goes above digits.
SeqEditBand SeqEditFsetBand(int32_t previous, int32_t value, uint32_t cursor, int32_t digits);

// The band rules on the edit words: g_SeqEditPrevValue against the working value, moving the digit cursor
// and truncating the working value. The editor's previous value is left to the caller.
void SeqEdit_AdjustDigitBand(int32_t top);
void SeqEdit_AdjustFsetDigitBand(int32_t digits);
