// The graphics memory manager on fresh pools: sizes, table growth, defragmentation, fixed blocks, the
// fatal stops, and a random stress run that checks the pool's structure after every operation.
#include "GUI/Core/gui_alloc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "GUI/Core/gui_error_stop.h"

namespace {

GUI_ALLOC_HEAP& H = GUI_ALLOC_Heap;
alignas(8) uint8_t g_pool[0x200000];

uint32_t Word(uint32_t offset) {
    uint32_t v;
    std::memcpy(&v, g_pool + offset, 4);
    return v;
}
void SetWord(uint32_t offset, uint32_t v) {
    std::memcpy(g_pool + offset, &v, 4);
}
uint32_t BlockOf(GUI_HBLOCK h) {
    return static_cast<uint32_t>(static_cast<uint8_t*>(GUI_ALLOC_HandleToAddr(h)) - g_pool) - 8;
}

void ThrowStop(const char* message) {
    throw std::runtime_error(message);
}

class GuiAlloc : public ::testing::Test {
  protected:
    void SetUp() override { Fresh(sizeof g_pool); }
    void TearDown() override { GUI_SetErrorStopHook(nullptr); }
    static void Fresh(uint32_t size) {
        GUI_SetErrorStopHook(ThrowStop);
        GUI_ALLOC_AssignPool(g_pool, size);
        GUI_ALLOC_SetBlockSizeHint(128);
    }
    static void Init() { GUI_ALLOC_ReleaseBlock(GUI_ALLOC_NewBlock(1)); }
};

TEST_F(GuiAlloc, FreshTwoMegabytePool) {
    EXPECT_EQ(GUI_ALLOC_NewBlock(0), 0);
    EXPECT_EQ(H.initialised, 0u) << "a request of 0 touches nothing";
    Init();
    EXPECT_EQ(H.numHandles, 15422u);
    EXPECT_EQ(Word(BlockOf(H.hTable) + 4), 123388u);
    EXPECT_EQ(H.freeHandles, 15420u);
    EXPECT_EQ(H.freeBytes, 0x200000u - 123388u);
    const std::pair<uint32_t, uint32_t> sizes[] = {{1, 28}, {16, 28}, {17, 32}};
    for (auto [request, block] : sizes) {
        const GUI_HBLOCK h = GUI_ALLOC_NewBlock(request);
        ASSERT_NE(h, 0);
        EXPECT_EQ(Word(BlockOf(h) + 4), block) << request;
    }
}

TEST_F(GuiAlloc, TableGrowsWhenOneFreeHandleIsLeft) {
    Init();
    for (int i = 1; i < 15420; ++i)
        ASSERT_NE(GUI_ALLOC_NewBlock(1), 0);
    EXPECT_EQ(H.numHandles, 15422u);
    EXPECT_EQ(H.freeHandles, 1u);
    EXPECT_NE(GUI_ALLOC_NewBlock(1), 0);
    EXPECT_EQ(H.numHandles, 16965u);
}

// Small pool: table block, X1, X2 (released: the hole), X3, free tail of 792 bytes.
struct Holed {
    GUI_HBLOCK x1, x3;
    uint32_t x3Start;
};
Holed MakeHole() {
    GUI_ALLOC_AssignPool(g_pool, 4096);
    GUI_ALLOC_SetBlockSizeHint(128);
    Holed s{GUI_ALLOC_NewBlock(1000), 0, 0};
    const GUI_HBLOCK x2 = GUI_ALLOC_NewBlock(1000);
    s.x3 = GUI_ALLOC_NewBlock(1000);
    std::memset(GUI_ALLOC_HandleToAddr(s.x3), 0x5A, 1000);
    GUI_ALLOC_ReleaseBlock(x2);
    s.x3Start = BlockOf(s.x3);
    return s;
}

TEST_F(GuiAlloc, HoleIsClosedByMovingAnUnlockedBlockOnly) {
    Holed s = MakeHole();
    void* locked = GUI_ALLOC_LockBlock(s.x3);
    EXPECT_EQ(GUI_ALLOC_NewBlock(1500), 0) << "the block behind the hole is locked";
    EXPECT_EQ(BlockOf(s.x3), s.x3Start);
    GUI_ALLOC_UnlockBlock(&locked);
    const GUI_HBLOCK big = GUI_ALLOC_NewBlock(1500);
    ASSERT_NE(big, 0);
    EXPECT_LT(BlockOf(s.x3), s.x3Start);
    const auto* data = static_cast<const uint8_t*>(GUI_ALLOC_HandleToAddr(s.x3));
    EXPECT_EQ(std::count(data, data + 1000, 0x5A), 1000) << "the moved block keeps its data";
}

TEST_F(GuiAlloc, FixedBlocksComeFromThePoolEndAndAreReusedBySizeOnly) {
    Init();
    auto* a = static_cast<uint8_t*>(GUI_ALLOC_GetFixedBlock(20));
    EXPECT_EQ(a, g_pool + sizeof g_pool - 24 + 4);
    EXPECT_EQ(H.usableSize, sizeof g_pool - 24);
    GUI_ALLOC_ReleaseFixedBlock(a);
    EXPECT_NE(GUI_ALLOC_GetFixedBlock(24), a);
    EXPECT_EQ(GUI_ALLOC_GetFixedBlock(20), a);
}

TEST_F(GuiAlloc, BadHandlesAndUnbalancedUnlocksChangeNothing) {
    Init();
    const GUI_HBLOCK h = GUI_ALLOC_NewBlock(8);
    const GUI_HBLOCK freed = GUI_ALLOC_NewBlock(8);
    GUI_ALLOC_ReleaseBlock(freed);
    const uint32_t freeBytes = H.freeBytes;
    for (GUI_HBLOCK bad : {freed, -1, static_cast<GUI_HBLOCK>(H.numHandles), 0}) {
        EXPECT_EQ(GUI_ALLOC_HandleToAddr(bad), nullptr) << bad;
        EXPECT_EQ(GUI_ALLOC_LockBlock(bad), nullptr) << bad;
        GUI_ALLOC_ReleaseBlock(bad);
        EXPECT_EQ(H.freeBytes, freeBytes) << bad;
    }
    void* p = GUI_ALLOC_HandleToAddr(h);
    GUI_ALLOC_UnlockBlock(&p);  // never locked
    EXPECT_EQ(p, nullptr);
    EXPECT_NE(GUI_ALLOC_HandleToAddr(h), nullptr) << "still allocated";
    EXPECT_NE(GUI_ALLOC_NewBlock(8), h) << "its handle is not handed out again";
    void* q = GUI_ALLOC_LockBlock(h);
    GUI_ALLOC_ReleaseBlock(h);
    EXPECT_NE(GUI_ALLOC_HandleToAddr(h), nullptr) << "a locked block is not released";
    GUI_ALLOC_UnlockBlock(&q);
    EXPECT_EQ(H.numLocks, 0u);
    GUI_ALLOC_ReleaseBlock(h);
    EXPECT_EQ(GUI_ALLOC_HandleToAddr(h), nullptr);
}

TEST_F(GuiAlloc, CorruptionStopsWithItsText) {
    const std::string path = "../GUI/Core/GUI_Alloc.c:";
    const struct {
        std::function<void()> run;
        std::string text;
    } cases[] = {
        {[] { GUI_ALLOC_AssignPool(nullptr, 0), GUI_ALLOC_NewBlock(1); },
         path + "\nNo memory available in _InitOnce(). Execution stopped!"},
        {[] { Init(), --H.freeBytes, GUI_ALLOC_NewBlock(1); },
         path + "\nIllegal memory operation in _RemoveFreeBlock(). Execution stopped!"},
        {[] { MakeHole(), SetWord(4, 0), GUI_ALLOC_NewBlock(1500); },
         path + "\nIllegal block size in _RemoveHolesNew(). Execution stopped!"},
        {[] { SetWord(MakeHole().x3Start, 0), GUI_ALLOC_NewBlock(1500); },
         path + "\nIllegal free block in _RemoveHolesNew(). Execution stopped!"},
        {[] { SetWord(4092, 4096 - MakeHole().x3Start), GUI_ALLOC_GetFixedBlock(20); },
         path + "Illegal block size in GUI_ALLOC_GetFixedBlock(). Execution stopped"},
    };
    for (const auto& c : cases) {
        Fresh(sizeof g_pool);
        try {
            c.run();
            ADD_FAILURE() << "no stop for: " << c.text;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), c.text);
        }
    }
}

