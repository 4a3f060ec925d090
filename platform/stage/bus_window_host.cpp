// On this machine the two register windows lead to the simulated power stage.
#include "platform/stage/bus_window.h"
#include "platform/stage/power_stage_sim.h"

namespace plat {

int MapBusWindows(std::string* error) {
    return PowerStage().Map(error);
}

void BusWriteByte(BusWindow window, uint32_t offset, uint8_t value) {
    PowerStage().WriteByte(window, offset, value);
}

uint8_t BusReadByte(BusWindow window, uint32_t offset) {
    return PowerStage().ReadByte(window, offset);
}

void BusAccessBytes(BusByteAccess* accesses, size_t count) {
    PowerStage().AccessBytes(accesses, count);
}

}  // namespace plat
