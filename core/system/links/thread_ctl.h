#pragma once
// The words through which the supervisor loop starts and stops the remote-interface threads.
#include <atomic>
#include <cstdint>

// The interface control word (0 idle, 1 stop request, 2 start request) and eight running words:
// 0 LAN connection serving, 1 USB device, 2 RS232 active, 3 USB-GPIB, 4 web port 80, 5 web port 81,
// 6 fieldbus, 7 Modbus enable.
enum RunningWord : int {
    kRunLanConn = 0,
    kRunUsbDev = 1,
    kRunRs232 = 2,
    kRunUsbGpib = 3,
    kRunWeb80 = 4,
    kRunWeb81 = 5,
    kRunFieldbus = 6,
    kRunModbus = 7,
};
enum IfaceControl : uint32_t { kIfaceIdle = 0, kIfaceStop = 1, kIfaceStart = 2 };

struct ThreadCtl {
    std::atomic<uint32_t> control;
    std::atomic<uint32_t> running[8];
};
extern ThreadCtl g_ThreadCtl;

// 1 when the LAN restart listener has accepted a restart connection.
extern std::atomic<uint32_t> g_LanRestartReq;
