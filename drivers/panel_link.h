#pragma once
// The four commands of the front-panel controller link (keys, knob, lamps, status) and the one-slot
// key mailbox through which key events travel to the menu/control thread.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/devices/panel_keys.h"  // the key classes and codes of an event

uint16_t SpiKeyRead();
int SpiAuxWrite4(uint32_t word);
int SpiAuxWrite1(uint32_t value);
uint16_t SpiAuxRead16();

// Lamp bits of the 0xF1 command.
enum PanelLamp : uint32_t {
    kLampOutputOn = 1u << 0,
    kLampShift = 1u << 1,
    kLampPreset = 1u << 2,
    kLampSeqSim = 1u << 3,
};

// A packed key event: byte 0 signed knob delta, byte 1 key code, byte 2 key class, byte 3 0.
inline uint32_t KeyEventPack(int8_t delta, uint8_t code, uint8_t cls) {
    return static_cast<uint8_t>(delta) | (static_cast<uint32_t>(code) << 8) |
           (static_cast<uint32_t>(cls) << 16);
}
inline int8_t KeyEventDelta(uint32_t ev) {
    return static_cast<int8_t>(ev & 0xFF);
}
inline uint8_t KeyEventCode(uint32_t ev) {
    return static_cast<uint8_t>(ev >> 8);
}
inline uint8_t KeyEventClass(uint32_t ev) {
    return static_cast<uint8_t>(ev >> 16);
}

struct KeyEventBox {
    int32_t count;
    uint32_t writeIdx;
    uint32_t readIdx;
    uint32_t event;
};
extern KeyEventBox g_KeyEventBox;

int KeyEventBoxInit();
int KeyEventPost(uint32_t event);
int KeyEventTake(uint32_t* out);
// 1 while an event waits in the box, else 0.
int KeyEventWaiting();
void KeyEventBoxClear();
