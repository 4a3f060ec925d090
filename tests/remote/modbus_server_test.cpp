// The Modbus TCP server of this process through libmodbus clients and raw sockets on loopback: holding
// register 0 is the keys-locked bit, the register map's exceptions, the type-12 hand-shake, several
// clients, silent clients and a newcomer, a client cut short, the enable word and a port that cannot be
// bound.
#include <sys/msg.h>
#include <sys/resource.h>
#include <sys/select.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

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
    // Function 16 writes it too, both ways.
    for (const uint16_t value : {0, 1, 0}) {
        ASSERT_EQ(modbus_write_registers(c, 0, 1, &value), 1) << value << ": " << modbus_strerror(errno);
        EXPECT_EQ(KeysLocked(), value == 1) << value;
    }

    // Any unit id is served.
    modbus_set_slave(c, 17);
    EXPECT_EQ(modbus_read_registers(c, 0, 1, &reg), 1) << modbus_strerror(errno);

    // The writes' type-12 hand-shakes took their messages back.
    SysMsg left{};
    EXPECT_EQ(msgrcv(g_MsgQueueId.load(), &left, kSysMsgPayload, kMsgModbusHolding, IPC_NOWAIT), -1);
    EXPECT_EQ(errno, ENOMSG);
    Close(c);
}

// A request frame with transaction id tid and unit id 1 around the PDU.
std::string Frame(int tid, const std::string& pdu) {
    const size_t length = pdu.size() + 1;
    return std::string{static_cast<char>(tid >> 8),    static_cast<char>(tid),    0, 0,
                       static_cast<char>(length >> 8), static_cast<char>(length), 1} +
           pdu;
}

const std::string kReadZero("\x03\x00\x00\x00\x01", 5);
const std::string kReadZeroAnswer("\x03\x02\x00\x00", 4);  // keys unlocked

// Each request the register map does not serve gets the protocol's exception from the server itself,
// at once: 01 for a function it does not serve, 03 for a count or value outside what the function
// allows, 02 for coils and inputs, of which it has none. None holds the server: the read sent behind
// each in the same piece is answered too, and a client beside eight that send nothing but an unknown
// function has each read answered within its 2 s.
TEST_F(ModbusServerTest, EveryRequestIsAnsweredAtOnceWithItsException) {
    StartServer();
    struct Case {
        const char* what;
        std::string pdu, answer;
    };
    const std::string coils1969 = std::string("\x0F\x00\x00\x07\xB1\xF7", 6) + std::string(247, '\xFF');
    const Case cases[] = {
        {"unknown 0x41", std::string("\x41\x00", 2), std::string("\xC1\x01", 2)},
        {"code 0x80", "\x80", std::string("\x80\x01", 2)},
        {"code 0xFF", std::string("\xFF\x00\x00\x00\x01", 5), std::string("\xFF\x01", 2)},
        {"coils, count 0", std::string("\x01\x00\x00\x00\x00", 5), std::string("\x81\x03", 2)},
        {"coils, count 2001", std::string("\x01\x00\x00\x07\xD1", 5), std::string("\x81\x03", 2)},
        {"coils, count 2000", std::string("\x01\x00\x00\x07\xD0", 5), std::string("\x81\x02", 2)},
        {"inputs, count 1", std::string("\x02\x00\x00\x00\x01", 5), std::string("\x82\x02", 2)},
        {"input registers, count 126", std::string("\x04\x00\x00\x00\x7E", 5), std::string("\x84\x03", 2)},
        {"input registers, count 1", std::string("\x04\x00\x00\x00\x01", 5), std::string("\x84\x02", 2)},
        {"coil to 0x1234", std::string("\x05\x00\x00\x12\x34", 5), std::string("\x85\x03", 2)},
        {"coil on", std::string("\x05\x00\x00\xFF\x00", 5), std::string("\x85\x02", 2)},
        {"coils written, count 0", std::string("\x0F\x00\x00\x00\x00\x00", 6), std::string("\x8F\x03", 2)},
        {"coils written, count 1969", coils1969, std::string("\x8F\x03", 2)},
        {"coils written, 9 in 1 byte", std::string("\x0F\x00\x00\x00\x09\x01\xFF", 7),
         std::string("\x8F\x03", 2)},
        {"coils written, 9 in 2 bytes", std::string("\x0F\x00\x00\x00\x09\x02\xFF\x01", 8),
         std::string("\x8F\x02", 2)},
        {"holding register 1", std::string("\x03\x00\x01\x00\x01", 5), std::string("\x83\x02", 2)},
        {"holding registers 0 and 1", std::string("\x03\x00\x00\x00\x02", 5), std::string("\x83\x02", 2)},
        {"holding register 1 written", std::string("\x06\x00\x01\x00\x01", 5), std::string("\x86\x02", 2)},
    };
    testsupport::TcpClient c(ServerPort(), 0);
    int tid = 1;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        ASSERT_TRUE(c.Send(Frame(tid, k.pdu) + Frame(tid + 1, kReadZero)));
        const std::string want = Frame(tid, k.answer) + Frame(tid + 1, kReadZeroAnswer);
        EXPECT_EQ(c.ReadBytes(want.size(), 2000), want);
        tid += 2;
    }

    std::atomic<bool> stop{false};
    std::atomic<int> answered{0};
    std::vector<std::thread> loops;
    for (int i = 0; i < 8; ++i)
        loops.emplace_back([&stop, &answered, i] {
            testsupport::TcpClient loop(ServerPort(), 0);
            const std::string ask = Frame(i, std::string("\x41", 1));
            for (bool first = true; !stop.load() && loop.Send(ask) && loop.ReadBytes(9, 5000).size() == 9;
                 first = false)
                if (first) answered.fetch_add(1);
        });
    for (const auto until = Clock::now() + 10s; answered.load() < 8 && Clock::now() < until;)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(answered.load(), 8);
    modbus_t* beside = Connect();
    EXPECT_NE(beside, nullptr);
    if (beside != nullptr) modbus_set_response_timeout(beside, 2, 0);
    uint16_t reg = 9;
    for (int n = 0; beside != nullptr && n < 10; ++n)
        EXPECT_EQ(modbus_read_registers(beside, 0, 1, &reg), 1) << n << ": " << modbus_strerror(errno);
    stop.store(true);
    for (std::thread& t : loops)
        t.join();
    Close(beside);
}

