// What the page watches between key presses: the network and interface states, and the settings a remote
// command or another panel may change while the list that shows them is on screen.
#include <atomic>
#include <iterator>

#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/menu_state_ids.h"
#include "screens/menu/page/menu_page_cache.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_windows.h"
#include "sysadmin/net/net_state.h"

using namespace menu;

namespace {

// The LAN windows whose text depends on the link and DHCP: the column and the four address rows.
constexpr int kLanWindows[] = {ColumnWin(kColLan), RowWin(kColLan, 1), RowWin(kColLan, 2), RowWin(kColLan, 3),
                               RowWin(kColLan, 4)};
constexpr int kLcdWindows[] = {ColumnWin(kColLcd), RowWin(kColLcd, 0), RowWin(kColLcd, 1),
                               RowWin(kColLcd, 2)};

// The USB status bits whose change refreshes the preview: the rear device state's bits 1 and 3, and the
// USB memory's mounted bit.
struct UsbBit {
    const std::atomic<uint8_t>* byte;
    uint8_t mask;
};

void RepaintVisible(const int* wins, int n) {
    for (int i = 0; i < n; ++i)
        if (MenuWin_Visible(wins[i])) MenuWin_Repaint(wins[i]);
}

void PreviewStale() {
    if (MenuWin_Visible(kWinPreview)) g_MenuPageCache.previewPending = 1;
}

bool TakeFlag(uint32_t bit, bool now) {
    MenuPageCache& c = g_MenuPageCache;
    if (((c.flagBits & bit) != 0) == now) return false;
    c.flagBits = now ? (c.flagBits | bit) : (c.flagBits & ~bit);
    return true;
}

enum Source : uint8_t { kParam, kPhase, kCanBaud, kCanNode, kDnetBaud, kDnetMac };

struct Watched {
    Source source;
    uint32_t id;           // parameter id (kParam)
    uint32_t first, last;  // states of the list that shows it
    int column;            // value column repainted
    int rowWin;            // the row's value window
    uint32_t previewRow;   // top-menu state whose preview shows it
    uint32_t editState;    // the state that edits it
    bool fieldbus;         // the CAN BUS / DeviceNet order of repaints
};

constexpr uint32_t kMiscFirst = kMenuIpkHold, kMiscLast = kMenuUpdateRateEdit;

constexpr Watched Misc(uint32_t id, int row) {
    const int column = row < 15 ? kColMisc1 : kColMisc2;
    return {kParam,    id, kMiscFirst, kMiscLast, column, RowWin(column, row < 15 ? row : row - 15),
            kMenuMisc, id, false};
}
constexpr Watched Impedance(uint32_t id, int row) {
    return {kParam,
            id,
            kMenuImpedanceOn,
            kMenuL3ResistanceEdit,
            kColImpedance,
            RowWin(kColImpedance, row),
            kMenuImpedance,
            id,
            false};
}

// A MISC setting repaints the column that holds its row whenever the MISC list is on screen.
constexpr Watched kWatched[] = {
    Misc(kParamPeakHoldTime, 0),
    {kPhase, 0, kMiscFirst, kMiscLast, kColMisc1, RowWin(kColMisc1, 1), kMenuMisc, kMenuOutputPhaseEdit,
     false},
    Misc(kParamBalanceMode, 2),
    Misc(kParamPeakClearItem, 3),
    Misc(kParamPowerOnState, 4),
    Misc(kParamBuzzer, 5),
    Misc(kParamRemoteSense, 6),
    Misc(kParamSlewRate, 7),
    Misc(kParamOutputRelay, 8),
    Misc(kParamHarmMode, 9),
    Misc(kParamExtControl, 10),
    Misc(kParamAcvUnit, 11),
    Misc(kParamPhaseSetChange, 12),
    Misc(kParamMonitorSource1, 13),
    Misc(kParamMonitorSource2, 14),
    Misc(kParamMonitorAmp, 15),
    Misc(kParamTrigWidth, 16),
    Misc(kParamTrigSource, 17),
    Misc(kParamRelock, 18),
    Misc(kParamAvgCount, 19),
    Misc(kParamUpdateRate, 20),
    Impedance(kParamOutputImpedance, 0),
    Impedance(kParamInductanceL1, 1),
    Impedance(kParamInductanceL2, 2),
    Impedance(kParamInductanceL3, 3),
    Impedance(kParamResistanceL1, 4),
    Impedance(kParamResistanceL2, 5),
    Impedance(kParamResistanceL3, 6),
    {kParam, kParamParallelPosition, kMenuParallelPosition, kMenuParallelEnableEdit, kColParallel,
     RowWin(kColParallel, 0), kMenuParallel, kMenuParallelPositionEdit, false},
    {kParam, kParamParallelEnable, kMenuParallelPosition, kMenuParallelEnableEdit, kColParallel,
     RowWin(kColParallel, 2), kMenuParallel, kMenuParallelEnableEdit, false},
    {kCanBaud, 0, kMenuCanopenBaud, kMenuCanopenNodeEdit, kColCan, RowWin(kColCan, 0), kMenuCanopen,
     kMenuCanopenBaudEdit, true},
    {kCanNode, 0, kMenuCanopenBaud, kMenuCanopenNodeEdit, kColCan, RowWin(kColCan, 1), kMenuCanopen,
     kMenuCanopenNodeEdit, true},
    {kDnetBaud, 0, kMenuDevicenetBaud, kMenuDevicenetMacEdit, kColDnet, RowWin(kColDnet, 0), kMenuDevicenet,
     kMenuDevicenetBaudEdit, true},
    {kDnetMac, 0, kMenuDevicenetBaud, kMenuDevicenetMacEdit, kColDnet, RowWin(kColDnet, 1), kMenuDevicenet,
     kMenuDevicenetMacEdit, true},
};

static_assert(std::size(kWatched) == kMenuWatchedSettings, "one cached word per watched setting");

uint32_t IfaceWord(const uint32_t& word) {
    return std::atomic_ref<const uint32_t>(word).load(std::memory_order_relaxed);
}

uint32_t Read(const Watched& w) {
    switch (w.source) {
        case kParam:
            return static_cast<uint32_t>(paramGetValue(w.id, 0));
        case kPhase:
            return GetPhaseMode();
        case kCanBaud:
            return IfaceWord(g_IfaceCfg.canopenBaud);
        case kCanNode:
            return IfaceWord(g_IfaceCfg.canopenNodeId);
        case kDnetBaud:
            return IfaceWord(g_IfaceCfg.devicenetBaud);
        case kDnetMac:
            return IfaceWord(g_IfaceCfg.devicenetMacId);
    }
    return 0;
}

void Changed(const Watched& w, uint32_t value) {
    const uint32_t state = MenuPage_State();
    const bool inRange = state >= w.first && state <= w.last;
    const auto followOrRow = [&] {
        if (state == w.editState)
            ScreenRequest_Ask(ScreenRequest::kEditFollow, state, static_cast<int32_t>(value));
        else
            MenuWin_Repaint(w.rowWin);
    };
    if (w.fieldbus) {
        if (inRange) {
            MenuWin_Repaint(w.rowWin);
            followOrRow();
        }
        if (inRange || state == w.previewRow) MenuWin_Repaint(ColumnWin(w.column));
        return;
    }
    if (inRange) {
        MenuWin_Repaint(ColumnWin(w.column));
        followOrRow();
    }
    if (state == w.previewRow) MenuWin_Repaint(kWinPreview);
}

}  // namespace

