// The memory transfers on a channel with the real execution loop: block headers, checked memory numbers,
// memories that are missing or damaged, and memory 9 lent to the PRESent forms, put back on every path.
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <utility>

#include "core/params/access/param_access.h"
#include "core/params/presets/preset_store.h"
#include "core/params/waves/arb_mem.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_queue.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "engine/seqsim/seqsim_mode.h"
#include "scpi/handlers/data/data_block.h"
#include "scpi/handlers/data/data_slot9.h"
#include "storage/files/arb_file.h"
#include "storage/files/preset_file.h"
#include "tests/engine/seqsim_fixture.h"
#include "tests/scpi/scpi_channel_fixture.h"
#include "tests/support/temp_root.h"

namespace {

// The store refuses to put a newly written SEQ9 in place while this is set, as a full or failing flash
// would.
std::atomic<bool> g_failSeq9Write{false};

}  // namespace

extern "C" int rename(const char* from, const char* to) {
    if (g_failSeq9Write.load() && std::string_view(to).ends_with("/SEQ9.SEQ") &&
        std::string_view(from).find("/SEQ9.SEQ.~") != std::string_view::npos) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(syscall(SYS_renameat, AT_FDCWD, from, AT_FDCWD, to));
}

namespace {

using scpitest::FakeChannel, scpitest::kRange, scpitest::kExecution;

const std::string kBlock = "-160,\"Block data error\"";
const std::string kOutOfMemory = "-291,\"Out of memory\"";

class DataTransfer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SharedBufInit(), 0);
        // Memory files carry the model they were made on and are read only on a model that takes them.
        IdentityTextWrite(g_ModelName, sizeof g_ModelName, "VRN-4145", 8);
        g_ModelId.store(1);
    }
    void TearDown() override {
        g_failSeq9Write.store(false);
        core::SharedBufFree();
    }
    std::string File(const char* path) const { return root.Read(path); }

    testsupport::TempRoot root;
    scpitest::MenuEnv env;
    FakeChannel lan{kChanLan};
};

TEST(BlockHeader, LengthAndTextByCount) {
    const std::tuple<uint32_t, const char*> cases[] = {
        {0, "#10"}, {5, "#15"}, {8260, "#48260"}, {1224324, "#71224324"}, {999999999, "#9999999999"},
    };
    for (const auto& [count, text] : cases) {
        uint8_t out[16] = {};
        EXPECT_EQ(BlockHeaderLength(count), static_cast<int>(std::strlen(text))) << count;
        ASSERT_EQ(BlockHeaderWrite(out, count), static_cast<int>(std::strlen(text))) << count;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), text);
    }
    // Ten digits do not fit the one digit that counts them.
    EXPECT_EQ(BlockHeaderLength(1000000000), -1);
    uint8_t out[16];
    EXPECT_EQ(BlockHeaderWrite(out, 1000000000), -1);
}

// {program message, start of the reply, errors}: a refused command leaves the shared buffer free, which the
// ARB query after each row proves.
TEST_F(DataTransfer, MemoryNumbersBlocksAndTheWebChannelAreCheckedFirst) {
    const std::string damaged(kSeqFileSize, '\x55');
    root.Write("/mnt/tst/seq/SEQ4.SEQ", damaged);
    g_SeqStepTable[0][0][5].dcv = 1234;
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"DATA:SEQ? -1\n", "", kRange},
        {"DATA:SEQ? 10\n", "", kRange},
        {"DATA:SIM? SIM9\n", "#41972", ""},
        {"DATA:SIM? 12\n", "", kRange},
        {"DATA:ARB:FILE? 0\n", "", kRange},
        {"DATA:ARB:FILE? 254\n", "", kRange},
        {"DATA:PRES:FILE? 10\n", "", kRange},
        {"DATA:SEQ? SEQ4\n", "", kExecution},
        {"DATA:WAVE 1,#13abc\n", "", kBlock},
        {"DATA:WAVE 1,#0abc\n", "", kBlock},
        {"DATA:WAVE 254,#13abc\n", "", kRange},
        {"DATA:PRES:FILE 3,#15hello\n", "", kExecution},
        {"DATA:SEQ 3,#15hello\n", "", kExecution},
        {"DATA:PRES? 1\n", "\n", ""},
    };
    for (const auto& [in, reply, errors] : cases) {
        EXPECT_EQ(lan.Exec(in).substr(0, reply.size()), reply) << in;
        EXPECT_EQ(lan.PopErrors(), errors) << in;
        EXPECT_EQ(lan.Exec("DATA:ARB:FILE? 1\n").substr(0, 6), "#48260") << in;
        EXPECT_EQ(lan.PopErrors(), "") << in;
    }
    // A query reads the memory where it lies: the working sequence is what it was.
    EXPECT_EQ(g_SeqStepTable[0][0][5].dcv, 1234);
    EXPECT_EQ(File("/mnt/tst/seq/SEQ4.SEQ"), damaged);
    EXPECT_EQ(File("/mnt/tst/sim/SIM9.SIM"), "") << "a memory never stored is sent, not stored";
    FakeChannel web{kChanWeb};
    EXPECT_EQ(web.Run("DATA:SEQ? 0"), "|-292,\"Referenced name does not exist\"");
    EXPECT_EQ(web.Exec("DATA:ARB:FILE? 1\n").substr(0, 6), "#48260");
    EXPECT_EQ(web.PopErrors(), "");
}

