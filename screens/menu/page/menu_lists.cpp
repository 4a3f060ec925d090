#include "screens/menu/page/menu_lists.h"

#include "screens/menu/page/menu_windows.h"

namespace {

using menu::RowWin;

constexpr MenuListRow End() {
    return {kMenuListEnd, "", nullptr, kRowCaption};
}
// A row; its value window is row `row` of value column `column` (none for a negative column).
constexpr MenuListRow Row(uint32_t state, const char* label, int kind, int column, int row) {
    MenuListRow r{state, {}, nullptr, static_cast<uint32_t>(kind)};
    for (int i = 0; i < 31 && label[i] != 0; ++i)
        r.Label[i] = label[i];
    if (column >= 0) r.ValueWindow = &g_MenuWin[RowWin(column, row)];
    return r;
}
// A caption, a top-menu entry, a value row.
constexpr MenuListRow Caption(const char* label) {
    return Row(0, label, kRowCaption, -1, 0);
}
constexpr MenuListRow T(uint32_t state, const char* label) {
    return Row(state, label, kRowTopMenu, -1, 0);
}
constexpr MenuListRow V(uint32_t state, const char* label, int column, int row) {
    return Row(state, label, kRowValue, column, row);
}

constexpr MenuListRow kTop[] = {
    T(94, "System Information"),
    T(95, "MISC Configuration"),
    T(138, "LAN"),
    T(165, "USB Device"),
    T(170, "RS232C"),
    T(179, "Option Interface"),
    T(192, "Output Impedance"),
    T(207, "Parallel"),
    T(214, "Arbitrary Edit"),
    T(221, "Default Setting"),
    T(223, "Special Function"),
    T(284, "Save/Recall Files"),
    End(),
};

constexpr MenuListRow kLan[] = {
    Caption("Connection Status"),
    Caption("MAC"),
    V(139, "DHCP", menu::kColLan, 0),
    V(141, "IP Address", menu::kColLan, 1),
    V(146, "Subnet Mask", menu::kColLan, 2),
    V(151, "Gateway", menu::kColLan, 3),
    V(156, "DNS", menu::kColLan, 4),
    V(161, "Socket Port", menu::kColLan, 5),
    V(163, "Web Password", menu::kColLan, 6),
    End(),
};

constexpr MenuListRow kRs232[] = {
    V(171, "Baudrate", menu::kColRs232, 0),
    V(173, "Databits", menu::kColRs232, 1),
    V(175, "Parity", menu::kColRs232, 2),
    V(177, "Stopbits", menu::kColRs232, 3),
    End(),
};

constexpr MenuListRow kGpib[] = {V(180, "Address", menu::kColGpib, 0), End()};

constexpr MenuListRow kCan[] = {
    Caption("Protocol"),
    V(183, "Baudrate", menu::kColCan, 0),
    V(185, "Node ID", menu::kColCan, 1),
    End(),
};

constexpr MenuListRow kDnet[] = {
    V(188, "Baudrate", menu::kColDnet, 0),
    V(190, "MAC ID", menu::kColDnet, 1),
    End(),
};

constexpr MenuListRow kImpedance[] = {
    V(193, "Output Impedance", menu::kColImpedance, 0),
    V(195, "L1 Output Inductance", menu::kColImpedance, 1),
    V(197, "L2 Output Inductance", menu::kColImpedance, 2),
    V(199, "L3 Output Inductance", menu::kColImpedance, 3),
    V(201, "L1 Output Resistance", menu::kColImpedance, 4),
    V(203, "L2 Output Resistance", menu::kColImpedance, 5),
    V(205, "L3 Output Resistance", menu::kColImpedance, 6),
    End(),
};

constexpr MenuListRow kParallel[] = {
    V(208, "Position", menu::kColParallel, 0),
    V(210, "Parallel Number", menu::kColParallel, 1),
    V(212, "Enable", menu::kColParallel, 2),
    End(),
};

constexpr MenuListRow kUsb[] = {
    Caption("Connection Status"),
    V(166, "Speed", menu::kColUsb, 0),
    V(168, "Mode", menu::kColUsb, 1),
    End(),
};

constexpr MenuListRow kLcd[] = {
    V(215, "Contrast(%)", menu::kColLcd, 0),
    V(217, "Brightness(%)", menu::kColLcd, 1),
    V(219, "Saturation(%)", menu::kColLcd, 2),
    End(),
};

constexpr MenuListRow kMisc[] = {
    V(96, "T peak,hold(msec)", menu::kColMisc1, 0),  V(98, "Output Phase", menu::kColMisc1, 1),
    V(100, "Phase Mode", menu::kColMisc1, 2),        V(102, "Peak CLR", menu::kColMisc1, 3),
    V(104, "Power ON", menu::kColMisc1, 4),          V(106, "Buzzer", menu::kColMisc1, 5),
    V(108, "Remote Sense", menu::kColMisc1, 6),      V(110, "V Response", menu::kColMisc1, 7),
    V(112, "Output Relay", menu::kColMisc1, 8),      V(114, "THD Format", menu::kColMisc1, 9),
    V(116, "External Control", menu::kColMisc1, 10), V(118, "V Unit(TRI, ARB)", menu::kColMisc1, 11),
    V(120, "Set Change Phase", menu::kColMisc1, 12), V(122, "Monitor Output 1", menu::kColMisc1, 13),
    V(124, "Monitor Output 2", menu::kColMisc1, 14), V(126, "Monitor Output Amp", menu::kColMisc2, 0),
    V(128, "TrgOut Width(ms)", menu::kColMisc2, 1),  V(130, "TrgOut Source", menu::kColMisc2, 2),
    V(132, "Re-lock", menu::kColMisc2, 3),           V(134, "Data Average Count", menu::kColMisc2, 4),
    V(136, "Data Update Rate", menu::kColMisc2, 5),  End(),
};

constexpr MenuListRow kSaveRecall[] = {
    V(285, "Type", menu::kColSaveRecall, 0),
    V(287, "Action", menu::kColSaveRecall, 1),
    V(289, "Memory No.", menu::kColSaveRecall, 2),
    End(),
};

constexpr MenuListRow kBarcode[] = {
    V(292, "Preset0 Barcode", menu::kColBarcode, 0),
    V(294, "Preset1 Barcode", menu::kColBarcode, 1),
    V(296, "Preset2 Barcode", menu::kColBarcode, 2),
    V(298, "Preset3 Barcode", menu::kColBarcode, 3),
    V(300, "Preset4 Barcode", menu::kColBarcode, 4),
    V(302, "Preset5 Barcode", menu::kColBarcode, 5),
    V(304, "Preset6 Barcode", menu::kColBarcode, 6),
    V(306, "Preset7 Barcode", menu::kColBarcode, 7),
    V(308, "Preset8 Barcode", menu::kColBarcode, 8),
    V(310, "Preset9 Barcode", menu::kColBarcode, 9),
    V(312, "Output ON Barcode", menu::kColBarcode, 10),
    V(314, "Output OFF Barcode", menu::kColBarcode, 11),
    End(),
};

struct ListLook {
    const char* title;
    int colonX;
};
constexpr ListLook kLooks[kMenuLists] = {
    {"", 0},
    {"LAN Configuration", 170},
    {"RS232C Configuration", 170},
    {"GPIB Configuration", 170},
    {"CAN BUS Configuration", 170},
    {"DeviceNet Configuration", 170},
    {"Output Impedance Configuration", 190},
    {"Parallel Configuration", 190},
    {"USB Device Configuration", 170},
    {"LCD Configuration", 170},
    {"MISC Configuration", 180},
    {"", 0},
    {"Save/Recall Files", 170},
    {"Barcode Function", 190},
};

}  // namespace

const MenuListRow* const g_MenuListTables[kMenuLists] = {
    kTop,      kLan, kRs232, kGpib, kCan,    kDnet,       kImpedance,
    kParallel, kUsb, kLcd,   kMisc, nullptr, kSaveRecall, kBarcode,
};

namespace menu {

const char* ListTitle(uint32_t list) {
    return list < kMenuLists ? kLooks[list].title : "";
}

int ListColonX(uint32_t list) {
    return list < kMenuLists ? kLooks[list].colonX : 0;
}

int RowOfState(const MenuListRow* table, uint32_t state) {
    if (table == nullptr || state == 0) return -1;
    for (int i = 0; table[i].SelectState != kMenuListEnd; ++i)
        if (table[i].SelectState == state) return i;
    return -1;
}

}  // namespace menu
