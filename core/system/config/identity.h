#pragma once
// The unit's brand identity, kept in the identity block of the non-volatile memory.
#include <atomic>
#include <cstddef>
#include <cstdint>

// BrandId 0..2: the identity texts, the directory on USB memory ("qx", "tulve", "pelma") and the logos.
extern std::atomic<uint32_t> g_BrandId;
// The unit's serial number text (16 characters, not always terminated); empty until the identity block
// gives one.
extern char g_SerialNo[16];
// The MAC address text kept beside the serial number in the identity block (20 characters, not always
// terminated).
extern char g_MacText[20];

// The identity texts (g_ModelName, g_ServicePassword, g_SerialNo, g_MacText) are rewritten while other
// threads read them (a factory default runs on the supervisor thread, start-up loads them on the
// menu/control thread): writers and readers go through these, under one lock, so that no reader gets a
// text half old and half new. IdentityTextWrite zero-fills text (size bytes) and copies at most size bytes
// of value, n bytes long; IdentityTextRead copies all size bytes of text to out.
// These texts end up in configuration files and module parameters, where a line feed would start a line
// of its own: a value with a control character before its end is refused (false, text unchanged).
bool IdentityTextWrite(char* text, size_t size, const char* value, size_t n);
void IdentityTextRead(const char* text, size_t size, char* out);