TEST_F(DataTransfer, PresentQueryPutsMemory9BackAndOneBorrowsItAtATime) {
    const std::string stored = "SEQ9 as stored";
    root.Write("/mnt/tst/seq/SEQ9.SEQ", stored);
    g_failSeq9Write.store(true);
    EXPECT_EQ(lan.Run("DATA:SEQ:PRES?"), "|-320,\"Storage fault\"");
    g_failSeq9Write.store(false);
    EXPECT_EQ(File("/mnt/tst/seq/SEQ9.SEQ"), stored);
    EXPECT_EQ(File("/mnt/tst/seq/SEQ9_tmp.SEQ"), "");
    // Both the buffer and memory 9 are free again: the next borrower gets as far as the import.
    EXPECT_EQ(lan.Run("DATA:SEQ:PRES #15hello"), "|" + kExecution);
    EXPECT_EQ(File("/mnt/tst/seq/SEQ9.SEQ"), stored);
    EXPECT_EQ(File("/mnt/tst/seq/SEQ9_tmp.SEQ"), "");
    ASSERT_TRUE(scpi::Slot9Borrow(scpi::Slot9Kind::kSim));
    EXPECT_EQ(lan.Run("DATA:SIM:PRES?"), "|" + kOutOfMemory);
    EXPECT_EQ(lan.Run("DATA:SIM:PRES #15hello"), "|" + kOutOfMemory);
    scpi::Slot9Return(scpi::Slot9Kind::kSim);
    EXPECT_EQ(lan.Exec("DATA:ARB:FILE? 1\n").substr(0, 6), "#48260");
}

// A power cut while memory 9 was lent leaves the present data in it and what the user stored in the copy:
// the start, or the next borrow, puts a sound copy back; a damaged copy is not taken.
TEST_F(DataTransfer, ACopyOfMemory9LeftByAPowerCutIsPutBack) {
    std::string seqImage(kSeqFileSize, '\0'), simImage(kSimFileSize, '\0');
    ASSERT_EQ(SeqBuildClearedImage(6, reinterpret_cast<uint8_t*>(seqImage.data())), 0);
    ASSERT_EQ(SimBuildClearedImage(4, reinterpret_cast<uint8_t*>(simImage.data())), 0);
    std::string damaged = seqImage;
    damaged[5000] ^= 1;
    auto leave = [&](const std::string& seqCopy, const std::string& simCopy) {
        root.Write("/mnt/tst/seq/SEQ9.SEQ", "present");
        root.Write("/mnt/tst/seq/SEQ9_tmp.SEQ", seqCopy);
        root.Write("/mnt/tst/sim/SIM9.SIM", "present");
        root.Write("/mnt/tst/sim/SIM9_tmp.SIM", simCopy);
    };
    leave(seqImage, simImage);
    scpi::Slot9RecoverAtStart();
    EXPECT_TRUE(File("/mnt/tst/seq/SEQ9.SEQ") == seqImage);
    EXPECT_TRUE(File("/mnt/tst/sim/SIM9.SIM") == simImage);
    EXPECT_EQ(File("/mnt/tst/seq/SEQ9_tmp.SEQ"), "");
    EXPECT_EQ(File("/mnt/tst/sim/SIM9_tmp.SIM"), "");
    leave(damaged, simImage.substr(0, 1000));
    scpi::Slot9RecoverAtStart();
    EXPECT_EQ(File("/mnt/tst/seq/SEQ9.SEQ"), "present");
    EXPECT_EQ(File("/mnt/tst/sim/SIM9.SIM"), "present");
    // The next borrow does not copy over what memory 9 was: it lends, and then holds, the stored memory.
    leave(seqImage, simImage);
    EXPECT_EQ(lan.Exec("DATA:SIM:PRES?\n").substr(0, 6), "#41972");
    EXPECT_TRUE(File("/mnt/tst/sim/SIM9.SIM") == simImage);
    EXPECT_EQ(File("/mnt/tst/sim/SIM9_tmp.SIM"), "");
}

