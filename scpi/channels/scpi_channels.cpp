#include "scpi/channels/scpi_channels.h"

namespace scpi {

ScpiStatusBlock g_StatusLan;
ScpiStatusBlock g_StatusUsb;
ScpiStatusBlock g_StatusGpib;
ScpiStatusBlock g_StatusUart;
ScpiStatusBlock g_StatusWeb;

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
ChannelParts g_webParts;

}  // namespace
}  // namespace scpi

// The USB device port is a USB-TMC device until its class is set to USB-CDC. The members not named start
// value-initialised (designated initializers), which is what the warning below would have us spell out.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
constinit ScpiInterface g_ScpiIfLan{.channelId = kChanLan, .status = &scpi::g_StatusLan, .parse = &scpi::g_lanParts.parse,
                                    .lexer = &scpi::g_lanParts.lexer, .cmd = &scpi::g_lanParts.cmd};
constinit ScpiInterface g_ScpiIfUsb{.channelId = kChanUsbTmc, .status = &scpi::g_StatusUsb, .parse = &scpi::g_usbParts.parse,
                                    .lexer = &scpi::g_usbParts.lexer, .cmd = &scpi::g_usbParts.cmd};
constinit ScpiInterface g_ScpiIfGpib{.channelId = kChanUsbGpib, .status = &scpi::g_StatusGpib, .parse = &scpi::g_gpibParts.parse,
                                    .lexer = &scpi::g_gpibParts.lexer, .cmd = &scpi::g_gpibParts.cmd};
constinit ScpiInterface g_ScpiIfUart{.channelId = kChanUart, .status = &scpi::g_StatusUart, .parse = &scpi::g_uartParts.parse,
                                    .lexer = &scpi::g_uartParts.lexer, .cmd = &scpi::g_uartParts.cmd};
constinit ScpiInterface g_ScpiIfWeb{.channelId = kChanWeb, .status = &scpi::g_StatusWeb, .parse = &scpi::g_webParts.parse,
                                    .lexer = &scpi::g_webParts.lexer, .cmd = &scpi::g_webParts.cmd};
#pragma GCC diagnostic pop
