#pragma once
// The start-up check for a pending FPGA and boot-image update from internal storage.
#include <atomic>
#include <cstdint>

// 0 unchecked, 1 an update was done or runs, 2 the check found nothing to update.
extern std::atomic<uint32_t> c2000Checked;
