// The previews that summarise a configuration list: its labels and values as the lists show them.
#include <cstdio>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/menu/menu_page_words.h"
#include "screens/menu/page/menu_lists.h"
#include "screens/menu/values/menu_preview_lines.h"
#include "screens/menu/values/menu_value_rows.h"
#include "screens/menu/values/menu_value_text.h"

namespace menu::preview {
namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kMiscList = 10;
constexpr int kMaxSlaves = 5;

// The label of the row whose select state is state in list, "" for none.
const char* Label(uint32_t list, uint32_t state) {
    const MenuListRow* rows = list < kMenuLists ? g_MenuListTables[list] : nullptr;
    const int i = RowOfState(rows, state);
    return i < 0 ? "" : rows[i].Label;
}

const ValueRow* RowOf(uint32_t select) {
    for (const ValueRow& r : ValueRows())
        if (r.select == select) return &r;
    return nullptr;
}

// "label : value" of a MISC row.
void MiscLine(int line, uint32_t select) {
    const ValueRow* row = RowOf(select);
    char value[64] = "";
    if (row != nullptr) SettingText(*row, value, sizeof value);
    Linef(0, LineY(line), "%s : %s", Label(kMiscList, select), value);
}

double Scaled(uint32_t id) {
    ParamRec rec{};
    paramGetRecord(id, &rec, 0);
    return static_cast<double>(rec.value) * static_cast<double>(rec.scale);
}

void Address(int line, const char* name, int which) {
    uint8_t a[4];
    LanAddressShown(which, a);
    Linef(0, LineY(line), "%s: %d.%d.%d.%d", name, a[0], a[1], a[2], a[3]);
}

uint32_t IfaceWord(uint32_t& word) {
    return std::atomic_ref<uint32_t>(word).load(kRelaxed);
}

bool Card(storage::CardLine line) {
    return std::atomic_ref<uint32_t>(g_IfaceCfg.cardPresent[line]).load(std::memory_order_acquire) == 1;
}

void CanopenPair() {
    Linef(0, LineY(0), "Baudrate: %s", TableText(TextTable::kCanBaud, IfaceWord(g_IfaceCfg.canopenBaud)));
    Linef(0, LineY(1), "Node ID: %u", IfaceWord(g_IfaceCfg.canopenNodeId));
}

void DnetPair() {
    Linef(0, LineY(0), "Baudrate: %s", TableText(TextTable::kDnetBaud, IfaceWord(g_IfaceCfg.devicenetBaud)));
    Linef(0, LineY(1), "MAC ID: %u", IfaceWord(g_IfaceCfg.devicenetMacId));
}

}  // namespace

void Misc() {
    if (g_MenuPreviewPage.load(kRelaxed) == 0) {
        Linef(0, LineY(0), "T peak,hold : %d msec", paramGetValue(kParamPeakHoldTime, 0));
        for (int i = 0; i < 15; ++i)
            MiscLine(1 + i, kMenuOutputPhase + 2u * i);
        Linef(0, LineY(16), "TrgOut Width : %.1f ms", Scaled(129));
        MiscLine(17, kMenuTriggerSource);
        Text(138, 382, "- 1/2 -");
        return;
    }
    MiscLine(0, kMenuRelock);
    Linef(0, LineY(1), "%s : %d", Label(kMiscList, kMenuAvgCount), paramGetValue(kParamAvgCount, 0));
    MiscLine(2, kMenuUpdateRate);
    Text(138, 382, "- 2/2 -");
}

void Lan() {
    const sysadmin::LanCfg cfg = LanCfgRead();
    Text(0, LineY(0), LanLinkUp() ? "Status: Online" : "Status: Offline");
    char mac[32];
    MacText(mac, sizeof mac);
    Linef(0, LineY(1), "MAC Address:\n\t  %s", mac);
    Text(0, LineY(3), cfg.DHCP != 0 ? "DHCP: ON" : "DHCP: OFF");
    Address(4, "Ip", 0);
    Address(5, "Mask", 1);
    Address(6, "Gw", 2);
    Address(7, "Dns", 3);
    Linef(0, LineY(8), "Socket Port: %u", static_cast<unsigned>(cfg.PORT));
    Linef(0, LineY(9), "Web Password: %04u", static_cast<unsigned>(cfg.PW));
}

void Usb() {
    Text(0, LineY(0), UsbLinkUp() ? "Status: Online" : "Status: Offline");
    Linef(0, LineY(1), "Speed: %s", UsbSpeedText());
    Linef(0, LineY(2), "Mode: %s", UsbModeText());
}

void Rs232() {
    constexpr const char* kNames[4] = {"Baudrate", "Databits", "Parity", "Stopbits"};
    for (int i = 0; i < 4; ++i)
        Linef(0, LineY(i), "%s: %s", kNames[i], Rs232Text(i));
}

void OptionInterface(uint32_t state) {
    if (state == kMenuCanopen || (state == kMenuOption && Card(storage::kCardLine17)))
        CanopenPair();
    else if (state == kMenuDevicenet || (state == kMenuOption && Card(storage::kCardLine106)))
        DnetPair();
    else
        Linef(0, LineY(0), "Address: %u", IfaceGpibAddress());
}

void Impedance() {
    constexpr uint32_t kImpedanceList = 6;
    Linef(0, LineY(0), "%s : %s", "Output Impedance", TableText(TextTable::kOffOn, paramGetValue(kParamOutputImpedance, 0)));
    for (int i = 0; i < 6; ++i) {
        const uint32_t select = kMenuL1Inductance + 2u * i;
        // The font's micro glyph before "H", its ohm glyph alone.
        Linef(0, LineY(1 + i), i < 3 ? "%s : %.1f \xB4H" : "%s : %.1f \xB5", Label(kImpedanceList, select),
              Scaled(select + 1));
    }
}

void Parallel() {
    const int32_t position = paramGetValue(kParamParallelPosition, 0);
    Linef(0, LineY(0), "%s : %s", "Position", TableText(TextTable::kPosition, position));
    if (position == 0) {
        Linef(0, LineY(1), "%s : ---", "Parallel Number");
        Linef(0, LineY(2), "%s : ---", "Enable");
        return;
    }
    const int32_t number = paramGetValue(kParamParallelNumber, 0);
    Linef(0, LineY(1), "%s : %d", "Parallel Number", number);
    if (g_ParallelActive.load(kRelaxed) == 1) {
        // Slave lines stop at the last slave of the system and at the last one the link knows.
        char serial[sizeof g_ParallelLink.slave[0].serial + 1];
        for (int i = 1; i < number && i <= kMaxSlaves; ++i) {
            ParallelSlaveSerial(i, serial, sizeof serial);
            Linef(0, 20 * (i - 1) + 100, "%s%d%s : %s", "Slave", i, " SN", serial);
        }
    }
    Linef(0, LineY(2), "%s : %s", "Enable", TableText(TextTable::kOffOn, paramGetValue(kParamParallelEnable, 0)));
}

}  // namespace menu::preview
