#include "scpi/channels/scpi_channels.h"

namespace scpi {

ScpiStatusBlock g_StatusLan;
ScpiStatusBlock g_StatusUsb;
ScpiStatusBlock g_StatusGpib;
ScpiStatusBlock g_StatusUart;

namespace {

// Each channel's parser and its command block (with the 1.5 MB data area) live as long as the process.
struct ChannelParts {
    ScpiParseState parse;
    ScpiLexer lexer;
    ScpiCmdBlock cmd;
};
ChannelParts g_lanParts;
ChannelParts g_usbParts;
ChannelParts g_gpibParts;
ChannelParts g_uartParts;

constexpr ScpiInterface Channel(uint32_t id, ScpiStatusBlock* status, ChannelParts* parts) {
    ScpiInterface ifc{};
    ifc.channelId = id;
    ifc.status = status;
    ifc.parse = &parts->parse;
    ifc.lexer = &parts->lexer;
    ifc.cmd = &parts->cmd;
    return ifc;
}

}  // namespace
}  // namespace scpi

// The USB device port is a USB-TMC device until its class is set to USB-CDC.
constinit ScpiInterface g_ScpiIfLan = scpi::Channel(kChanLan, &scpi::g_StatusLan, &scpi::g_lanParts);
constinit ScpiInterface g_ScpiIfUsb = scpi::Channel(kChanUsbTmc, &scpi::g_StatusUsb, &scpi::g_usbParts);
constinit ScpiInterface g_ScpiIfGpib = scpi::Channel(kChanUsbGpib, &scpi::g_StatusGpib, &scpi::g_gpibParts);
constinit ScpiInterface g_ScpiIfUart = scpi::Channel(kChanUart, &scpi::g_StatusUart, &scpi::g_uartParts);
