#pragma once
// Text helpers shared by the SCPI parser, the network configuration and the update and web file paths.
#include <cstddef>
#include <cstdint>

// Writes the byte in decimal without leading zeros and a terminating zero; returns dst (null for null).
char* ByteToDecimal(char* dst, uint8_t byte);
// Writes four bytes as dotted decimal text; returns dst, or null when either pointer is null.
// dst must hold 16 characters.
char* IpToString(char* dst, const uint8_t* bytes);
// Characters before the terminating zero (0 for a null text).
size_t StrLength(const char* text);
// True when a control character (below ' ', or DEL) stands before the text's terminating zero or its
// size-th character, whichever comes first.
bool TextHasControl(const char* text, size_t size);

// Exchanges the two 4-bit halves of every byte (0xAB becomes 0xBA); applying it twice restores the buffer.
void NibbleSwapBuffer(uint8_t* buffer, size_t length);
