// Whole-file reads and writes: the areas, the bound on reads, and that a write never loses the old file.
#include "storage/raw_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "core/system/links/usb_state.h"
#include "platform/host/root.h"
#include "tests/support/temp_root.h"

namespace {

TEST(RawFile, AreasAndResults) {
    testsupport::TempRoot root;
    // USB memory is touched only while it is mounted.
    g_UsbState.statusB.store(0);
    root.Write("/mnt/sd1/d/f", "left from before");
    char none[32] = {};
    EXPECT_EQ(FileReadRaw(0, "d", "f", none, sizeof none), -100);
    EXPECT_EQ(FileWriteRaw(0, "d", "f", "xyz", 3), -300);
    EXPECT_EQ(root.Read("/mnt/sd1/d/f"), "left from before");
    g_UsbState.statusB.store(core::kUsbMounted);
    const struct {
        uint32_t area;
        const char* readFrom;
        const char* writeTo;
    } areas[] = {{0, "sd1", "sd1"}, {1, "tst", "tst"}, {2, "disk", "sd1"}, {7, "disk", "sd1"}};
    for (const auto& a : areas) {
        const std::string text = std::string("area ") + a.readFrom;
        root.Write(std::string("/mnt/") + a.readFrom + "/d/f", text);
        char buf[32] = {};
        EXPECT_EQ(FileReadRaw(a.area, "d", "f", buf, sizeof buf), static_cast<int32_t>(text.size()))
            << a.area;
        EXPECT_EQ(std::string(buf), text);
        // A write creates the missing directory.
        const std::string dir = "new" + std::to_string(a.area);
        EXPECT_EQ(FileWriteRaw(a.area, dir.c_str(), "g", "xyz", 3), 3);
        EXPECT_EQ(root.Read(std::string("/mnt/") + a.writeTo + "/" + dir + "/g"), "xyz");
    }
    char buf[4] = {'#', '#', '#', '#'};
    root.Write("/mnt/tst/d/empty", "");
    root.Write("/mnt/tst/d/five", "12345");
    EXPECT_EQ(FileReadRaw(1, "d", "empty", buf, sizeof buf), -100);
    EXPECT_EQ(FileReadRaw(1, "d", "missing", buf, sizeof buf), -100);
    EXPECT_EQ(FileReadRaw(1, "d", "five", buf, sizeof buf), -102);  // larger than the buffer
    EXPECT_EQ(std::string(buf, 4), "####");
    root.Write("/mnt/tst/plainfile", "x");
    EXPECT_EQ(FileWriteRaw(1, "plainfile", "g", "x", 1), -300);
}

// Writes of a batch take their names only at its commit, each whole, and leave no temporary; one that
// cannot take its name is counted and keeps the old file; writes of other threads are not held back.
TEST(RawFile, BatchPutsItsFilesInPlaceAtCommit) {
    testsupport::TempRoot root;
    namespace fs = std::filesystem;
    const fs::path dir = plat::MapPath("/mnt/tst/d");
    root.Write("/mnt/tst/d/a", "old a");
    root.Write("/mnt/tst/d/c/x", "c is a folder");
    {
        storage::RawWriteBatch batch;
        EXPECT_EQ(FileWriteRaw(1, "d", "a", "new a", 5), 5);
        EXPECT_EQ(FileWriteRaw(1, "e", "b", "new b", 5), 5);
        EXPECT_EQ(FileWriteRaw(1, "d", "c", "new c", 5), 5);
        std::thread([] { EXPECT_EQ(FileWriteRaw(1, "d", "other", "now", 3), 3); }).join();
        EXPECT_EQ(root.Read("/mnt/tst/d/other"), "now");
        EXPECT_EQ(root.Read("/mnt/tst/d/a"), "old a");
        EXPECT_FALSE(fs::exists(plat::MapPath("/mnt/tst/e/b")));
        EXPECT_EQ(batch.Commit(), 1);
        EXPECT_EQ(root.Read("/mnt/tst/d/a"), "new a");
        EXPECT_EQ(root.Read("/mnt/tst/e/b"), "new b");
        EXPECT_EQ(root.Read("/mnt/tst/d/c/x"), "c is a folder");
        EXPECT_EQ(batch.Commit(), 0);
        EXPECT_EQ(FileWriteRaw(1, "d", "late", "late", 4), 4);
    }
    // The batch's end commits what it still holds; writes after it go straight to their names.
    EXPECT_EQ(root.Read("/mnt/tst/d/late"), "late");
    EXPECT_EQ(FileWriteRaw(1, "d", "after", "after", 5), 5);
    EXPECT_EQ(root.Read("/mnt/tst/d/after"), "after");
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"a", "after", "c", "late", "other"}));
}

