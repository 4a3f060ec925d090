#pragma once
// A Modbus server of this process on the test's own port (502 + the test port offset), its passes run
// by a thread of the fixture until the test ends, and libmodbus clients on loopback.
#include <gtest/gtest.h>
#include <modbus/modbus.h>

#include <atomic>
#include <memory>
#include <thread>

#include "remote/modbus/modbus_server.h"
#include "tests/support/temp_root.h"

namespace testsupport {

class ModbusServerTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Starts passing the server (after a test has prepared what the start must meet), and waits until
    // it listens.
    void StartServer();
    // The same without the wait, for a server that is not to listen.
    void StartPassing();
    void StopServer();
    static int ServerPort();
    // A connected client with a 1 s answer time-out, or nullptr.
    static modbus_t* Connect();
    // The same, tried until one connects within `ms` (the server may be starting or reopening).
    static modbus_t* ConnectWithin(int ms);
    static void Close(modbus_t* client);

    std::unique_ptr<TempRoot> root_;
    remote::ModbusServer server_;
    std::atomic<bool> stop_{false};
    std::thread passes_;
    std::atomic<long> passCount_{0};  // passes ended
};

}  // namespace testsupport
