#include "tests/remote/modbus_fixture.h"

#include <chrono>

#include "core/params/param_store.h"
#include "core/system/links/thread_ctl.h"
#include "core/system/messaging/msg_queue.h"
#include "platform/host/options.h"

namespace testsupport {

void ModbusServerTest::SetUp() {
    root_ = std::make_unique<TempRoot>();
    MsgQueueInit();
    g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
    g_ThreadCtl.running[kRunModbus].store(1);
    ASSERT_TRUE(remote::ModbusServerInit(&server_, ServerPort()));
}

void ModbusServerTest::TearDown() {
    StopServer();
    remote::ModbusServerFree(&server_);
    g_ThreadCtl.running[kRunModbus].store(0);
    g_ParamFlags.fetch_and(~static_cast<uint32_t>(core::kFlagKeysLocked));
    root_.reset();
}

void ModbusServerTest::StartServer() {
    StartPassing();
    // Ready once it listens: its first pass comes a moment after the thread starts.
    Close(ConnectWithin(2000));
}

void ModbusServerTest::StartPassing() {
    stop_ = false;
    passes_ = std::thread([this] {
        for (; !stop_.load(); passCount_.fetch_add(1))
            remote::ModbusServerPass(&server_);
    });
}

void ModbusServerTest::StopServer() {
    stop_ = true;
    if (passes_.joinable()) passes_.join();
}

int ModbusServerTest::ServerPort() {
    return plat::Port(502);
}

modbus_t* ModbusServerTest::Connect() {
    modbus_t* client = modbus_new_tcp("127.0.0.1", ServerPort());
    if (client == nullptr) return nullptr;
    modbus_set_response_timeout(client, 1, 0);
    if (modbus_connect(client) != 0) {
        modbus_free(client);
        return nullptr;
    }
    return client;
}

modbus_t* ModbusServerTest::ConnectWithin(int ms) {
    modbus_t* client = Connect();
    for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
         client == nullptr && std::chrono::steady_clock::now() < until; client = Connect())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return client;
}

void ModbusServerTest::Close(modbus_t* client) {
    if (client == nullptr) return;
    modbus_close(client);
    modbus_free(client);
}

}  // namespace testsupport
