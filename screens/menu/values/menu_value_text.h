#pragma once
// The value texts of the configuration lists, read from the settings each time (nothing is cached) or from
// the GUI thread's copy of the edit words. GUI thread only.
#include <cstddef>
#include <cstdint>

#include "screens/menu/values/menu_value_rows.h"

namespace menu {

// Every text below is written into out (size bytes, always terminated, cut to fit).
// The row's value as the settings hold it; "" for a value outside its text table.
void SettingText(const ValueRow& row, char* out, size_t size);
// The value under edit for the editors that show a plain text: the working value, the DHCP choice value,
// or for a barcode slot its taught text.
void WorkingText(const ValueRow& row, char* out, size_t size);
// True when the column draws the row dim.
bool ValueDim(const ValueRow& row);

// Shared sources of the previews.
// The output phase text of GetPhaseMode.
const char* PhaseText();
// The MAC address text upper-cased.
void MacText(char* out, size_t size);
// One LAN address (0 address, 1 mask, 2 gateway, 3 name server): in effect with DHCP on, else configured.
void LanAddressShown(int which, uint8_t out[4]);
bool LanLinkUp();
bool UsbLinkUp();
const char* UsbSpeedText();
const char* UsbModeText();
const char* Rs232Text(int which);

}  // namespace menu
