#pragma once
// Number and text preparation for the panel's value fields.
#include <cstddef>
#include <cstdint>

// value x scale as FormatNumber prints it, with at most five significant digits: from 100000 the value is
// cut to tens and shows one decimal fewer, from 1000000 to hundreds and two fewer (never below none).
// Modes: 0 plain, 1 with the plus sign, 2 with the unit, 3 both. out holds size bytes and is always
// terminated (a longer text is cut). Returns 0, or 1 when out is null or size is 0.
int FormatScaledValue(int mode, int32_t value, char* out, size_t size, int decimals, float scale,
                      const char* unit);

// Copies n characters of text upper-cased (stopping early at the end of text) and terminates; out holds
// n + 1 bytes. Returns n.
int StrCopyUpper(char* out, const char* text, int n);

// The keypad entry text as the GUI thread's copy of the edit words holds it, terminated, cut to size - 1
// characters.
void CopyEntryText(char* out, size_t size);

// True while a number is being typed on the keypad (the GUI thread's copy).
bool EntryInProgress();
