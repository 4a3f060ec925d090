// The sixteen octet editors of the LAN addresses (IP, mask, gateway, DNS). A knob step writes the setting
// at once but the interface takes the address only when the editor is left or an octet is entered, so that
// turning through values does not reconfigure the network at every detent. The digit cursor is the choice
// word's (the address rows put it on the first octet), the octet's value the choice word and the edit copy.
#include <mutex>

#include "core/system/config/lan_cfg.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/num_util.h"
#include "drivers/panel_link.h"
#include "screens/menu/editors/iface_edit_keys.h"
#include "screens/menu/editors/lan_octet.h"
#include "screens/menu/editors/menu_editor.h"
#include "screens/menu/rows/row_entries.h"
#include "sysadmin/net/net_commands.h"
#include "sysadmin/net/net_files.h"
#include "sysadmin/net/net_monitor.h"
#include "sysadmin/net/net_state.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int32_t kQuadDigits = 12, kOctetMax = 255;

using Octets = uint8_t (sysadmin::LanCfg::*)[4];

struct Quad {
    uint32_t first;  // the editor of octet 1; octets 2-4 follow
    uint32_t row;
    Octets octets;
    void (*apply)();
};

void ApplyIp() {
    NetIfconfigApply();
    NetGetIpText();
    NetRefreshRequest();
}
void ApplyMask() {
    NetIfconfigApply();
    NetGetMaskText();
    NetRefreshRequest();
}
void ApplyGateway() {
    RouteSetDefault();
    NetGetGatewayText();
    NetRefreshRequest();
}
void ApplyDns() {
    ResolvConfWrite();
    NetGetDnsText();
    NetRefreshRequest();
}

constexpr Quad kQuads[] = {
    {kMenuLanIp1Edit, kMenuLanIp, &sysadmin::LanCfg::IP, ApplyIp},
    {kMenuLanMask1Edit, kMenuLanMask, &sysadmin::LanCfg::MASK, ApplyMask},
    {kMenuLanGate1Edit, kMenuLanGate, &sysadmin::LanCfg::GW, ApplyGateway},
    {kMenuLanDns1Edit, kMenuLanDns, &sysadmin::LanCfg::DNS, ApplyDns},
};

const Quad& QuadOf(uint32_t state) {
    for (const Quad& q : kQuads)
        if (state >= q.first && state < q.first + 4) return q;
    return kQuads[0];
}

// The units digit of octet k (0 = octet 1) counted from the right of the address.
int32_t UnitsDigit(uint32_t k) {
    return 3 * static_cast<int32_t>(3 - k);
}

uint8_t Octet(const Quad& q, uint32_t k) {
    return (LanCfgRead().*q.octets)[k];
}
void SetOctet(const Quad& q, uint32_t k, uint8_t v) {
    const std::lock_guard<std::mutex> hold(g_LanCfgLock);
    (g_LanCfg.*q.octets)[k] = v;
}

void ApplyChanged(const Quad& q) {
    if (g_OctetEdit.changed == 0) return;
    g_OctetEdit.changed = 0;
    q.apply();
}

// The editor of the octet that holds the cursor, with the octet's value; the cursor stays.
void EnterCursorOctet(const Quad& q) {
    const uint32_t cursor = g_EditBuf.choiceCursor;
    g_OctetEdit.digit = cursor % 3;
    MenuRows_EnterState(q.first + 3 - cursor / 3);
}

void EnterKey(const Quad& q, uint32_t k, uint8_t code) {
    uint8_t octet = Octet(q, k);
    if (NumInputToOctet(code, &octet) == 1) {
        SetOctet(q, k, octet);
    } else if (code == kKeyPoint) {
        return;  // the point alone, or a number that is no octet: the entry stays for the exit key
    }
    ApplyChanged(q);
    if (k == 3) {
        MenuEdit_ReturnToRow(q.row);
        return;
    }
    g_EditBuf.choiceCursor = static_cast<uint32_t>(UnitsDigit(k + 1));
    EnterCursorOctet(q);
}

void KnobKey(const Quad& q, uint32_t k, int8_t delta) {
    int32_t digit = static_cast<int32_t>(g_EditBuf.choiceCursor) - UnitsDigit(k);
    if (digit < 0 || digit > 2) digit = 0;
    const int32_t value = EditValueStep(Octet(q, k), digit, delta, kOctetMax, 0);
    SetOctet(q, k, static_cast<uint8_t>(value));
    g_EditParam.workValue.store(value, kRelaxed);
    g_EditBuf.choiceValue = static_cast<uint32_t>(value);
    g_OctetEdit.changed = 1;
}

void OctetKeys(uint32_t* ev, uint32_t state) {
    const Quad& q = QuadOf(state);
    const uint32_t k = state - q.first;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassSoft || cls == kClassFunction || (cls == kClassKeypad && code == kKeyExit))
        ApplyChanged(q);
    if (MenuEdit_CommonClasses(ev)) return;
    if (cls == kClassKeypad) {
        if (code == kKeyExit)
            MenuEdit_Exit(q.row);
        else if (code == kKeyEnter || code == kKeyPoint)
            EnterKey(q, k, code);
        else if (code >= kKeyDigit0 && code <= kKeyDigit9)
            OctetEntryLimit();
        return;
    }
    if (cls != kClassCursor) return;
    if (code == kKeyRight || code == kKeyLeft) {
        const auto cursor = static_cast<int32_t>(g_EditBuf.choiceCursor);
        g_EditBuf.choiceCursor =
            static_cast<uint32_t>(WrapIndex(cursor, code == kKeyRight ? -1 : 1, kQuadDigits));
        EnterCursorOctet(q);
    } else if (code == kKeyKnob) {
        KnobKey(q, k, KeyEventDelta(*ev));
    }
}
}  // namespace

void menuListLanIp1Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanIp1Edit);
}
void menuListLanIp2Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanIp2Edit);
}
void menuListLanIp3Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanIp3Edit);
}
void menuListLanIp4Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanIp4Edit);
}
void menuListLanMask1Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanMask1Edit);
}
void menuListLanMask2Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanMask2Edit);
}
void menuListLanMask3Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanMask3Edit);
}
void menuListLanMask4Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanMask4Edit);
}
void menuListLanGate1Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanGate1Edit);
}
void menuListLanGate2Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanGate2Edit);
}
void menuListLanGate3Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanGate3Edit);
}
void menuListLanGate4Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanGate4Edit);
}
void menuListLanDns1Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanDns1Edit);
}
void menuListLanDns2Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanDns2Edit);
}
void menuListLanDns3Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanDns3Edit);
}
void menuListLanDns4Edit(uint32_t* ev) {
    OctetKeys(ev, kMenuLanDns4Edit);
}
