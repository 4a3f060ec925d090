#pragma once
// The external web-server process "boa".
#include <cstdint>

// Its process id (the first one pgrep prints), or -1 when none runs.
int32_t BoaPid();
