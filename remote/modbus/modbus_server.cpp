#include "remote/modbus/modbus_server.h"

#include <sys/select.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/system/state/thread_ctl.h"
#include "platform/host/clock.h"
#include "remote/modbus/modbus_request.h"

namespace remote {
namespace {

constexpr int kSelectTimeoutUs = 100000;  // the enable word is looked at again after this at the latest
constexpr int kByteTimeoutUs = 100000;    // a request whose next bytes take longer is cut short
constexpr int kSendTimeoutUs = 100000;    // a client that does not take its answer is dropped
constexpr int kListenRetryMs = 1000;
constexpr int kDisabledPollMs = 50;  // while disabled: how often the enable word is looked at
constexpr int kBacklog = 8;
constexpr size_t kMaxClients = 32;

bool Enabled() {
    return g_ThreadCtl.running[kRunModbus].load(std::memory_order_acquire) == 1;
}

// The listener first: once a client sees its connection end, no new one is taken.
void CloseAll(ModbusServer* s) {
    if (s->listener >= 0) close(s->listener);
    s->listener = -1;
    for (int fd : s->clients)
        close(fd);
    s->clients.clear();
}

void Drop(ModbusServer* s, int fd) {
    close(fd);
    s->clients.erase(std::remove(s->clients.begin(), s->clients.end(), fd), s->clients.end());
}

bool Listen(ModbusServer* s) {
    if (plat::NowMs() < s->nextListenMs) return false;
    s->listener = modbus_tcp_listen(s->ctx, kBacklog);
    if (s->listener < 0) {
        if (!s->listenFailReported)
            std::fprintf(stderr, "ModbusThread: cannot listen on port %d: %s\n", s->port,
                         modbus_strerror(errno));
        s->listenFailReported = true;
        s->nextListenMs = plat::NowMs() + kListenRetryMs;
        return false;
    }
    s->listenFailReported = false;
    std::printf("ModbusThread: listening on port %d\n", s->port);
    std::fflush(stdout);
    return true;
}

void Accept(ModbusServer* s) {
    const int fd = accept4(s->listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    // select cannot watch a descriptor past FD_SETSIZE; the newcomer beyond the limit is turned away.
    if (fd >= FD_SETSIZE || s->clients.size() >= kMaxClients) {
        close(fd);
        return;
    }
    timeval send{0, kSendTimeoutUs};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &send, sizeof send);
    s->clients.push_back(fd);
}

// Receives and answers one request of the client; false when the client is to be closed.
bool Serve(ModbusServer* s, int fd) {
    uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    modbus_set_socket(s->ctx, fd);
    const int length = modbus_receive(s->ctx, query);
    if (length < 0) return false;
    const int verdict =
        ModbusRequestDecide(query, length, modbus_get_header_length(s->ctx), s->tables->tab_registers);
    if (verdict < 0) return false;
    const int sent = verdict == 0 ? modbus_reply(s->ctx, query, length, s->tables)
                                  : modbus_reply_exception(s->ctx, query, static_cast<unsigned>(verdict));
    return sent >= 0;
}

}  // namespace

bool ModbusServerInit(ModbusServer* s, int port) {
    s->port = port;
    // "0.0.0.0": every address (the library takes a text beginning with '0' as any address).
    s->ctx = modbus_new_tcp("0.0.0.0", port);
    if (s->ctx == nullptr) return false;
    modbus_set_byte_timeout(s->ctx, 0, kByteTimeoutUs);
    s->tables = modbus_mapping_new_start_address(0, 0, 0, 0, 0, kModbusHoldingCount, 0, 0);
    if (s->tables == nullptr) {
        modbus_free(s->ctx);
        s->ctx = nullptr;
        return false;
    }
    return true;
}

void ModbusServerPass(ModbusServer* s) {
    if (!Enabled()) {
        CloseAll(s);
        plat::SleepMs(kDisabledPollMs);
        return;
    }
    if (s->listener < 0 && !Listen(s)) {
        plat::SleepMs(kDisabledPollMs);
        return;
    }
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s->listener, &ready);
    int top = s->listener;
    for (int fd : s->clients) {
        FD_SET(fd, &ready);
        top = std::max(top, fd);
    }
    timeval wait{0, kSelectTimeoutUs};
    if (select(top + 1, &ready, nullptr, nullptr, &wait) <= 0) return;
    // Clients first, in accept order, each with the one request it sent; the enable word may drop
    // meanwhile, and then nothing more is served.
    const std::vector<int> waiting = s->clients;
    for (int fd : waiting) {
        if (!Enabled()) return;
        if (FD_ISSET(fd, &ready) && !Serve(s, fd)) Drop(s, fd);
    }
    if (FD_ISSET(s->listener, &ready)) Accept(s);
}

void ModbusServerFree(ModbusServer* s) {
    CloseAll(s);
    if (s->tables != nullptr) modbus_mapping_free(s->tables);
    if (s->ctx != nullptr) modbus_free(s->ctx);
    s->tables = nullptr;
    s->ctx = nullptr;
}

}  // namespace remote
