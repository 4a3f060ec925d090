#pragma once
// A fresh instrument root with the unit's identity set (and a mounted stick: StickTest), and the command
// log read back as its entries without their time stamps ("simulated 0 ifconfig eth0 down").
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_root.h"

class SandboxLogTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Model and serial number of the identity block.
    static void SetIdentity(const char* model, const char* serial);
    // The message queue's free text (a popup's).
    static std::string QueueText();
    std::vector<std::string> Log() const;
    // The entries from the one at `from` on that contain text, in order.
    std::vector<std::string> Matching(const std::string& text, size_t from = 0) const;
    testsupport::TempRoot root;
};

// The same with a mounted USB stick, taken out at the end.
class StickTest : public SandboxLogTest {
  protected:
    void SetUp() override;
    void TearDown() override;
};
