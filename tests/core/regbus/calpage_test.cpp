// Calibration pages: checksum, read with retries, write, and the phase-fault guard.
#include "core/control/calibration/cal_page.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"
#include "regbus_setup.h"

namespace {

using Page = std::vector<uint16_t>;

// A page whose words 0-253 follow a pattern and whose word 254 is their checksum.
Page GoodPage(uint16_t seed) {
    Page page(regbus::kCalPageWords, 0);
    uint16_t sum = 0;
    for (int i = 0; i < regbus::kCalChecksumWord; ++i) {
        page[i] = static_cast<uint16_t>(seed + i * 257);
        sum = static_cast<uint16_t>(sum + page[i]);
    }
    page[regbus::kCalChecksumWord] = sum;
    page[255] = 0x5A5A;  // never transferred
    return page;
}

void LoadTable(int p, const Page& page) {
    std::copy(page.begin(), page.end(), regbus::CalPage(p));
}
Page Table(int p) {
    return Page(regbus::CalPage(p), regbus::CalPage(p) + regbus::kCalPageWords);
}

// The stage holds `page` in its calibration register of phase p, each word as the low half of a 32-bit word.
void StagePage(int p, const Page& page) {
    for (int w = 0; w < regbus::kCalPageWords; ++w)
        plat::PowerStage().Poke(regmap::kCalPage.at(p), w, page[w]);
}

}  // namespace

// A read takes the first page that passes its checksum; three failed attempts keep the page in memory.
TEST_F(RegBusTest, CalPageReadTakesOnlyAGoodPage) {
    plat::SetTimeScale(100.0);
    Page old = GoodPage(1);
    Page badSum = GoodPage(5);
    badSum[7] ^= 0x10;
    for (const Page& staged : {Page(256, 0), badSum}) {
        LoadTable(0, old);
        StagePage(0, staged);
        Clear();
        EXPECT_EQ(BusReg_ReadCalPage(0), 1);
        EXPECT_EQ(Transfers().size(), 3u * 255u);
        EXPECT_EQ(Table(0), old);
    }
    SysStatusSet(kSysCalPageRead);
    Page good = GoodPage(11);
    StagePage(0, good);
    Clear();
    EXPECT_EQ(BusReg_ReadCalPage(0), 0);
    EXPECT_EQ(Transfers().size(), 255u);  // one attempt, words 0-254
    good[255] = old[255];                 // word 255 stays as it was in memory
    EXPECT_EQ(Table(0), good);
    EXPECT_FALSE(SysStatusTest(kSysCalPageRead));
}

TEST_F(RegBusTest, CalPageWriteSendsACheckedPage) {
    Page good = GoodPage(42);
    LoadTable(2, good);
    EXPECT_EQ(BusReg_WriteCalPage(1, 2), 0);
    EXPECT_EQ(Stage().Transfers(), 255u);
    for (int w = 0; w < regbus::kCalPageWords; ++w)  // high half 0, word 255 not sent
        ASSERT_EQ(Stage().Stored(regmap::kCalPage.at(2), w), w == 255 ? 0u : good[w]) << w;

    Clear();
    EXPECT_EQ(BusReg_WriteCalPage(0, 2), 0);  // check only
    EXPECT_TRUE(Transfers().empty());

    regbus::CalPage(2)[254] = 0;  // blank checksum: refused, nothing sent
    EXPECT_EQ(BusReg_WriteCalPage(1, 2), 1);
    LoadTable(2, Page(256, 0));
    EXPECT_EQ(BusReg_WriteCalPage(1, 2), 1);
    EXPECT_TRUE(Transfers().empty());
}

