// The USB-GPIB adapter of a running controller whose disk holds the adapter's driver module, through the
// client side of its stand-in (listed in <root>/var/run/ports): the module loaded and the address given once,
// and a query answered end to end; what the simulated driver was asked shows in <root>/var/log/devices.log.
// (The bus's trigger, status pair and device clear: tests/scpi's GpibChannel.)
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "tests/system/controller_fixture.h"
#include "tests/system/pty_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

class UsbGpib : public testsupport::SharedController {
  protected:
    // The USB-GPIB adapter is served only while its driver module is on the disk.
    static void SetUpTestSuite() {
        Start({{"/mnt/disk/qx_gpib.ko", "stand-in module\n"}});
        ASSERT_TRUE(c().WaitForOutput("GuiThread: system ready", testsupport::kStartupTimeoutMs)) << c().Output();
        identity_ = testsupport::AskOnce(c(), {"*IDN?"});
        if (!identity_.empty()) identity_.pop_back();
        gpib_ = std::make_unique<testsupport::PtyClient>(testsupport::PtyClientPath(c().root(), "qx_gpib"));
    }
    static void TearDownTestSuite() {
        gpib_.reset();
        SharedController::TearDownTestSuite();
    }
    void SetUp() override {
        SharedController::SetUp();
        ASSERT_FALSE(identity_.empty());
        ASSERT_TRUE(gpib_->Open());
    }
    static std::string Read(const std::string& path) { return testsupport::FileText(c().root() + path); }
    static size_t Count(const std::string& path, const std::string& text) {
        return testsupport::CountOf(Read(path), text);
    }
    // Waits at most ms for the file to hold text `count` times.
    static bool WaitForCount(const std::string& path, const std::string& text, size_t count, int ms = 5000) {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (Count(path, text) < count) {
            if (Clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    static inline std::unique_ptr<testsupport::PtyClient> gpib_;
    static inline std::string identity_;
};

TEST_F(UsbGpib, TheModuleIsLoadedOnceAndTheAddressGivenOnce) {
    EXPECT_TRUE(WaitForCount("/var/log/devices.log", "qx_gpib 0x40040D09 10\n", 1))
        << Read("/var/log/devices.log");
    EXPECT_EQ(Count("/var/log/commands.log", "insmod /mnt/disk/qx_gpib.ko"), 1u)
        << Read("/var/log/commands.log");
    EXPECT_EQ(Count("/var/log/devices.log", "qx_gpib 0x40040D09"), 1u) << Read("/var/log/devices.log");
}

TEST_F(UsbGpib, AQueryIsAnsweredAndItsLengthAnnounced) {
    EXPECT_EQ(gpib_->AskUntilAnswered("*IDN?"), identity_);
    EXPECT_EQ(
        Count("/var/log/devices.log", "qx_gpib 0x40040D0F " + std::to_string(identity_.size() + 1) + "\n"),
        Count("/var/log/devices.log", "qx_gpib 0x40040D0F "))
        << Read("/var/log/devices.log");
    EXPECT_GE(Count("/var/log/devices.log", "qx_gpib 0x40040D0F "), 1u);
}

}  // namespace
