#include "sysadmin/net/lxi_service.h"

#include <cstdio>
#include <vector>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "sysadmin/net/net_files.h"
#include "sysadmin/text_file.h"

namespace {

constexpr const char kTemplate[] =
    "<?xml version=\"1.0\" standalone='no'?> <!DOCTYPE service-group SYSTEM \"avahi-service.dtd\"> "
    "<service-group> <name replace-wildcards=\"yes\">%s-%%h</name> <service protocol=\"ipv4\"> "
    "<type>_lxi._tcp</type> <port>80</port> <txt-record>txtvers=1</txt-record> "
    "<txt-record>Model=%s</txt-record> <txt-record>SerialNumber=%s</txt-record> "
    "<txt-record>FirmwareVersion=%s</txt-record> <txt-record>Manufacturer=%s</txt-record> </service> "
    "<service><type>_http._tcp</type> <port>80</port> </service> <service> <type>_scpi-raw._tcp</type> "
    "<port>5025</port> </service> <service> <type>_scpi-telnet._tcp</type> <port>5024</port> </service> "
    "<service> <type>_vxi-11._tcp</type> <port>111</port> </service> <service> <type>_hislip._tcp</type> "
    "<port>4880</port> </service> </service-group> ";

constexpr size_t kBufSize = 2048;

std::string IdentityText(const char* text, size_t size) {
    std::vector<char> out(size + 1, '\0');
    IdentityTextRead(text, size, out.data());
    return out.data();
}

}  // namespace

std::string XmlEscape(const char* text) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        switch (*p) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += *p;
        }
    }
    return out;
}

int LxiServiceWrite() {
    const uint32_t brand = g_BrandId.load();
    const char* prefix = brand == 1 ? "TULVE" : brand == 2 ? "PELMA" : "QXORVANE";
    const std::string model = XmlEscape(IdentityText(g_ModelName, sizeof g_ModelName).c_str());
    const std::string serial = XmlEscape(IdentityText(g_SerialNo, sizeof g_SerialNo).c_str());
    char text[kBufSize];
    const int n = std::snprintf(text, sizeof text, kTemplate, prefix, model.c_str(), serial.c_str(),
                                kLanFirmwareText, LanManufacturerText());
    if (n < 0 || static_cast<size_t>(n) >= sizeof text ||
        TextFileWrite("/etc/avahi/services/lxi.service", text) != 0) {
        std::perror("Failed to write to file");
        return -1;
    }
    return 0;
}
