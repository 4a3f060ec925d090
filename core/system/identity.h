#pragma once
// The unit's brand identity, kept in the identity block of the non-volatile memory.
#include <atomic>
#include <cstdint>

// BrandId 0..2: the identity texts, the directory on USB memory ("qx", "tulve", "pelma") and the logos.
extern std::atomic<uint32_t> g_BrandId;
// The unit's serial number text (16 characters, not always terminated); empty until the identity block
// gives one.
extern char g_SerialNo[16];
// The MAC address text kept beside the serial number in the identity block (20 characters, not always
// terminated).
extern char g_MacText[20];
