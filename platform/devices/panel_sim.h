#pragma once
// The simulated front-panel controller behind "/dev/spidev2.1": it answers the four link commands
// (0xF0 key word, 0xF1 lamps, 0xF2 application-running line, 0xF4 status word) in 32-bit frames,
// command byte in bits 31-24 and data in bits 15-0. Tests and the local panel channel script it:
// a pressed key is reported for a number of key-word reads, then the key word returns to 0.
#include <cstdint>

#include "platform/devices/panel_keys.h"  // the codes it reports

namespace plat {

// Tests start the panel stand-in clean through it.
// Back to power-on: no key, lamps 0, line 0, status word 1, answering.
void PanelSimReset();

// Queues a key code held down for `reads` key-word reads (the key thread reads once a pass).
void PanelSimPress(uint8_t code, uint32_t reads);
// Queues a knob turn of `detents` (signed): reported as the knob code with the delta, one read per
// at most 127 detents.
void PanelSimKnob(int detents);
// A key held until PanelSimRelease (reported after the queued presses).
void PanelSimHold(uint8_t code);
void PanelSimRelease();
// Number of queued presses and turns not yet fully reported.
uint32_t PanelSimPending();

// Tests read and set the panel stand-in's lines and counters through the controls below.
// Each 0xF1 also writes its lamp bits to <root>/var/run/panel-lamps ("0x0".."0xF"); 0xF4 answers the
// number in <root>/var/lib/sandbox/panel-status when that file exists, else the word set here. Each 0xF2
// writes its line value to <root>/var/run/panel-aux ("0x0" or "0x1").
uint8_t PanelSimLamps();                // last lamp bits sent with 0xF1
uint8_t PanelSimAppRunning();           // last value of the application-running line (0xF2)
void PanelSimSetStatus(uint16_t word);  // the answer to 0xF4
void PanelSimSetUnresponsive(bool on);  // every transfer fails, as a controller that never answers
uint32_t PanelSimKeyReads();            // 0xF0 transfers answered since reset
uint32_t PanelSimLampWrites();          // 0xF1 transfers answered since reset
uint32_t PanelSimStatusTries();         // 0xF4 transfers tried since reset, answered or not

// The SPI side (used by platform/devices/spi.cpp): one frame in place; returns false when the transfer fails.
bool PanelSimTransfer(uint8_t* frame, uint32_t length);

}  // namespace plat
