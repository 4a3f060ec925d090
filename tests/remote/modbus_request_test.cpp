// The register map's answers to whole frames as the server frames them (7-byte TCP header, then the
// function code): frames it must not take, the enable word, and the key-lock bit changed while the
// menu/control thread changes other bits of the same word.
#include "remote/modbus/modbus_request.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "core/params/param_store.h"
#include "core/system/links/thread_ctl.h"
#include "remote/objects/obj_key_lock.h"

namespace {

constexpr int kHeader = 7;

// The answer's exception code, 0 for a reply, -1 for no answer.
int Decide(std::vector<uint8_t> pdu) {
    std::vector<uint8_t> adu = {0x00, 0x01, 0x00, 0x00, 0x00, static_cast<uint8_t>(pdu.size() + 1), 0x01};
    adu.insert(adu.end(), pdu.begin(), pdu.end());
    uint8_t answer[remote::kMaxAdu];
    if (remote::ModbusAnswer(adu.data(), static_cast<int>(adu.size()), answer) < 0) return -1;
    return (answer[kHeader] & 0x80) != 0 ? answer[kHeader + 1] : 0;
}

class ModbusRequest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_ThreadCtl.running[kRunModbus].store(1);
        g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
    }
    void TearDown() override {
        g_ThreadCtl.running[kRunModbus].store(0);
        g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
    }
};

TEST_F(ModbusRequest, BadFramesAndADisabledServerChangeNothing) {
    // Function 16 whose byte count disagrees with its register count: exception 03.
    EXPECT_EQ(Decide({0x10, 0x00, 0x00, 0x00, 0x01, 0x04, 0x00, 0x01, 0x00, 0x01}), 3);
    // Register counts 0 and 126 of a read: exception 03, before the address is looked at.
    EXPECT_EQ(Decide({0x03, 0x00, 0x05, 0x00, 0x00}), 3);
    EXPECT_EQ(Decide({0x03, 0x00, 0x00, 0x00, 0x7E}), 3);
    // An address past the map, also by wrapping round 65535.
    EXPECT_EQ(Decide({0x03, 0xFF, 0xFF, 0x00, 0x02}), 2);
    EXPECT_EQ(Decide({0x06, 0xFF, 0xFF, 0x00, 0x01}), 2);
    // Frames too short for their function get no answer.
    EXPECT_EQ(Decide({0x06, 0x00, 0x00, 0x00}), -1);
    EXPECT_EQ(Decide({0x10, 0x00, 0x00, 0x00, 0x01, 0x02, 0x00}), -1);
    EXPECT_EQ(Decide({0x01, 0x00, 0x00, 0x00, 0x01, 0x00}), -1);
    EXPECT_EQ(Decide({0x0F, 0x00, 0x00, 0x00, 0x08, 0x01}), -1);
    EXPECT_EQ(Decide({}), -1);
    EXPECT_EQ(g_ParamFlags.load() & core::kFlagKeysLocked, 0u);
    g_ThreadCtl.running[kRunModbus].store(0);
    EXPECT_EQ(Decide({0x06, 0x00, 0x00, 0x00, 0x01}), 6);
    EXPECT_EQ(Decide({0x03, 0x00, 0x00, 0x00, 0x01}), 6);
    EXPECT_EQ(g_ParamFlags.load() & core::kFlagKeysLocked, 0u);
}

// A read may ask for up to 125 registers (function 03 and 04): 125 passes the count check and meets the
// address check (the map is shorter), 126 is refused as an illegal value.
TEST_F(ModbusRequest, ReadsTakeUpTo125Registers) {
    for (const uint8_t function : {uint8_t{0x03}, uint8_t{0x04}}) {
        EXPECT_EQ(Decide({function, 0x00, 0x00, 0x00, 125}), 2) << int{function};
        EXPECT_EQ(Decide({function, 0x00, 0x00, 0x00, 126}), 3) << int{function};
    }
}

// The key lock changes its own bit only: another thread that flips the meter-hold bit of the same word
// meanwhile never loses a flip.
TEST_F(ModbusRequest, KeyLockChangesOnlyItsBit) {
    constexpr int kFlips = 200000;  // even: the meter-hold bit ends where it started
    const uint32_t hold = g_ParamFlags.load() & core::kFlagMeterHold;
    std::atomic<bool> go{false};
    std::thread menu([&go] {
        while (!go.load()) {
        }
        for (int i = 0; i < kFlips; ++i)
            g_ParamFlags.fetch_xor(core::kFlagMeterHold);
    });
    go.store(true);
    for (int i = 0; i < kFlips; ++i) {
        ObjRequest req{};
        req.access = kObjWrite;
        uint32_t v = static_cast<uint32_t>(i & 1);
        ObjKeyLockHandler(&req, &v);
    }
    menu.join();
    EXPECT_EQ(g_ParamFlags.load() & core::kFlagMeterHold, hold);
    EXPECT_EQ(g_ParamFlags.load() & core::kFlagKeysLocked, core::kFlagKeysLocked);  // last write: 1
}

}  // namespace
