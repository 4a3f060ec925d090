#include "screens/menu/nav/menu_nav.h"

#include <atomic>

#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "drivers/panel_link.h"
#include "panel/menu/home_fields.h"
#include "screens/menu/nav/menu_nav_table.h"

namespace {
constexpr uint32_t kFirstOctetCursor = 9;  // the units digit of the first octet

constexpr bool ListsAreWellFormed() {
    uint32_t first = 0;
    for (uint32_t n : kMenuNavListSizes) {
        for (uint32_t i = first; i < first + n; ++i) {
            const uint32_t p = g_MenuNavTable[i].Position;
            const bool ok = n == 1               ? p == kNavOnly
                            : i == first         ? p == kNavFirst
                            : i == first + n - 1 ? p == kNavLast
                                                 : p == kNavMiddle || p == kNavOptional;
            if (!ok) return false;
        }
        first += n;
    }
    return first == kMenuNavRows && g_MenuNavTable[kMenuNavRows].State == kMenuNavEnd;
}
static_assert(ListsAreWellFormed(), "the list sizes and the rows' positions disagree");

uint32_t FindRow(uint32_t state) {
    uint32_t i = 0;
    while (g_MenuNavTable[i].State != kMenuNavEnd && g_MenuNavTable[i].State != state)
        ++i;
    return i;
}

bool IsOctetRow(uint32_t state) {
    return state == kMenuLanIp || state == kMenuLanMask || state == kMenuLanGate || state == kMenuLanDns;
}

// Whether the top-list row at index i is passed over by the knob.
bool Skipped(uint32_t i, uint32_t row) {
    if (g_MenuNavTable[i].State != row) return false;
    switch (row) {
        case kMenuRs232:
            return g_Rs232Present.load(std::memory_order_relaxed) == 0;
        case kMenuOption:
            return g_GpibPresent.load(std::memory_order_relaxed) == 0;
        default:
            return g_ParallelActive.load(std::memory_order_acquire) == 1;
    }
}

void Knob(uint32_t i, int8_t delta) {
    const MenuNavRow& row = g_MenuNavTable[i];
    if (row.Position == kNavOnly) return;
    const MenuNavSpan list = MenuNavListOf(i);
    int64_t t = i;
    if (delta <= 0) {
        if (row.Position != kNavLast) ++t;
        for (uint32_t skip : {kMenuRs232, kMenuOption, kMenuImpedance})
            if (t <= list.last && Skipped(static_cast<uint32_t>(t), skip)) ++t;
    } else {
        if (row.Position != kNavFirst) --t;
        for (uint32_t skip : {kMenuImpedance, kMenuOption, kMenuRs232})
            if (t >= list.first && Skipped(static_cast<uint32_t>(t), skip)) --t;
    }
    if (t < 0) t = 0;
    // Whatever a Position says, the cursor stays in its own list.
    if (t < list.first) t = list.first;
    if (t > list.last) t = list.last;
    g_MenuNavTable[t].EnterSelf();
}
}  // namespace

void menuNavNothing() {}

void KeyProcess_SelectMenuItem(uint32_t* ev) {
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassSoft) {
        KeyProcess_MenuPageKeys(ev);
        return;
    }
    if (cls == kClassFunction) {
        KeyProcess_MenuFunctionKeys(ev);
        return;
    }
    const uint32_t i = FindRow(g_MenuState.load(std::memory_order_relaxed));
    if (i == kMenuNavRows) return;  // a list owner without a row of its own
    const MenuNavRow& row = g_MenuNavTable[i];
    if (cls == kClassKeypad && code == kKeyEnter) {
        if (IsOctetRow(row.State)) {
            if (LanCfgRead().DHCP != 0) return;
            g_EditBuf.choiceCursor = kFirstOctetCursor;
        }
        row.EnterChild();
    } else if (cls == kClassCursor) {
        if (code == kKeyRight)
            row.EnterChild();
        else if (code == kKeyLeft)
            row.EnterParent();
        else if (code == kKeyKnob)
            Knob(i, KeyEventDelta(*ev));
    }
}
