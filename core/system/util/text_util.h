#pragma once
// Text helpers shared by the SCPI parser, the network configuration and the update and web file paths.
#include <cstddef>
#include <cstdint>

// Writes the byte in decimal without leading zeros and a terminating zero; returns dst (null for null).
char* ByteToDecimal(char* dst, uint8_t byte);
// Writes four bytes as dotted decimal text; returns dst, or null when either pointer is null.
// dst must hold 16 characters.
char* IpToString(char* dst, const uint8_t* bytes);
// kept: the text utilities' digit test.
// 0 when n >= 1 and each of the first n characters is '0'..'9'; -1 otherwise (also for a null text).
int IsAllDigits(const char* text, int n);
// Characters before the terminating zero (0 for a null text).
size_t StrLength(const char* text);
// True when a control character (below ' ', or DEL) stands before the text's terminating zero or its
// size-th character, whichever comes first.
bool TextHasControl(const char* text, size_t size);

// kept: the text utilities' parse of B/Q/H radix numbers.
// Results of ParseRadixNumber.
enum : int {
    kRadixOk = 0,
    kRadixEmpty = -1,     // null or empty text
    kRadixNoLetter = -2,  // the text does not start with B, Q or H
    kRadixBadDigit = -3,  // a character that is not a digit of the radix, or no digit at all
    kRadixOverflow = -4,  // the value does not fit in 32 bits
};
// Parses a radix letter ('B'/'b' binary, 'Q'/'q' octal, 'H'/'h' hexadecimal) followed by digits up to the
// end of the text into an unsigned 32-bit value. *result is written only on success.
int ParseRadixNumber(const char* text, uint32_t* result);

// Exchanges the two 4-bit halves of every byte (0xAB becomes 0xBA); applying it twice restores the buffer.
void NibbleSwapBuffer(uint8_t* buffer, size_t length);