// The first fault of the pool's structure, "" when sound: blocks tile the movable area, trailers repeat
// the size, no two free blocks touch, every free block is on a class list, every count matches a recount.
std::string PoolFault() {
    uint32_t freeBytes = 0, freeBlocks = 0, listed = 0, freeHandles = 0, locks = 0, b = 0;
    for (bool lastFree = false; b < H.usableSize; b += Word(b + 4)) {
        const uint32_t size = Word(b + 4), h = Word(b);
        if (size < 28 || size % 4 || size > H.usableSize - b || Word(b + size - 4) != size) return "size";
        if (h == 0 && lastFree) return "free neighbours";
        if (h != 0 && (h >= H.numHandles || H.table[h].lockCount == 0 || H.table[h].word != b))
            return "handle";
        freeBytes += h == 0 ? size : 0;
        freeBlocks += h == 0;
        lastFree = h == 0;
    }
    for (const auto& cls : H.classes) {
        for (uint32_t f = cls.firstFree; f != kGuiAllocNone; f = Word(f + 8))
            ++listed;
    }
    for (uint32_t h = 1; h < H.numHandles; ++h) {
        freeHandles += H.table[h].lockCount == 0;
        locks += H.table[h].lockCount > 1 ? H.table[h].lockCount - 1 : 0;
    }
    if (b != H.usableSize || H.usableSize + H.fixedBytes != H.poolSize) return "end";
    if (freeBytes != H.freeBytes || listed != freeBlocks) return "free blocks";
    return freeHandles != H.freeHandles || locks != H.numLocks ? "handle counts" : "";
}

