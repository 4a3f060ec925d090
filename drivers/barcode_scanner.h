#pragma once
#include <cstdint>

// The barcode scanner and USB keypad on hidraw.
int32_t HidInit();
int32_t HidPoll();  // usage code of one newly pressed key, or 0
int32_t HidIsOpen();
int32_t HidHadData();
// op 1 matches a completed scanned line against the table, op 0 teaches it into the slot; -1 when
// nothing happened.
int32_t BarcodeLineMatch(int32_t op, int32_t slot);
// The remote teach: binds a 1-16 character text to action `slot` (0-11) as if it had been scanned on the
// teach page. Returns the slot, or -1 for an empty or too long text or a slot out of range.
int32_t BarcodeRemoteTeach(int32_t slot, const char* text);

// The storage of the code table lies in a higher layer; start-up hands its routines over. Unset, the
// table lives in memory only.
struct BarcodeFileHooks {
    int32_t (*load)();  // 1 when the stored table was loaded into g_BarcodeTable
    int32_t (*save)();
};
void Barcode_SetFileHooks(const BarcodeFileHooks& hooks);
