#pragma once
// Address texts of the LAN settings: strict parsers for what users and remote peers send, loose ones
// for what the system wrote or read back itself. All pure.
#include <cstddef>
#include <cstdint>

// Dotted quad of four decimal fields 0..255, nothing but digits and dots, at most 127 characters;
// fields stored in text order. 0, or -1 (out may be partly written).
int ParseDottedQuad(const char* text, uint8_t out[4]);
int IpTextValidate(const char* text);
// Four fields of at most 3 characters each up to '.', NUL, CR or LF, low 8 bits stored; stops after a
// field not ended by '.'. Returns text.
const char* ParseDottedQuadLoose(const char* text, uint8_t out[4]);
// The address in the first n characters of src: from the first digit, digits and dots up to a blank,
// LF, CR or TAB (or n, or the NUL); copied to dst (17 bytes) when it is a valid dotted quad. Its length,
// or 0.
size_t IpTextExtract(const char* src, char* dst, size_t n);
// The first digit within the first n characters; text + n when there is none there; null when the text
// ends earlier or n < 1.
const char* FindFirstDigit(const char* text, int n);
// Six groups of at most two hexadecimal digits separated by '-'. 0 or -1.
int MacTextValidate(const char* text);