// A burst of 200 clients released together, each connecting and then reading once, far more than the 32
// places: every one is answered. The listener's queue holds them all, the ones beyond the places wait
// their turn there, and a client accepted before its request came is not taken for a silent one.
TEST_F(ModbusServerTest, EveryClientOfABurstIsAnswered) {
    StartServer();
    constexpr int kBurst = 200;
    std::atomic<int> starting{kBurst}, connecting{kBurst}, answered{0};
    // Each waits (bounded) for the others to reach the same point.
    const auto together = [](std::atomic<int>& count) {
        count.fetch_sub(1);
        for (const auto until = Clock::now() + 10s; count.load() > 0 && Clock::now() < until;)
            std::this_thread::sleep_for(1ms);
    };
    std::vector<std::thread> burst;
    for (int i = 0; i < kBurst; ++i)
        burst.emplace_back([&, i] {
            together(starting);
            testsupport::TcpClient c(ServerPort(), 0);
            together(connecting);
            if (c.Send(Frame(i, kReadZero)) && c.ReadBytes(11, 20000) == Frame(i, kReadZeroAnswer))
                answered.fetch_add(1);
        });
    for (std::thread& t : burst)
        t.join();
    EXPECT_EQ(answered.load(), kBurst);
}

// Thirty-two clients that keep their connections and send nothing more lock no one out: once they have
// been silent a while, a newcomer takes the place of the one silent longest, and the others stay served.
TEST_F(ModbusServerTest, TheLongestSilentClientGivesItsPlaceToANewcomer) {
    StartServer();
    std::vector<std::unique_ptr<testsupport::TcpClient>> silent;
    for (int i = 0; i < 32; ++i) {
        silent.push_back(std::make_unique<testsupport::TcpClient>(ServerPort(), 0));
        ASSERT_TRUE(silent.back()->Send(Frame(i, kReadZero)));
        ASSERT_EQ(silent.back()->ReadBytes(11, 2000), Frame(i, kReadZeroAnswer)) << i;
    }
    modbus_t* newcomer = Connect();
    ASSERT_NE(newcomer, nullptr);
    modbus_set_response_timeout(newcomer, 10, 0);
    uint16_t reg = 9;
    EXPECT_EQ(modbus_read_registers(newcomer, 0, 1, &reg), 1) << modbus_strerror(errno);
    modbus_set_response_timeout(newcomer, 1, 0);
    EXPECT_TRUE(silent[0]->WaitClosed(2000)) << "the client silent longest is closed";
    for (int i = 1; i < 32; ++i) {
        ASSERT_TRUE(silent[i]->Send(Frame(i, kReadZero)));
        EXPECT_EQ(silent[i]->ReadBytes(11, 2000), Frame(i, kReadZeroAnswer)) << i;
    }
    EXPECT_EQ(modbus_read_registers(newcomer, 0, 1, &reg), 1) << modbus_strerror(errno);

    // A client that broke its connection (a reset) leaves its place in the pass that sees the reset: a
    // newcomer seen in the same pass takes that place, and the client silent longest keeps its own.
    StopServer();
    silent[31]->Abort();
    testsupport::TcpClient second(ServerPort(), 0);
    ASSERT_TRUE(second.Connected());
    StartPassing();
    ASSERT_TRUE(second.Send(Frame(40, kReadZero)));
    EXPECT_EQ(second.ReadBytes(11, 2000), Frame(40, kReadZeroAnswer));
    ASSERT_TRUE(silent[1]->Send(Frame(41, kReadZero)));
    EXPECT_EQ(silent[1]->ReadBytes(11, 2000), Frame(41, kReadZeroAnswer)) << "the client silent longest";
    Close(newcomer);
}