// A stored program goes back to the unit whatever the output is set to now: in ACDC-INT at 100 V, and
// after the AC-INT and DC-INT settings that follow, the image of a program with a 100 V AC step and a
// 50 V DC step is taken by number and as the present sequence, and its recall from the store is no
// "limited" load. An image with a step beyond the program's own limits is still refused.
TEST_F(DataTransfer, AStoredProgramIsTakenBackWhateverTheOutputIsSetTo) {
    test::SeqSimEnv seqsim;
    for (int t = 0; t < kSeqTables; ++t) {
        for (int p = 0; p < 3; ++p) {
            g_SeqStepTable[t][p][1].acv = 10000;
            g_SeqStepTable[t][p][2].dcv = 5000;
        }
    }
    ASSERT_GT(SeqMem_Save(1), 0);
    const std::string image = File("/mnt/tst/seq/SEQ1.SEQ");
    ASSERT_EQ(image.size(), kSeqFileSize);
    const std::string block = "#7" + std::to_string(kSeqFileSize) + image;
    // The mode is the store's own: a mode change through the channel waits for a control task this test
    // does not run.
    const std::pair<uint32_t, const char*> settings[] = {
        {0, "VOLT 100"}, {0, "VOLT:OFFS 50"}, {1, "VOLT 50"}, {2, "VOLT:OFFS 50"}};
    for (const auto& [mode, setting] : settings) {
        SetOutputMode(mode);
        ASSERT_EQ(lan.Run(setting), "|") << setting;
        EXPECT_EQ(lan.Run("DATA:SEQ 4," + block), "|") << setting;
        EXPECT_EQ(lan.Run("DATA:SEQ:PRES " + block), "|") << setting;
        EXPECT_EQ(SeqMem_Recall(0, 1), 1) << setting;
    }
    const std::string stored = File("/mnt/tst/seq/SEQ4.SEQ");
    ASSERT_EQ(stored.size(), kSeqFileSize);
    for (int t = 0; t < kSeqTables; ++t)
        g_SeqStepTable[t][0][3].acv = 90000;  // 900 V
    ASSERT_GT(SeqMem_Save(1), 0);
    EXPECT_EQ(lan.Run("DATA:SEQ 4,#7" + std::to_string(kSeqFileSize) + File("/mnt/tst/seq/SEQ1.SEQ")),
              "|" + kExecution);
    EXPECT_TRUE(File("/mnt/tst/seq/SEQ4.SEQ") == stored);
}

// A remote query builds and sends an image on its channel thread while the panel builds another wave's
// or preset's image in the same buffer on the menu thread: every block sent is the queried memory's whole
// image, never another's or a torn one.
TEST_F(DataTransfer, ArbAndPresetQueriesDoNotShareTheImageWithThePanel) {
    for (int k = 0; k < kArbSamples; ++k) {
        g_ArbMem[storage::ArbSlotOf(4)][k] = static_cast<int16_t>(k * 7 - 9000);
        g_ArbMem[storage::ArbSlotOf(9)][k] = static_cast<int16_t>(12000 - k * 5);
    }
    PresetRecord(3, 0)[kPresetWaveform] = 17;
    PresetRecord(7, 0)[kPresetWaveform] = 200;
    ASSERT_EQ(ArbBuildFile(4), 0);
    const std::string arb5(reinterpret_cast<const char*>(g_ArbFileImg), kArbFileBytes);
    PresetBuildFile(3);
    const std::string preset3(reinterpret_cast<const char*>(g_PresetFileImg), kPresetFileSize);

    std::atomic<bool> done{false};
    std::thread panel([&] {
        // Bounded: the queries below end it long before.
        for (int i = 0; i < 200000 && !done.load(std::memory_order_acquire); ++i) {
            ArbBuildFile(9);
            PresetBuildFile(7);
        }
    });
    for (int i = 0; i < 40; ++i) {
        // The channel fixture hands back at most the first 8192 bytes of a reply: header and samples.
        const std::string block = "#48260" + arb5, preset = "#42516" + preset3;
        EXPECT_EQ(lan.Exec("DATA:ARB:FILE? 5\n").substr(0, 8192), block.substr(0, 8192)) << i;
        EXPECT_EQ(lan.Exec("DATA:PRES:FILE? 3\n").substr(0, preset.size()), preset) << i;
    }
    done.store(true, std::memory_order_release);
    panel.join();
    EXPECT_EQ(lan.PopErrors(), "");
}

// Sent from memory 9 and put back once the block is gone (a memory never stored absent again, a stored
// memory as it was), while the menu thread keeps the saved configuration, which the query captures on its
// channel thread, in step with the settings.
TEST_F(DataTransfer, PresentSimulationIsSentThroughMemory9BesideTheMenuThread) {
    std::atomic<bool> done{false};
    std::thread menu([&] {
        for (int i = 0; i < 200000 && !done.load(std::memory_order_acquire); ++i)
            SeqSimSyncSavedConfig();
    });
    for (int i = 0; i < 20; ++i) {
        const std::string stored = i < 10 ? "" : "SIM9 as stored";
        if (i == 10) root.Write("/mnt/tst/sim/SIM9.SIM", stored);
        const std::string sent = lan.Exec("DATA:SIM:PRES?\n");
        EXPECT_EQ(sent.substr(0, 6), "#41972") << i;
        EXPECT_EQ(sent.back(), '\n') << i;
        EXPECT_EQ(File("/mnt/tst/sim/SIM9.SIM"), stored) << i;
        EXPECT_EQ(File("/mnt/tst/sim/SIM9_tmp.SIM"), "") << i;
    }
    done.store(true, std::memory_order_release);
    menu.join();
    EXPECT_EQ(lan.PopErrors(), "");
}

}  // namespace
