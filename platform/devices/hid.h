#pragma once
// hidraw device nodes. The driver speaks the kernel's hidraw interface (non-blocking reads of whole
// reports, the device-information request); here those calls reach the device. On this machine
// "/dev/hidraw0" is a simulated USB scanner/keypad: it exists while its file under the root exists, and
// it delivers the 8-byte boot-keyboard reports queued by tests or by the panel channel's "scan" verb.
#include <linux/hidraw.h>

#include <cstdint>
#include <string>

namespace plat {

// True while the device node exists.
bool HidPathExists(const char* devicePath);
// A handle above 0, or -1 with errno set.
int HidOpen(const char* devicePath);
// The kernel's device information (HIDIOCGRAWINFO): 0, or -1 with errno set.
int HidGetInfo(int handle, hidraw_devinfo* info);
// One report: its length; -1 with errno EAGAIN when none is waiting; 0 at end of file; -1 with another
// errno (ENODEV: the device went away) on failure.
int HidRead(int handle, uint8_t* buf, int capacity);
int HidClose(int handle);

// The simulation: plugs or unplugs the device (creates or removes its file under the root) and empties
// its queue.
void HidSimPlug(bool plugged);
// Tests script the scanner stand-in through the queue, result, failure and count controls below.
// Queues one report of `len` bytes (a malformed one when len is not 8), or a read result: 0 (end of
// file) or -errno.
void HidSimQueueReport(const uint8_t* report, int len);
void HidSimQueueResult(int result);
// Makes the device-information request fail (or succeed again).
void HidSimFailInfo(bool fail);
// Types a text as a scanner does: press and release of every character, then Enter. Plugs the device
// when it is absent. 0, or -1 with the reason in *error when a character has no key.
int HidSimTypeText(const std::string& text, std::string* error);
// Reports still queued.
int HidSimPending();

}  // namespace plat
