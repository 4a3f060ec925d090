#include "drivers/panel_link.h"

#include <cstring>

#include "drivers/spi_device.h"

KeyEventBox g_KeyEventBox{};

namespace {

std::mutex g_panelLinkLock;
std::mutex g_keyBoxLock;

// Each command has a frame buffer of its own; the lamp frame keeps the last lamp bits sent.
uint32_t g_frameKey = 0;
uint32_t g_frameLamp = 0;
uint32_t g_frameLine = 0;
uint32_t g_frameStatus = 0;

constexpr int kReadTries = 10;

uint16_t ReadCommand(uint32_t* frame, uint8_t command) {
    std::lock_guard<std::mutex> g(g_panelLinkLock);
    for (int i = 0; i < kReadTries; ++i) {
        *frame = static_cast<uint32_t>(command) << 24;
        if (SpiPanelTransfer(frame, 4) == 4) return static_cast<uint16_t>(*frame & 0xFFFF);
    }
    // A controller that never answers: no key, no knob movement.
    *frame = 0;
    return 0;
}

int WriteCommand(uint32_t* frame, uint8_t command, uint32_t data) {
    std::lock_guard<std::mutex> g(g_panelLinkLock);
    *frame = (static_cast<uint32_t>(command) << 24) | data;
    SpiPanelWrite4(frame);
    return 0;
}

}  // namespace

uint16_t SpiKeyRead() {
    return ReadCommand(&g_frameKey, 0xF0);
}

int SpiAuxWrite4(uint32_t word) {
    return WriteCommand(&g_frameLamp, 0xF1, word & 0x0F);
}

int SpiAuxWrite1(uint32_t value) {
    return WriteCommand(&g_frameLine, 0xF2, value & 0x01);
}

uint16_t SpiAuxRead16() {
    return ReadCommand(&g_frameStatus, 0xF4);
}

int KeyEventBoxInit() {
    std::lock_guard<std::mutex> g(g_keyBoxLock);
    std::memset(&g_KeyEventBox, 0, sizeof g_KeyEventBox);
    return 0;
}

int KeyEventPost(uint32_t event) {
    std::lock_guard<std::mutex> g(g_keyBoxLock);
    if (g_KeyEventBox.count >= 1) return -1;
    g_KeyEventBox.event = event;
    g_KeyEventBox.writeIdx = 0;
    g_KeyEventBox.count = 1;
    return 0;
}

int KeyEventTake(uint32_t* out) {
    std::lock_guard<std::mutex> g(g_keyBoxLock);
    if (g_KeyEventBox.count < 1) {
        if (out) *out = 0;
        return -1;
    }
    if (out) *out = g_KeyEventBox.event;
    g_KeyEventBox.readIdx = 0;
    g_KeyEventBox.count = 0;
    return 0;
}

int KeyEventWaiting() {
    std::lock_guard<std::mutex> g(g_keyBoxLock);
    return g_KeyEventBox.count >= 1 ? 1 : 0;
}

void KeyEventBoxClear() {
    std::lock_guard<std::mutex> g(g_keyBoxLock);
    g_KeyEventBox.count = 0;
    g_KeyEventBox.writeIdx = 0;
    g_KeyEventBox.readIdx = 0;
}
