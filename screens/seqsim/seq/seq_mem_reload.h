#pragma once
// The working SEQ tables at start-up: the memory used last loaded into them, on the menu/control thread
// before its loop starts.
#include <cstdint>

// Loads SEQ memory slot (0-9) without applying the output configuration stored with it; the restored
// settings stand. A memory that loads nothing (no file, an unreadable one, a slot outside 0-9) leaves the
// tables as the cleared memory holds them (SeqMem_ResetToSlotDefaults); one loaded with its values limited
// stays loaded. The load result.
int32_t SeqMem_ReloadAtStart(int32_t slot);
