#include "GUI/Core/gui_alloc.h"

#include <algorithm>
#include <cstring>

#include "GUI/Core/gui_error_stop.h"

GUI_ALLOC_HEAP GUI_ALLOC_Heap;

namespace {

GUI_ALLOC_HEAP& H = GUI_ALLOC_Heap;

// Block layout: word 0 owning handle (0 free), word 1 size, data from byte 8, last word the size again.
// A free block links its class list through words 2 (next) and 3 (previous); word 4 holds its own start.
constexpr uint32_t kOverhead = 12;
constexpr uint32_t kMinData = 16;
constexpr uint32_t kMinBlock = kMinData + kOverhead;
constexpr uint32_t kMemTestBytes = 10240;

constexpr const char kNoMemory[] =
    "../GUI/Core/GUI_Alloc.c:\nNo memory available in _InitOnce(). Execution stopped!";
constexpr const char kMemTestFailed[] = "../GUI/Core/GUI_Alloc.c:\nMemory test failed in _InitOnce().";
constexpr const char kNoBlocks[] =
    "../GUI/Core/GUI_Alloc.c:\nNo memory for blocks available in _InitOnce(). Execution stopped!";
constexpr const char kIllegalRemove[] =
    "../GUI/Core/GUI_Alloc.c:\nIllegal memory operation in _RemoveFreeBlock(). Execution stopped!";
constexpr const char kIllegalSize[] =
    "../GUI/Core/GUI_Alloc.c:\nIllegal block size in _RemoveHolesNew(). Execution stopped!";
constexpr const char kIllegalFree[] =
    "../GUI/Core/GUI_Alloc.c:\nIllegal free block in _RemoveHolesNew(). Execution stopped!";
constexpr const char kIllegalFixed[] =
    "../GUI/Core/GUI_Alloc.c:Illegal block size in GUI_ALLOC_GetFixedBlock(). Execution stopped";

uint32_t& W(uint32_t offset) {
    return *reinterpret_cast<uint32_t*>(H.pool + offset);
}

uint32_t Round4(uint32_t n) {
    return (n + 3u) & ~3u;
}

int ClassOf(uint32_t size) {
    int i = 15;
    while (i > 0 && H.classes[i].minSize > size)
        --i;
    return i;
}

bool ValidHandle(GUI_HBLOCK h) {
    return h > 0 && static_cast<uint32_t>(h) < H.numHandles && H.table[h].lockCount != 0;
}

void _RemoveFreeBlock(uint32_t b) {
    const uint32_t size = W(b + 4);
    if (size > H.freeBytes) GUI_ErrorStop(kIllegalRemove);
    const uint32_t next = W(b + 8);
    const uint32_t prev = W(b + 12);
    if (prev != kGuiAllocNone) {
        W(prev + 8) = next;
    } else {
        H.classes[ClassOf(size)].firstFree = next;
    }
    if (next != kGuiAllocNone) W(next + 12) = prev;
    H.freeBytes -= size;
}

// Returns free space, merging it with a free neighbour on either side, so no two free blocks touch.
void _AddFreeMemory(uint32_t size, uint32_t start) {
    const uint32_t end = start + size;
    if (end < H.usableSize && W(end) == 0) {
        const uint32_t behind = W(end + 4);
        _RemoveFreeBlock(end);
        size += behind;
    }
    if (start > 0) {
        const uint32_t front = start - W(start - 4);
        if (W(front) == 0) {
            const uint32_t frontSize = W(front + 4);
            _RemoveFreeBlock(front);
            start = front;
            size += frontSize;
        }
    }
    GUI_ALLOC_CLASS& cls = H.classes[ClassOf(size)];
    W(start) = 0;
    W(start + 4) = size;
    W(start + size - 4) = size;
    W(start + 8) = cls.firstFree;
    W(start + 12) = kGuiAllocNone;
    W(start + 16) = start;
    if (cls.firstFree != kGuiAllocNone) W(cls.firstFree + 12) = start;
    cls.firstFree = start;
    H.freeBytes += size;
}

uint32_t FindFreeBlock(uint32_t size) {
    for (int i = ClassOf(size); i < 16; ++i) {
        for (uint32_t b = H.classes[i].firstFree; b != kGuiAllocNone; b = W(b + 8)) {
            if (W(b + 4) >= size) return b;
        }
    }
    return kGuiAllocNone;
}

// One walk from the pool start: each free block takes the unlocked block behind it down. True as soon
// as a free block of target bytes exists (target 0: never; the pool ends fully compacted).
bool _RemoveHolesNew(uint32_t target) {
    uint32_t b = 0;
    while (b < H.usableSize) {
        const uint32_t size = W(b + 4);
        if (size == 0 || size > H.usableSize - b) GUI_ErrorStop(kIllegalSize);
        const uint32_t next = b + size;
        if (W(b) != 0 || next >= H.usableSize) {
            b = next;
            continue;
        }
        const uint32_t hNext = W(next);
        if (hNext == 0 || hNext >= H.numHandles) GUI_ErrorStop(kIllegalFree);
        if (H.table[hNext].lockCount != 1) {
            b = next;  // a locked block stays; the walk goes on behind it
            continue;
        }
        const uint32_t used = W(next + 4);
        _RemoveFreeBlock(b);
        std::memmove(H.pool + b, H.pool + next, used);
        // The table may be the block that moved: follow it before writing the entry.
        if (static_cast<GUI_HBLOCK>(hNext) == H.hTable) {
            H.table = reinterpret_cast<GUI_ALLOC_ENTRY*>(H.pool + b + 8);
        }
        H.table[hNext].word = b;
        _AddFreeMemory(size, b + used);
        b += used;
        if (target != 0 && W(b + 4) >= target) return true;
    }
    return false;
}

void GiveHandle(GUI_HBLOCK h) {
    H.table[h].lockCount = 0;
    H.table[h].word = H.firstFreeHandle;
    H.firstFreeHandle = static_cast<uint32_t>(h);
    ++H.freeHandles;
}

bool EnlargeTable();

GUI_HBLOCK TakeHandle() {
    if (static_cast<int64_t>(H.freeHandles) <= H.handleReserve) {
        --H.handleReserve;
        const bool grown = EnlargeTable();
        ++H.handleReserve;
        if (!grown) return 0;
    }
    const uint32_t h = H.firstFreeHandle;
    if (h == 0) return 0;
    H.firstFreeHandle = H.table[h].word;
    H.table[h].lockCount = 1;
    H.table[h].word = 0;
    --H.freeHandles;
    return static_cast<GUI_HBLOCK>(h);
}

GUI_HBLOCK Alloc(uint32_t request) {
    if (request > 0x7FFFFFF0u) return 0;
    uint32_t size = std::max(kMinData, Round4(request)) + kOverhead;
    if (size > H.freeBytes) return 0;
    const GUI_HBLOCK h = TakeHandle();
    if (h == 0) return 0;
    uint32_t b = FindFreeBlock(size);
    if (b == kGuiAllocNone && _RemoveHolesNew(size + kOverhead)) b = FindFreeBlock(size);
    if (b == kGuiAllocNone) {
        GiveHandle(h);
        return 0;
    }
    _RemoveFreeBlock(b);
    const uint32_t found = W(b + 4);
    if (found - size < kMinBlock) size = found;
    // The block's own header and trailer first: returning the rest looks at the block in front of it.
    W(b) = static_cast<uint32_t>(h);
    W(b + 4) = size;
    W(b + size - 4) = size;
    H.table[h].word = b;
    if (found > size) _AddFreeMemory(found - size, b + size);
    return h;
}

void Release(GUI_HBLOCK h) {
    const uint32_t b = H.table[h].word;
    const uint32_t size = W(b + 4);
    GiveHandle(h);
    _AddFreeMemory(size, b);
}

bool EnlargeTable() {
    const uint32_t oldCount = H.numHandles;
    const uint32_t newCount = H.hTable == 0 ? H.usableSize / (H.hint + 8) + 2 : oldCount + oldCount / 10 + 1;
    const GUI_HBLOCK h = Alloc(newCount * static_cast<uint32_t>(sizeof(GUI_ALLOC_ENTRY)));
    if (h == 0) return false;
    auto* table = reinterpret_cast<GUI_ALLOC_ENTRY*>(H.pool + H.table[h].word + 8);
    std::memcpy(table, H.table, oldCount * sizeof(GUI_ALLOC_ENTRY));
    const GUI_HBLOCK oldTable = H.hTable;
    H.hTable = h;
    H.table = table;
    for (uint32_t i = oldCount; i < newCount; ++i) {
        table[i] = {};
        table[i].word = i + 1 < newCount ? i + 1 : H.firstFreeHandle;
    }
    if (newCount > oldCount) H.firstFreeHandle = oldCount;
    H.freeHandles += newCount - oldCount;
    H.numHandles = newCount;
    if (oldTable != 0) Release(oldTable);
    return true;
}

template <class T>
bool MemoryTestStage(uint32_t bytes) {
    volatile T* p = reinterpret_cast<volatile T*>(H.pool);
    const uint32_t n = bytes / sizeof(T);
    for (uint32_t pass = 0; pass < 2; ++pass) {
        for (uint32_t i = 0; i < n; ++i)
            p[i] = static_cast<T>((i + pass) % 255);
        for (uint32_t i = 0; i < n; ++i) {
            if (p[i] != static_cast<T>((i + pass) % 255)) return false;
        }
    }
    return true;
}

void _InitOnce() {
    H.initialised = 1;
    // The provisional table (20 bytes) and one smallest block must fit, or the pool is no pool.
    if (H.pool == nullptr || H.poolSize < 20 + kMinBlock) GUI_ErrorStop(kNoMemory);
    const uint32_t tested = std::min(H.poolSize, kMemTestBytes);
    if (!MemoryTestStage<uint32_t>(tested) || !MemoryTestStage<uint16_t>(tested) ||
        !MemoryTestStage<uint8_t>(tested)) {
        GUI_ErrorStop(kMemTestFailed);
    }
    std::memset(H.pool, 0, tested);
    for (int i = 0; i < 16; ++i)
        H.classes[i] = {16u << i, kGuiAllocNone};
    H.usableSize = H.poolSize;
    H.table = reinterpret_cast<GUI_ALLOC_ENTRY*>(H.pool + H.poolSize - 20);
    H.table[0] = {0, {}, 1};
    H.table[1] = {0, {}, 0};
    H.numHandles = 2;
    H.firstFreeHandle = 1;
    H.freeHandles = 1;
    _AddFreeMemory(H.usableSize, 0);
    if (!EnlargeTable()) GUI_ErrorStop(kNoBlocks);
    H.handleReserve = 1;
}

GUI_HBLOCK NewBlock(uint32_t size) {
    if (size == 0) return 0;
    if (H.initialised == 0) _InitOnce();
    return Alloc(size);
}

uint32_t OffsetOf(const void* address) {
    return static_cast<uint32_t>(static_cast<const uint8_t*>(address) - H.pool);
}

}  // namespace