TEST_F(GuiAlloc, StressKeepsThePoolSound) {
    Fresh(96 * 1024);
    GUI_ALLOC_SetBlockSizeHint(1024);  // a small first table, so it grows during the run
    std::mt19937 rng(18);
    struct Block {
        uint32_t size;
        void* at;
        bool locked;
    };
    std::map<GUI_HBLOCK, Block> live;
    std::vector<void*> fixed;
    int moves = 0, failures = 0;
    auto any = [&] { return std::next(live.begin(), static_cast<long>(rng() % live.size())); };
    for (int op = 0; op < 100000; ++op) {
        const int kind = live.empty() ? 0 : static_cast<int>(rng() % 100);
        if (kind < 45) {
            const uint32_t size = rng() % 4 ? rng() % 200 + 1 : rng() % 6000 + 1;
            const GUI_HBLOCK h = GUI_ALLOC_NewBlock(size);
            failures += h == 0;
            if (h != 0) {
                ASSERT_EQ(live.count(h), 0u) << "handle handed out twice at op " << op;
                live[h] = {size, GUI_ALLOC_HandleToAddr(h), false};
                std::memset(live[h].at, h & 0xFF, size);
            }
        } else if (kind < 85) {
            auto it = any();
            const auto* data = static_cast<const uint8_t*>(it->second.at);
            ASSERT_EQ(std::count(data, data + it->second.size, it->first & 0xFF), it->second.size) << op;
            GUI_ALLOC_ReleaseBlock(it->first);
            if (!it->second.locked) live.erase(it);
        } else if (kind < 99) {
            auto it = any();
            void* p = it->second.at;
            it->second.locked ? GUI_ALLOC_UnlockBlock(&p) : void(GUI_ALLOC_LockBlock(it->first));
            it->second.locked = !it->second.locked;
        } else if (fixed.size() < 8 && rng() % 2) {
            if (void* p = GUI_ALLOC_GetFixedBlock(8 + rng() % 3 * 4)) fixed.push_back(p);
        } else if (!fixed.empty()) {
            GUI_ALLOC_ReleaseFixedBlock(fixed.back());
            fixed.pop_back();
        }
        for (auto& [h, block] : live) {
            void* now = GUI_ALLOC_HandleToAddr(h);
            ASSERT_TRUE(now == block.at || !block.locked) << "a locked block moved at op " << op;
            moves += now != block.at;
            block.at = now;
        }
        ASSERT_EQ(PoolFault(), "") << "after op " << op;
    }
    EXPECT_GT(H.numHandles, 97u) << "the table grew";
    EXPECT_GT(moves, 0) << "defragmentation ran";
    EXPECT_GT(failures, 0) << "the pool was exhausted";
}

}  // namespace