// A client that sends its request a piece at a time holds up nobody: another client is answered while
// the slow one's request is half-sent, and the slow one is answered once its request is whole. (Its
// pieces are held as long as the test needs: the cut below is the time-out's own test.)
TEST_F(ModbusServerTest, ASlowClientHoldsUpNoOther) {
    server_.stallMs = 60000;
    StartServer();
    testsupport::TcpClient slow(ServerPort(), 0);
    modbus_t* fast = Connect();
    ASSERT_NE(fast, nullptr);
    // Function 16 writing 0 to registers 0 .. 39 (93 bytes): outside the map, exception 02.
    std::string request("\x00\x07\x00\x00\x00\x57\x01\x10\x00\x00\x00\x28\x50", 13);
    request.append(80, '\0');
    uint16_t reg = 9;
    // The request goes in pieces that end at these bytes; before each next piece the fast one reads.
    size_t from = 0;
    for (size_t to : {size_t{3}, size_t{9}, size_t{50}, request.size() - 1}) {
        ASSERT_TRUE(slow.Send(request.substr(from, to - from)));
        from = to;
        EXPECT_EQ(modbus_read_registers(fast, 0, 1, &reg), 1) << to << ": " << modbus_strerror(errno);
    }
    ASSERT_TRUE(slow.Send(request.substr(request.size() - 1)));
    EXPECT_EQ(slow.ReadBytes(9, 2000), std::string("\x00\x07\x00\x00\x00\x03\x01\x90\x02", 9));
    EXPECT_EQ(modbus_read_registers(fast, 0, 1, &reg), 1) << modbus_strerror(errno);
    Close(fast);
}

// A client whose request stops half-way is closed after 100 ms without a byte, alone.
TEST_F(ModbusServerTest, ACutRequestClosesItsClientAlone) {
    StartServer();
    modbus_t* fast = Connect();
    ASSERT_NE(fast, nullptr);
    testsupport::TcpClient cut(ServerPort(), 0);
    ASSERT_TRUE(cut.Send(std::string("\0\1\0", 3)));  // three bytes of a request header
    EXPECT_TRUE(cut.WaitClosed(5000)) << "the cut request's client is closed";
    uint16_t reg = 9;
    EXPECT_EQ(modbus_read_registers(fast, 0, 1, &reg), 1) << modbus_strerror(errno);
    Close(fast);
}

// The request's header is checked before its length is used: a protocol id other than 0, a length
// outside 2..254, or a length its function does not have closes the client (two requests sent in one
// piece are both answered: the exception table above sends each row so).
TEST_F(ModbusServerTest, ABadHeaderClosesItsClient) {
    StartServer();
    const std::string bad[] = {
        std::string("\x00\x01\x00\x05\x00\x06\x01\x03\x00\x00\x00\x01", 12),      // protocol id 5
        std::string("\x00\x01\x01\x00\x00\x06\x01\x03\x00\x00\x00\x01", 12),      // protocol id 256
        std::string("\x00\x01\x00\x00\x00\x01\x01", 7),                           // length 1
        std::string("\x00\x01\x00\x00\x00\xFF\x01\x03", 8),                       // length 255
        std::string("\x00\x01\x00\x00\x00\x07\x01\x03\x00\x00\x00\x01\x00", 13),  // a byte too many
    };
    for (const std::string& frame : bad) {
        testsupport::TcpClient c(ServerPort(), 0);
        ASSERT_TRUE(c.Send(frame));
        EXPECT_TRUE(c.WaitClosed(2000)) << testing::PrintToString(frame);
    }
}

