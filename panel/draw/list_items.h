#pragma once
// The MENU lists' rows: the value box of a row, the IP-address field and the row labels. They draw into
// the selected window. GUI thread only.
#include <cstddef>
#include <cstdint>

// The value box of a list row, by style:
//   0/1 long/short light box, buffer in black, centred; 2/3 long/short dark box, buffer in white, centred;
//   4/5/9 the edited integer with its digit cursor (long, short, long); 6 the edited value scaled by the
//   current state's record (short); 7 the four-digit choice value with its cursor (long); 8 buffer in
//   white from the left (long).
// Styles 4-7 and 9 print into buffer (size bytes, terminated, never written past); while a number is
// being typed they show the typed text instead, without a cursor.
void DrawItemValue(int style, char* buffer, size_t size);
// An address row: the edited octet (0-3) shows the choice value, or the typed number while one is typed.
void DrawIpField(int octet, const uint8_t address[4]);
// A list row's label in white (dark grey when dim) over a black shadow; row 0 first clears the window in
// the lists' grey. Rows from 15 on are the second column's, from its top again.
void DrawMenuRowLabel(int row, const char* label, int dim);
