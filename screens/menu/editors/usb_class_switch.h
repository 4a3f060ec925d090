#pragma once
// The rear USB port's class change from the panel: the unit restarts to take it.
#include <cstdint>

// Locks the keys, closes the port of the class in force, stores the new class bit (0 USB-TMC, 1 USB-CDC),
// holds the notice on screen, and 3 s later tells the panel controller the application stops and asks for
// the reboot.
void UsbClassSwitch(uint32_t cdc);
