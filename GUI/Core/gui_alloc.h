#pragma once
// The graphics library's memory manager: one pool handed over at start-up, movable blocks addressed by
// handles (so holes can be closed by moving unlocked blocks) and fixed blocks carved from the pool's end.
// Every word inside the pool that names a place (handle entries, free-list and fixed-block links) holds a
// 32-bit offset from the pool start, so block sizes are the same on every host. GUI thread only.
#include <cstdint>

// Memory handle: index into the handle table; 0 is no block.
typedef int32_t GUI_HBLOCK;

// Link value meaning "no block".
inline constexpr uint32_t kGuiAllocNone = 0xFFFFFFFFu;

// One handle-table entry (8 bytes): lock count (0 free, 1 allocated, +1 per lock) and a word holding the
// block's start offset while allocated, the next free entry while free (0 ends the chain).
struct GUI_ALLOC_ENTRY {
    uint8_t lockCount;
    uint8_t reserved[3];
    uint32_t word;
};
static_assert(sizeof(GUI_ALLOC_ENTRY) == 8);

struct GUI_ALLOC_CLASS {
    uint32_t minSize;    // class start: 16 << class number
    uint32_t firstFree;  // offset of the first free block of the class, kGuiAllocNone when empty
};

// The heap state (process-wide).
struct GUI_ALLOC_HEAP {
    uint8_t* pool;         // pool start (null until assigned)
    uint32_t poolSize;     // assigned size, a multiple of 4
    uint32_t hint = 32;    // average block size hint
    uint32_t freeBytes;    // bytes in free movable blocks
    uint32_t freeHandles;  // free handle-table entries
    uint32_t usableSize;   // end of the movable area (fixed blocks lie above it)
    uint32_t numHandles;   // handle-table entries
    uint32_t numLocks;     // outstanding locks
    uint32_t firstFreeHandle;
    uint32_t initialised;
    GUI_HBLOCK hTable;                   // handle of the table's own block (0 while provisional)
    GUI_ALLOC_ENTRY* table;              // the handle table
    uint32_t fixedFree = kGuiAllocNone;  // first released fixed block (offset)
    uint32_t fixedBytes;                 // bytes taken by fixed blocks
    int32_t handleReserve;               // free handles kept back for the table's own growth
    GUI_ALLOC_CLASS classes[16];
};
extern GUI_ALLOC_HEAP GUI_ALLOC_Heap;

// Records the pool (size rounded down to a multiple of 4). Assigning a pool starts the manager over on
// it: everything allocated from an earlier pool is forgotten.
void GUI_ALLOC_AssignPool(void* address, uint32_t size);
void GUI_ALLOC_SetBlockSizeHint(uint32_t n);
// 0 when size is 0 or the pool cannot satisfy it.
GUI_HBLOCK GUI_ALLOC_NewBlock(uint32_t size);
GUI_HBLOCK GUI_ALLOC_NewZeroBlock(uint32_t size);
// Only an allocated, unlocked block is released; 0, a free, locked or unknown handle changes nothing.
void GUI_ALLOC_ReleaseBlock(GUI_HBLOCK handle);
// Data address of an allocated block without locking it; null for 0, a free or unknown handle.
// Tests read where a handle's block lies through it.
void* GUI_ALLOC_HandleToAddr(GUI_HBLOCK handle);
// Locks the block against moving and gives its data address; null for 0, a free or unknown handle.
void* GUI_ALLOC_LockBlock(GUI_HBLOCK handle);
// Undoes one lock of the block whose data *address points at and sets *address to null.
void GUI_ALLOC_UnlockBlock(void** address);
template <class T>
void GUI_ALLOC_UnlockBlock(T** address) {
    void* p = const_cast<void*>(static_cast<const void*>(*address));
    GUI_ALLOC_UnlockBlock(&p);
    *address = nullptr;
}
// A permanent block from the pool's end; null when it cannot be made.
void* GUI_ALLOC_GetFixedBlock(uint32_t size);
void GUI_ALLOC_ReleaseFixedBlock(void* address);
