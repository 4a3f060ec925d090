#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/regbus/bus_transfer.h"
#include "platform/stage/bus_window.h"

RegBusRec g_RegBus;
std::atomic<uint32_t> g_BusHold{0};
std::atomic<uint32_t> g_PhaseFault{0};

namespace {
// The name this source had on the board; service reports quote it.
constexpr const char* kBusSourceName = "drivers/qxSpi_AM3352";
}  // namespace

void BusMapInit() {
    std::string text;
    int err = plat::MapBusWindows(&text);
    if (err != 0) {
        std::fprintf(stderr, "Error at line %d, file %s (%d) [%s]\n", __LINE__, kBusSourceName, err,
                     text.c_str());
        std::exit(1);
    }
}

namespace regbus {
void BusReset() {
    g_BusHold.store(0);
    g_PhaseFault.store(0);
}
}  // namespace regbus

int Bus_Write16(uint32_t reg, uint32_t value) {
    plat::BusWriteByte(plat::kLowByteWindow, reg, static_cast<uint8_t>(value & 0xFFu));
    plat::BusWriteByte(plat::kHighByteWindow, reg, static_cast<uint8_t>((value >> 8) & 0xFFu));
    return 0;
}

uint32_t Bus_Read16(uint32_t reg) {
    uint32_t low = plat::BusReadByte(plat::kLowByteWindow, reg);
    uint32_t high = plat::BusReadByte(plat::kHighByteWindow, reg);
    return high * 256u + low;
}