void GUI_ALLOC_AssignPool(void* address, uint32_t size) {
    const uint32_t hint = H.hint;
    H = GUI_ALLOC_HEAP{};
    H.hint = hint;
    H.pool = static_cast<uint8_t*>(address);
    H.poolSize = size & ~3u;
}

void GUI_ALLOC_SetBlockSizeHint(uint32_t n) {
    H.hint = n < 17 ? 16 : std::min(n, H.poolSize / 2);
}

GUI_HBLOCK GUI_ALLOC_NewBlock(uint32_t size) {
    return NewBlock(size);
}

GUI_HBLOCK GUI_ALLOC_NewZeroBlock(uint32_t size) {
    const GUI_HBLOCK h = NewBlock(size);
    if (h != 0) std::memset(H.pool + H.table[h].word + 8, 0, size);
    return h;
}

void GUI_ALLOC_ReleaseBlock(GUI_HBLOCK handle) {
    if (ValidHandle(handle) && H.table[handle].lockCount == 1) Release(handle);
}

void* GUI_ALLOC_HandleToAddr(GUI_HBLOCK handle) {
    return ValidHandle(handle) ? H.pool + H.table[handle].word + 8 : nullptr;
}

void* GUI_ALLOC_LockBlock(GUI_HBLOCK handle) {
    if (!ValidHandle(handle) || H.table[handle].lockCount == 0xFF) return nullptr;
    ++H.table[handle].lockCount;
    ++H.numLocks;
    return H.pool + H.table[handle].word + 8;
}

