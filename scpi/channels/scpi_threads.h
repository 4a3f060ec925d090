#pragma once
// Thread entries of the SCPI channels: USB device port, USB-GPIB, the LAN socket (accept and
// connection threads) and the LAN restart listener.
void* UsbDevThread(void* arg);
void* UsbGpibThread(void* arg);
void* LanRestartThread(void* arg);
void* LanConnThread(void* arg);
void* LanAcceptThread(void* arg);
