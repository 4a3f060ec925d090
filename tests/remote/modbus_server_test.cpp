// The Modbus TCP server of this process through libmodbus clients on loopback: holding register 0 is the
// keys-locked bit, the register map's exceptions, the type-12 hand-shake, several clients, a client cut
// short, the enable word and a port that cannot be bound.
#include <sys/msg.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "core/params/param_store.h"
#include "core/system/links/thread_ctl.h"
#include "core/system/messaging/msg_queue.h"
#include "tests/remote/modbus_fixture.h"
#include "tests/support/tcp_client.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testsupport::ModbusServerTest;

bool KeysLocked() {
    return (g_ParamFlags.load() & core::kFlagKeysLocked) != 0;
}

TEST_F(ModbusServerTest, HoldingRegisterZeroIsTheKeyLock) {
    StartServer();
    modbus_t* c = Connect();
    ASSERT_NE(c, nullptr);
    uint16_t reg = 9;
    ASSERT_EQ(modbus_read_registers(c, 0, 1, &reg), 1) << modbus_strerror(errno);
    EXPECT_EQ(reg, 0);
    ASSERT_EQ(modbus_write_register(c, 0, 1), 1) << modbus_strerror(errno);
    EXPECT_TRUE(KeysLocked());
    ASSERT_EQ(modbus_read_registers(c, 0, 1, &reg), 1);
    EXPECT_EQ(reg, 1);

    // A refused value: exception 03, nothing changed.
    EXPECT_EQ(modbus_write_register(c, 0, 2), -1);
    EXPECT_EQ(errno, EMBXILVAL);
    EXPECT_TRUE(KeysLocked());
    // Function 16 writes it too.
    const uint16_t zero = 0;
    ASSERT_EQ(modbus_write_registers(c, 0, 1, &zero), 1) << modbus_strerror(errno);
    EXPECT_FALSE(KeysLocked());

    // Every other address and every coil or input: exception 02.
    EXPECT_EQ(modbus_read_registers(c, 1, 1, &reg), -1);
    EXPECT_EQ(errno, EMBXILADD);
    EXPECT_EQ(modbus_read_registers(c, 0, 2, &reg), -1);
    EXPECT_EQ(errno, EMBXILADD);
    EXPECT_EQ(modbus_write_register(c, 1, 1), -1);
    EXPECT_EQ(errno, EMBXILADD);
    uint8_t bit = 0;
    EXPECT_EQ(modbus_read_bits(c, 0, 1, &bit), -1);
    EXPECT_EQ(errno, EMBXILADD);
    EXPECT_EQ(modbus_read_input_registers(c, 0, 1, &reg), -1);
    EXPECT_EQ(errno, EMBXILADD);
    // A mask write would change the register past its object: refused as a function.
    EXPECT_EQ(modbus_mask_write_register(c, 0, 0xFFFF, 1), -1);
    EXPECT_EQ(errno, EMBXILFUN);
    EXPECT_FALSE(KeysLocked());

    // Any unit id is served.
    modbus_set_slave(c, 17);
    EXPECT_EQ(modbus_read_registers(c, 0, 1, &reg), 1) << modbus_strerror(errno);

    // The writes' type-12 hand-shakes took their messages back.
    SysMsg left{};
    EXPECT_EQ(msgrcv(g_MsgQueueId.load(), &left, kSysMsgPayload, kMsgModbusHolding, IPC_NOWAIT), -1);
    EXPECT_EQ(errno, ENOMSG);
    Close(c);
}

// A client that sends its request a byte at a time holds up nobody: another client is answered while
// the slow one is still sending, and the slow one is answered once its request is whole. A client whose
// request stops half-way is closed alone.
TEST_F(ModbusServerTest, ASlowClientHoldsUpNoOtherAndACutOneIsClosedAlone) {
    StartServer();
    modbus_t* fast = Connect();
    ASSERT_NE(fast, nullptr);
    testsupport::TcpClient cut(ServerPort(), 0);
    ASSERT_TRUE(cut.Send(std::string("\0\1\0", 3)));  // three bytes of a request header
    // Function 16 writing 0 to registers 0 .. 39 (93 bytes): outside the map, exception 02.
    std::string request("\x00\x07\x00\x00\x00\x57\x01\x10\x00\x00\x00\x28\x50", 13);
    request.append(80, '\0');
    testsupport::TcpClient slow(ServerPort(), 0);
    ASSERT_TRUE(slow.Send(request.substr(0, 3)));
    std::atomic<size_t> sent{3};
    std::thread dribble([&] {
        for (; sent.load() < request.size(); sent.fetch_add(1)) {
            std::this_thread::sleep_for(25ms);  // well within the server's 100 ms between bytes
            slow.Send(request.substr(sent.load(), 1));
        }
    });
    std::this_thread::sleep_for(200ms);  // the server has the slow request's first bytes
    uint16_t reg = 9;
    EXPECT_EQ(modbus_read_registers(fast, 0, 1, &reg), 1) << modbus_strerror(errno);
    EXPECT_LT(sent.load(), request.size()) << "answered only after the slow request was whole";
    dribble.join();
    EXPECT_EQ(slow.ReadBytes(9, 2000), std::string("\x00\x07\x00\x00\x00\x03\x01\x90\x02", 9));
    EXPECT_TRUE(cut.WaitClosed(2000)) << "the cut request's client is closed";
    EXPECT_EQ(modbus_read_registers(fast, 0, 1, &reg), 1) << modbus_strerror(errno);
    Close(fast);
}