void MenuPage_WatchSettings() {
    MenuPageCache& c = g_MenuPageCache;
    for (int i = 0; i < kMenuWatchedSettings; ++i) {
        const uint32_t v = Read(kWatched[i]);
        if (v == c.watched[i]) continue;
        c.watched[i] = v;
        Changed(kWatched[i], v);
    }
}

void MenuPage_WatchInterfaces() {
    MenuPageCache& c = g_MenuPageCache;
    uint32_t requested = 1;
    if (g_NetSeq.addrChanged.compare_exchange_strong(requested, 0, std::memory_order_acq_rel)) {
        RepaintVisible(kLanWindows, 5);
        PreviewStale();
    }
    if (TakeFlag(kCacheLanLink, g_NetSeq.linkState.load(std::memory_order_relaxed) != 0)) {
        RepaintVisible(kLanWindows, 5);
        PreviewStale();
    } else if (TakeFlag(kCacheDhcp, LanCfgRead().DHCP != 0)) {
        RepaintVisible(kLanWindows, 5);
        if (MenuWin_Visible(kWinListArea)) MenuWin_Repaint(kWinListArea);
    }
    const UsbBit usbBits[3] = {{&g_UsbState.statusC, 1u << 1},
                               {&g_UsbState.statusC, 1u << 3},
                               {&g_UsbState.statusB, core::kUsbMounted}};
    for (int i = 0; i < 3; ++i)
        if (TakeFlag(kCacheUsbBit0 << i,
                     (usbBits[i].byte->load(std::memory_order_relaxed) & usbBits[i].mask) != 0))
            PreviewStale();
    const uint32_t lcd = IfaceLcdWord() & 0xFFFFFFu;
    if (lcd != c.cachedLcdWord) {
        RepaintVisible(kLcdWindows, 4);
        c.cachedLcdWord = lcd;
    }
    const uint32_t gpib = IfaceGpibAddress();
    if (gpib != c.cachedGpibAddress) {
        PreviewStale();
        c.cachedGpibAddress = gpib;
    }
    const uint8_t rs232 =
        std::atomic_ref<const uint8_t>(g_IfaceCfg.rs232Enable).load(std::memory_order_relaxed);
    if (TakeFlag(kCacheRs232Enable, rs232 != 0)) {
        // The list dims its rows while the port is disabled.
        MenuWin_Repaint(ColumnWin(kColRs232));
        MenuWin_Repaint(kWinListArea);
    }
}