// Word 7 at 0: the clients and the listener are closed; at 1 the server serves again.
TEST_F(ModbusServerTest, EnableWordClosesAndReopens) {
    StartServer();
    testsupport::TcpClient held(ServerPort(), 0);
    ASSERT_TRUE(held.Connected());
    modbus_t* c = Connect();
    ASSERT_NE(c, nullptr);
    uint16_t reg = 9;
    ASSERT_EQ(modbus_read_registers(c, 0, 1, &reg), 1);
    Close(c);

    // The 200 ms is the server's promise, not a figure a loaded test machine can time: the test waits for
    // the close and the refusal themselves, each bounded.
    g_ThreadCtl.running[kRunModbus].store(0);
    EXPECT_TRUE(held.WaitClosed(2000)) << "the held client is closed";
    const auto refusedBy = Clock::now() + 2s;
    bool refused = false;
    while (!refused && Clock::now() < refusedBy) {
        refused = !testsupport::TcpClient(ServerPort(), 0).Connected();
        if (!refused) std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(refused) << "connections are refused";

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
    // Between its tries the server waits its 50 ms poll: it does not spin, however loaded the machine.
    const long passes = passCount_.load();
    const auto from = Clock::now();
    std::this_thread::sleep_for(2500ms);  // the first try and two retries
    EXPECT_LE(passCount_.load() - passes, (Clock::now() - from) / 50ms + 2);
    close(blocker);
    modbus_t* c = ConnectWithin(2000);
    StopServer();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "ModbusThread: cannot listen on port " + std::to_string(ServerPort()) +
                       ": Address already in use\n");
    EXPECT_NE(c, nullptr) << "listening once the port is free";
    Close(c);
}

// select watches descriptors below FD_SETSIZE only: a newcomer whose descriptor lies past them is closed at
// once, and the clients below it stay served.
TEST_F(ModbusServerTest, ANewcomerPastTheWatchableDescriptorsIsTurnedAway) {
    // The server's descriptors must be settled before the test takes the rest: no start-up probe whose
    // close the server has yet to see (it would free a number below FD_SETSIZE for the newcomer), and the
    // kept client accepted and served (accepted later, it would itself lie past them).
    StartPassing();
    modbus_t* kept = ConnectWithin(10000);
    ASSERT_NE(kept, nullptr);
    uint16_t reg = 9;
    ASSERT_EQ(modbus_read_registers(kept, 0, 1, &reg), 1) << modbus_strerror(errno);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    if (limit.rlim_cur < FD_SETSIZE + 16) GTEST_SKIP() << "descriptors limited to " << limit.rlim_cur;
    // Every descriptor below FD_SETSIZE taken: the newcomer's end and the server's end of it lie past.
    std::vector<int> taken;
    for (int fd = dup(2); fd >= 0; fd = dup(2)) {
        taken.push_back(fd);
        if (fd >= FD_SETSIZE - 1) break;
    }
    testsupport::TcpClient newcomer(ServerPort(), 0);
    const bool connected = newcomer.Connected();
    const bool closed = connected && newcomer.WaitClosed(10000);
    for (int fd : taken)
        close(fd);
    ASSERT_TRUE(connected);
    EXPECT_TRUE(closed) << "the newcomer past the watched descriptors is closed";
    EXPECT_EQ(modbus_read_registers(kept, 0, 1, &reg), 1) << modbus_strerror(errno);
    modbus_t* next = Connect();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(modbus_read_registers(next, 0, 1, &reg), 1) << modbus_strerror(errno);
    Close(next);
    Close(kept);
}

// A server with nothing to serve (disabled, or its port not to be had) waits between its looks at the
// enable word instead of spinning: each such pass takes the 50 ms poll at least, however loaded the machine.
TEST_F(ModbusServerTest, ADisabledServerWaitsBetweenItsPasses) {
    g_ThreadCtl.running[kRunModbus].store(0);
    StartPassing();
    const long first = passCount_.load();
    const auto from = Clock::now();
    for (const auto until = from + 5s; passCount_.load() < first + 10 && Clock::now() < until;)
        std::this_thread::sleep_for(5ms);
    EXPECT_GE(Clock::now() - from, 9 * 50ms) << passCount_.load() - first << " passes";
}

}  // namespace