// Runs FileWriteRaw of `size` bytes of `fill` in a child process, after `prepare`.
template <typename Prepare>
pid_t WriteInChild(size_t size, char fill, Prepare prepare) {
    const pid_t pid = fork();
    if (pid == 0) {
        prepare();
        const std::string data(size, fill);
        _exit(FileWriteRaw(1, "d", "f", data.data(), data.size()) == static_cast<int32_t>(size) ? 0 : 3);
    }
    return pid;
}

TEST(RawFile, FailedWriteKeepsTheOldFile) {
    testsupport::TempRoot root;
    root.Write("/mnt/tst/d/f", "old content");
    // The file system refuses bytes beyond 4096 for this child.
    const pid_t pid = WriteInChild(100000, 'n', [] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(root.Read("/mnt/tst/d/f"), "old content");
}

TEST(RawFile, KilledWriteLeavesOldOrNewFileWhole) {
    testsupport::TempRoot root;
    const size_t oldSize = 1 << 20, newSize = 24 << 20;
    const std::string oldData(oldSize, 'o'), newData(newSize, 'n');
    root.Write("/mnt/tst/d/f", oldData);
    for (int delayMs : {0, 5, 20, 60, 150}) {
        const std::string before = root.Read("/mnt/tst/d/f");
        const pid_t pid = WriteInChild(newSize, 'n', [] {});
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        const std::string after = root.Read("/mnt/tst/d/f");
        EXPECT_TRUE(after == before || after == newData) << delayMs << " ms: " << after.size() << " bytes";
    }
    // What killed writers left beside the target goes with the next write of it; a temporary of this
    // process (a writer still running) and those of other targets stay.
    const std::string live = "f.~" + std::to_string(getpid()) + ".live00";
    for (const std::string& name : {live, std::string("g.~1.abcdef"), std::string("f.~1.abcdef")})
        root.Write("/mnt/tst/d/" + name, "x");
    ASSERT_EQ(FileWriteRaw(1, "d", "f", "new", 3), 3);
    std::set<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(root.path() + "/mnt/tst/d"))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"f", "g.~1.abcdef", live}));
}

// A download cut by a power cut leaves its temporary beside the memory's file; the next start clears
// what killed writers left in every folder of the internal store, and keeps the rest.
TEST(RawFile, TheStartClearsWhatKilledWritersLeft) {
    testsupport::TempRoot root;
    const std::string live = "SEQ3.SEQ.~" + std::to_string(getpid()) + ".live00";
    const std::set<std::string> kept = {"SEQ3.SEQ", live, "SEQ3.SEQ.~x.abcdef", "notes.~1"};
    for (const std::string& name : kept)
        root.Write("/mnt/tst/seq/" + name, "x");
    root.Write("/mnt/tst/seq/SEQ3.SEQ.~4242.Ab09zZ", std::string(1224324, 's'));
    root.Write("/mnt/tst/Bar/Barcode.Bar.~1.abcdef", "b");
    root.Write("/mnt/sd1/qx/SEQ3.SEQ.~1.abcdef", "on the stick");
    RawFileClearStaleTemps();
    std::set<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(root.path() + "/mnt/tst/seq"))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, kept);
    EXPECT_TRUE(std::filesystem::is_empty(root.path() + "/mnt/tst/Bar"));
    EXPECT_EQ(root.Read("/mnt/sd1/qx/SEQ3.SEQ.~1.abcdef"), "on the stick");
}

}  // namespace