TEST_F(RegBusTest, CalPagesRestWhilePhaseFaultedOrOutsideThePhases) {
    Page good = GoodPage(9);
    Page old = GoodPage(2);
    StagePage(0, good);
    LoadTable(0, old);
    g_PhaseFault = 1;
    EXPECT_EQ(BusReg_ReadCalWord(0, 3), 0);
    EXPECT_EQ(BusReg_ReadCalPage(0), 1);
    EXPECT_EQ(Table(0), old);
    EXPECT_EQ(BusReg_WriteCalPage(1, 0), 0);  // the page is sound; the stage just is not written
    g_PhaseFault = 0;
    for (int page : {-1, 3, 90}) {  // pages outside the phases are refused
        EXPECT_EQ(BusReg_ReadCalPage(page), 1);
        EXPECT_EQ(BusReg_WriteCalPage(1, page), 1);
        EXPECT_EQ(BusReg_ReadCalWord(page, 0), 0);
        EXPECT_EQ(regbus::CalPage(page), nullptr);
    }
    EXPECT_EQ(BusReg_ReadCalWord(0, 256), 0);
    EXPECT_EQ(Stage().ByteAccesses(), 0u);
    EXPECT_EQ(BusReg_ReadCalWord(0, 3), good[3]);
}

// The stage's side: save (4) stores the pages it holds, recall (2) brings them back, default (1) uses its
// own data; a save of a page failing its check reports failed and stores nothing.
TEST_F(RegBusTest, StageCarriesOutTheCalibrationDataCommands) {
    plat::SetTimeScale(100.0);
    constexpr uint32_t kDone = 1u << 3, kFailed = 2u << 3;
    for (int p = 0; p < regbus::kCalPageCount; ++p)
        EXPECT_EQ(BusReg_ReadCalPage(p), 0) << "phase " << p << " not sound at power-on";
    const Page neutral = Table(0);

    auto sendAll = [](uint16_t seed) {
        for (int p = 0; p < regbus::kCalPageCount; ++p) {
            LoadTable(p, GoodPage(static_cast<uint16_t>(seed + p)));
            ASSERT_EQ(BusReg_WriteCalPage(1, p), 0);
        }
    };
    // What the stage holds in use after each step, read back through the page read.
    auto inUse = [](int p) {
        LoadTable(p, Page(regbus::kCalPageWords, 0));
        EXPECT_EQ(BusReg_ReadCalPage(p), 0) << "phase " << p;
        Page page = Table(p);
        page[255] = 0;
        return page;
    };
    auto page = [](uint16_t seed) {
        Page g = GoodPage(seed);
        g[255] = 0;
        return g;
    };
    Page neutralInUse = neutral;
    neutralInUse[255] = 0;

    const struct {
        const char* what;
        uint16_t sendSeed;  // pages sent before the command, 0 none
        int breakPhase;     // a phase whose page is corrupted on the stage first, -1 none
        int32_t command;
        uint32_t status;
        uint16_t inUseSeed;  // 0: the stage's own data
    } steps[] = {
        {"save", 10, -1, 4, kDone, 10},
        {"recall after new pages", 40, -1, 2, kDone, 10},
        {"default", 0, -1, 1, kDone, 0},
        {"recall keeps the saved data over a default", 0, -1, 2, kDone, 10},
        {"save of a broken page", 70, 2, 4, kFailed, 70},
        {"recall after the refused save", 0, -1, 2, kDone, 10},
        {"next point", 0, -1, 16, 0, 10},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.sendSeed != 0) sendAll(s.sendSeed);
        if (s.breakPhase >= 0) {
            const uint32_t reg = regmap::kCalPage.at(static_cast<uint32_t>(s.breakPhase));
            Stage().Poke(reg, 9, Stage().Stored(reg, 9) ^ 0x100);
        }
        BusReg_SetCaliCmd(s.command);
        EXPECT_EQ(BusReg_GetCaliStatus(), s.status);
        for (int p = 0; p < regbus::kCalPageCount; ++p) {
            if (p == s.breakPhase) continue;
            EXPECT_EQ(inUse(p),
                      s.inUseSeed == 0 ? neutralInUse : page(static_cast<uint16_t>(s.inUseSeed + p)))
                << "phase " << p;
        }
    }
}
