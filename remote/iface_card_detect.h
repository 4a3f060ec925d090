#pragma once
#include <cstdint>

// The installed interface card: 0 none, 1 to 3 by the GPIO line that reads 1.
int32_t IfaceCardDetect();