void GUI_ALLOC_UnlockBlock(void** address) {
    if (address == nullptr || *address == nullptr) return;
    const uint8_t* p = static_cast<const uint8_t*>(*address);
    *address = nullptr;
    if (p < H.pool + 8 || p >= H.pool + H.usableSize) return;
    const GUI_HBLOCK h = static_cast<GUI_HBLOCK>(W(OffsetOf(p) - 8));
    // A lock count of 1 means allocated and unlocked: an unbalanced unlock must not mark the handle free.
    if (!ValidHandle(h) || H.table[h].lockCount < 2) return;
    --H.table[h].lockCount;
    if (H.numLocks != 0) --H.numLocks;
}

void* GUI_ALLOC_GetFixedBlock(uint32_t size) {
    if (size > 0x7FFFFFF0u) return nullptr;
    if (H.initialised == 0) _InitOnce();
    const uint32_t need = std::max(16u, Round4(size) + 4);
    for (uint32_t b = H.fixedFree; b != kGuiAllocNone; b = W(b + 4)) {
        if (W(b) != need) continue;
        const uint32_t next = W(b + 4);
        const uint32_t prev = W(b + 8);
        if (prev != kGuiAllocNone) {
            W(prev + 4) = next;
        } else {
            H.fixedFree = next;
        }
        if (next != kGuiAllocNone) W(next + 8) = prev;
        return H.pool + b + 4;
    }
    uint32_t lastSize = W(H.usableSize - 4);
    if (lastSize == 0 || lastSize > H.usableSize) GUI_ErrorStop(kIllegalFixed);
    uint32_t last = H.usableSize - lastSize;
    if (W(last) != 0) {
        if (W(last + 4) != lastSize) GUI_ErrorStop(kIllegalFixed);
        _RemoveHolesNew(0);
        lastSize = W(H.usableSize - 4);
        last = H.usableSize - lastSize;
    }
    if (W(last) != 0 || lastSize < need) return nullptr;
    _RemoveFreeBlock(last);
    // A rest too small to carry a free block's header and links goes with the fixed block.
    const uint32_t taken = lastSize - need < kMinBlock ? lastSize : need;
    H.usableSize -= taken;
    H.fixedBytes += taken;
    if (lastSize > taken) _AddFreeMemory(lastSize - taken, last);
    W(H.usableSize) = taken;
    return H.pool + H.usableSize + 4;
}

void GUI_ALLOC_ReleaseFixedBlock(void* address) {
    // Only an address inside the fixed area can be one of its blocks.
    const auto* p = static_cast<const uint8_t*>(address);
    if (p == nullptr || p < H.pool + H.usableSize + 4 || p >= H.pool + H.poolSize) return;
    const uint32_t b = OffsetOf(address) - 4;
    W(b + 4) = H.fixedFree;
    W(b + 8) = kGuiAllocNone;
    if (H.fixedFree != kGuiAllocNone) W(H.fixedFree + 8) = b;
    H.fixedFree = b;
}
