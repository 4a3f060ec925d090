#pragma once
// The board's flash partitions on this machine: plain files <root>/dev/mtdN of the partition's size,
// erased (0xFF) at first start, with /dev/mtdblockN linked to them and the size in
// /sys/class/mtd/mtdN/size, where the board's kernel shows it.
#include <cstddef>
#include <string>

namespace plat {

// Makes the partitions that do not exist yet (first start); false when one cannot be made.
bool PrepareFlashPartitions();

// The size of partition N from its sysfs file; 0 when it has none (no such partition).
size_t FlashPartitionSize(int partition);

// Fills the partition file at hostPath with 0xFF over its whole size; false on a failure.
bool EraseFlashFile(const std::string& hostPath);

}  // namespace plat
