#pragma once
// The SCPI channels of the instrument, each a context with its own status block, parse state, lexer
// and command block: the LAN socket, the USB device port, the USB-GPIB adapter, RS232 and the web
// server's websocket (its port operations are the web server's).
#include "scpi/channels/scpi_interface.h"

extern ScpiInterface g_ScpiIfLan;
extern ScpiInterface g_ScpiIfUsb;
extern ScpiInterface g_ScpiIfGpib;
extern ScpiInterface g_ScpiIfUart;
extern ScpiInterface g_ScpiIfWeb;

namespace scpi {
// The channels' status blocks; the start-up initialises them before any thread runs.
extern ScpiStatusBlock g_StatusLan;
extern ScpiStatusBlock g_StatusUsb;
extern ScpiStatusBlock g_StatusGpib;
extern ScpiStatusBlock g_StatusUart;
extern ScpiStatusBlock g_StatusWeb;
}  // namespace scpi
