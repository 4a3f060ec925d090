#pragma once
// Board control lines exposed by the kernel as LED-class devices, the text console before the graphics
// start, and the peripheral reset pulse.
#include <cstdint>

void DisplayLineSet(int on);
void ConsoleCursorOff();
void GpibResetLineSet(int on);
// Stops the text console from blanking the screen.
void ConsoleBlankOff();
// The GUI thread's console preparation before it starts the graphics: backlight off, cursor off, no
// blanking, "sync".
void GuiConsolePrepare();
// The display's start during the power-stage bring-up: backlight off, console cursor off, "sync", then
// the graphics library and the start-up self-test screen.
void HwConsolePrepare();
// The graphics library's start that HwConsolePrepare runs, handed over at start-up.
void HwConsoleSetGraphicsStart(int (*start)());
// The start-up self-test screen that HwConsolePrepare shows, handed over by the screens at start-up.
void HwConsoleSetStartScreen(int32_t (*screen)(int32_t x0, int32_t y0));
// Drives the GPIB reset line to 0, waits 500 ms, drives it to 1, waits 500 ms; returns 0.
int32_t PeripheralResetPulse();
