#pragma once
// The words the CANopen and DeviceNet settings' writers (the panel's editors, the remote address and baud
// commands) share with the fieldbus thread. A writer stores the new settings in g_IfaceCfg first, then
// raises the word with release; the fieldbus thread takes the word with acquire, then reads the settings.
#include <atomic>
#include <cstdint>

struct FieldbusChangeFlags {
    // The CAN interface is configured again with the current baud rate (Auto: the baud-rate scan); the
    // fieldbus thread clears it when done.
    std::atomic<uint32_t> canRestart{0};
    std::atomic<uint32_t> canopenChanged{0};    // new CANopen baud rate or node id
    std::atomic<uint32_t> devicenetChanged{0};  // new DeviceNet MAC id
    // 1 while the automatic baud-rate scan runs; clearing it ends the scan at its next pass.
    std::atomic<uint32_t> canScanRun{0};
};
extern FieldbusChangeFlags g_FieldbusChangeFlags;