// The request's header is checked before its length is used: a protocol id other than 0, a length
// outside 2..254, or a length its function does not have closes the client; two requests sent in one
// piece are both answered.
TEST_F(ModbusServerTest, HeaderIsCheckedAndEachRequestTakesItsOwnLength) {
    StartServer();
    const std::string bad[] = {
        std::string("\x00\x01\x00\x05\x00\x06\x01\x03\x00\x00\x00\x01", 12),      // protocol id 5
        std::string("\x00\x01\x00\x00\x00\x01\x01", 7),                           // length 1
        std::string("\x00\x01\x00\x00\x00\xFF\x01\x03", 8),                       // length 255
        std::string("\x00\x01\x00\x00\x00\x07\x01\x03\x00\x00\x00\x01\x00", 13),  // a byte too many
    };
    for (const std::string& frame : bad) {
        testsupport::TcpClient c(ServerPort(), 0);
        ASSERT_TRUE(c.Send(frame));
        EXPECT_TRUE(c.WaitClosed(2000)) << testing::PrintToString(frame);
    }
    const std::string read("\x00\x01\x00\x00\x00\x06\x01\x03\x00\x00\x00\x01", 12);
    testsupport::TcpClient c(ServerPort(), 0);
    std::string two = read + read;
    two[13] = 0x02;  // the second one's transaction id
    ASSERT_TRUE(c.Send(two));
    EXPECT_EQ(c.ReadBytes(22, 2000), std::string("\x00\x01\x00\x00\x00\x05\x01\x03\x02\x00\x00"
                                                 "\x00\x02\x00\x00\x00\x05\x01\x03\x02\x00\x00",
                                                 22));
}

// Word 7 at 0: the clients and the listener are closed within 200 ms; at 1 the server serves again.
TEST_F(ModbusServerTest, EnableWordClosesAndReopens) {
    StartServer();
    testsupport::TcpClient held(ServerPort(), 0);
    ASSERT_TRUE(held.Connected());
    modbus_t* c = Connect();
    ASSERT_NE(c, nullptr);
    uint16_t reg = 9;
    ASSERT_EQ(modbus_read_registers(c, 0, 1, &reg), 1);
    Close(c);

    const auto dropped = Clock::now();
    g_ThreadCtl.running[kRunModbus].store(0);
    EXPECT_TRUE(held.WaitClosed(2000));
    EXPECT_LT(Clock::now() - dropped, 200ms) << "the held client is closed";
    EXPECT_FALSE(testsupport::TcpClient(ServerPort(), 0).Connected());
    EXPECT_LT(Clock::now() - dropped, 200ms) << "connections are refused";

    g_ThreadCtl.running[kRunModbus].store(1);
    modbus_t* again = ConnectWithin(2000);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(modbus_read_registers(again, 0, 1, &reg), 1);
    Close(again);
}

// A port that cannot be bound is reported once, tried again every second, and served once it is free.
TEST_F(ModbusServerTest, UnbindablePortIsReportedOnceAndRetried) {
    const int blocker = testsupport::Listener(ServerPort());  // with SO_REUSEADDR, as the server's own
    ASSERT_GE(blocker, 0);
    testing::internal::CaptureStderr();
    StartServer();
    std::this_thread::sleep_for(2500ms);  // the first try and two retries
    close(blocker);
    modbus_t* c = ConnectWithin(2000);
    StopServer();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "ModbusThread: cannot listen on port " + std::to_string(ServerPort()) +
                       ": Address already in use\n");
    EXPECT_NE(c, nullptr) << "listening once the port is free";
    Close(c);
}

}  // namespace
