#include "core/system/identity.h"

std::atomic<uint32_t> g_BrandId{0};
char g_SerialNo[16];
char g_MacText[20];
