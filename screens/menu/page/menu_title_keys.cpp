// The title bar, the hint line of the item being edited and the six soft keys' labels, by menu state.
#include <cstring>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/arb/arb_builder.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/menu/menu_page_words.h"
#include "platform/stage/wiring_codes.h"
#include "screens/menu/page/menu_art.h"
#include "screens/menu/page/menu_fonts.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"
#include "screens/menu/rows/menu_row_table.h"
#include "sysadmin/firmware/fw_update.h"

namespace {

// Hints that depend on more than the state.
enum HintRule : uint8_t {
    kFixed,
    kPeakClear,    // by the output phase
    kResponse,     // by impedance, wiring and parallel operation
    kMonitor,      // by the output phase
    kTrigSource,   // by the output phase
    kActions,      // by the Save/Recall type
    kMemoryRange,  // by the Save/Recall type
};

struct Hint {
    uint32_t state;
    HintRule rule;
    const char* text;
};

constexpr Hint kHints[] = {
    {kMenuIpkHoldEdit, kFixed, "1 - 60,000 ms"},
    {kMenuOutputPhaseEdit, kFixed, "3P4W|1P2W|1P3W"},
    {kMenuPhaseModeEdit, kFixed, "Unbalance|Balance"},
    {kMenuIpkhClrEdit, kPeakClear, nullptr},
    {kMenuPowerOnEdit, kFixed, "OFF|ON|SEQ|SIM"},
    {kMenuBuzzerEdit, kFixed, "OFF|ON"},
    {kMenuRemoteSenseEdit, kFixed, "OFF|ON"},
    {kMenuSlewRateEdit, kResponse, nullptr},
    {kMenuOutputRelayEdit, kFixed, "Disable|Enable"},
    {kMenuHarmModeEdit, kFixed, "IEC|CSA"},
    {kMenuExtControlEdit, kFixed, "OFF|ON"},
    {kMenuAcvUnitEdit, kFixed, "rms|p-p"},
    {kMenuSetChangePhaseEdit, kFixed, "OFF|ON"},
    {kMenuMonitorSource1Edit, kMonitor, nullptr},
    {kMenuMonitorSource2Edit, kMonitor, nullptr},
    {kMenuMonitorAmpEdit, kFixed, "\xB1 2.5|\xB1 10"},
    {kMenuTriggerWidthEdit, kFixed, "0.1 - 60 ms"},
    {kMenuTriggerSourceEdit, kTrigSource, nullptr},
    {kMenuRelockEdit, kFixed, "OFF|ON"},
    {kMenuAvgCountEdit, kFixed, "1 - 128"},
    {kMenuUpdateRateEdit, kFixed, "Fast|0.1s|0.25s|0.5s|1s|2s|5s|10s|20s"},
    {kMenuLanDhcpEdit, kFixed, "OFF|ON"},
    {kMenuLanSocketEdit, kFixed, "0001 - 9999"},
    {kMenuLanWebPasswordEdit, kFixed, "0001 - 9999"},
    {kMenuUsbSpeedEdit, kFixed, "Auto|Full"},
    {kMenuUsbModeEdit, kFixed, "TMC|CDC"},
    {kMenuRs232BaudEdit, kFixed, "1200|2400|4800|9600|19200|38400|57600|115200"},
    {kMenuRs232DataBitsEdit, kFixed, "7bits|8bits"},
    {kMenuRs232ParityEdit, kFixed, "None|Odd|Even"},
    {kMenuRs232StopBitsEdit, kFixed, "1bit|2bits"},
    {kMenuGpibAddressEdit, kFixed, "0 - 30"},
    {kMenuCanopenBaudEdit, kFixed, "125K|250K|500K|1M|Auto"},
    {kMenuCanopenNodeEdit, kFixed, "1 - 127"},
    {kMenuDevicenetBaudEdit, kFixed, "125K|250K|500K|Auto"},
    {kMenuDevicenetMacEdit, kFixed, "0 - 63"},
    {kMenuImpedanceOnEdit, kFixed, "OFF|ON"},
    {kMenuL1InductanceEdit, kFixed, "0.0 - 2000\xB4H"},
    {kMenuL2InductanceEdit, kFixed, "0.0 - 2000\xB4H"},
    {kMenuL3InductanceEdit, kFixed, "0.0 - 2000\xB4H"},
    {kMenuL1ResistanceEdit, kFixed, "0.0 - 1\xB5"},
    {kMenuL2ResistanceEdit, kFixed, "0.0 - 1\xB5"},
    {kMenuL3ResistanceEdit, kFixed, "0.0 - 1\xB5"},
    {kMenuParallelPositionEdit, kFixed, "Slave|Master"},
    {kMenuParallelNumberEdit, kFixed, "2 - 3"},
    {kMenuParallelEnableEdit, kFixed, "OFF|ON"},
    {kMenuLcdContrastEdit, kFixed, "1 - 100%"},
    {kMenuLcdBrightnessEdit, kFixed, "1 - 100%"},
    {kMenuLcdSaturationEdit, kFixed, "1 - 100%"},
    {kMenuSavRecTypeEdit, kFixed, "PRESET|SEQUENCE|SIMULATE|ARB|All Data"},
    {kMenuSavRecActionEdit, kActions, nullptr},
    {kMenuSavRecMemoryEdit, kMemoryRange, nullptr},
};

// Every hint is the hint of a list row's editor.
constexpr bool HintsAreEditors() {
    for (const Hint& h : kHints) {
        bool found = false;
        for (const menu_rows::MenuRow& r : menu_rows::kMenuRows)
            found = found || (r.state != 0 && r.state + 1 == h.state);
        if (!found) return false;
    }
    return true;
}
static_assert(HintsAreEditors(), "a hint names no row's editor");

// Texts by output phase: 3P4W, 1P2W, 1P3W.
const char* ByPhase(const char* three, const char* one, const char* split) {
    switch (GetPhaseMode()) {
        case kWiring1P2W:
            return one;
        case kWiring1P3W:
            return split;
        default:
            return three;
    }
}

const char* ResponseHint() {
    const bool impedanceOn = paramGetValue(kParamOutputImpedance, 0) != 0;
    const bool variantA = g_ModelVariantA.load(std::memory_order_relaxed) != 0;
    const bool limited =
        !variantA && (GetPhaseMode() == kWiring1P2W || g_ParallelActive.load(std::memory_order_relaxed) == 1);
    return impedanceOn || limited ? "Slow|Medium" : "Slow|Medium|Fast";
}

const char* HintText(const Hint& h) {
    const uint32_t type = SaveRecallType.load(std::memory_order_relaxed);
    switch (h.rule) {
        case kFixed:
            return h.text;
        case kPeakClear:
            return ByPhase("ALL|L1|L2|L3", "ALL", "ALL|L1|L2");
        case kResponse:
            return ResponseHint();
        case kMonitor:
            return ByPhase("L1 Voltage|L2 Voltage|L3 Voltage|L1 Current|L2 Current|L3 Current",
                           "L1 Voltage|L1 Current", "L1 Voltage|L2 Voltage|L1 Current|L2 Current");
        case kTrigSource:
            return ByPhase("L1|L2|L3", "L1", "L1|L2");
        case kActions:
            return type == 0 ? "MEM\xB2USB|MEM\xB3USB|Delete|Save|Recall" : "MEM\xB2USB|MEM\xB3USB|Delete";
        case kMemoryRange:
            return type == 3 ? "1 - 253" : "0 - 9";
    }
    return "";
}

// Soft-key labels: the first row of the key whose states hold the current one wins.
enum KeyRule : uint8_t {
    kAlways,
    kPreviewPage0,  // the first MISC preview page is shown
    kPreviewPage1,
    kWaveType29,  // the built-in waveform type
    kWaveType28Or30,
    kWaveType30,
};

struct KeyLabel {
    int key;  // 0-4 F1-F5, 5 F6
    uint32_t first, last;
    uint32_t step;  // 2: every other state from first
    KeyRule rule;
    const char* label;
};

constexpr const char* kSaveApplyL1 = "SAVE & \nAPPLY\nL1";
constexpr const char* kSaveApplyL2 = "SAVE & \nAPPLY\nL2";
constexpr const char* kSaveApplyL3 = "SAVE & \nAPPLY\nL3";
constexpr const char* kLowAngles = "0.1,\n89.9,\n90.0";
constexpr const char* kHighAngles = "270.0,\n359.8,\n359.9";

constexpr KeyLabel kKeyLabels[] = {
    {0, kMenuMisc, kMenuMisc, 1, kPreviewPage1, "Page\nUp"},
    {0, kMenuL1Inductance, kMenuL3Resistance, 2, kAlways, "APPLY\nALL\nPHASE"},
    {0, kMenuSavRecType, kMenuSavRecMemory, 2, kAlways, "EXE"},
    {0, kMenuArbTriangle, kMenuArbType, 2, kAlways, "SAVE"},
    {0, kMenuArbRippleLevelEdit, kMenuArbRippleLevelEdit, 1, kAlways, "2%"},
    {0, kMenuArbRippleTimesEdit, kMenuArbRippleTimesEdit, 1, kAlways, "1"},
    {1, kMenuMisc, kMenuMisc, 1, kPreviewPage0, "Page\nDown"},
    {1, kMenuArbRippleLevelEdit, kMenuArbRippleLevelEdit, 1, kAlways, "5%"},
    {1, kMenuArbRippleTimesEdit, kMenuArbRippleTimesEdit, 1, kAlways, "2"},
    {1, kMenuArbRippleLevel, kMenuArbRippleTimes, 2, kAlways, kSaveApplyL1},
    {1, kMenuArbLfRingAcv, kMenuArbLfRingRing, 2, kAlways, kSaveApplyL1},
    {1, kMenuArbDipStart, kMenuArbDipEnd, 2, kAlways, kLowAngles},
    {1, kMenuArbArbNo, kMenuArbType, 2, kWaveType29, kLowAngles},
    {1, kMenuArbArbNo, kMenuArbType, 2, kWaveType28Or30, kSaveApplyL1},
    {2, kMenuLcdContrast, kMenuLcdSaturationEdit, 1, kAlways, "DEFAULT"},
    {2, kMenuArbRippleLevelEdit, kMenuArbRippleLevelEdit, 1, kAlways, "10%"},
    {2, kMenuArbRippleTimesEdit, kMenuArbRippleTimesEdit, 1, kAlways, "3"},
    {2, kMenuArbRippleLevel, kMenuArbRippleTimes, 2, kAlways, kSaveApplyL2},
    {2, kMenuArbLfRingAcv, kMenuArbLfRingRing, 2, kAlways, kSaveApplyL2},
    {2, kMenuArbDipStart, kMenuArbDipEnd, 2, kAlways, kHighAngles},
    {2, kMenuArbArbNo, kMenuArbType, 2, kWaveType29, kHighAngles},
    {2, kMenuArbArbNo, kMenuArbType, 2, kWaveType28Or30, kSaveApplyL2},
    {3, kMenuArbRippleLevelEdit, kMenuArbRippleLevelEdit, 1, kAlways, "15%"},
    {3, kMenuArbRippleTimesEdit, kMenuArbRippleTimesEdit, 1, kAlways, "6"},
    {3, kMenuArbRippleLevel, kMenuArbRippleTimes, 2, kAlways, kSaveApplyL3},
    {3, kMenuArbLfRingAcv, kMenuArbLfRingRing, 2, kAlways, kSaveApplyL3},
    {3, kMenuArbArbNo, kMenuArbType, 2, kWaveType28Or30, kSaveApplyL3},
    {4, kMenuArbLfRingAcv, kMenuArbLfRingRing, 2, kAlways, "DEF1"},
    {4, kMenuArbArbNo, kMenuArbType, 2, kWaveType30, "DEF1"},
    // The confirmation (222), the password entry (224) and the service lists (225-283) have no EXIT.
    {5, kMenuSystemInfo, kMenuDefaultSetting, 1, kAlways, "EXIT"},
    {5, kMenuSpecialFunction, kMenuSpecialFunction, 1, kAlways, "EXIT"},
    {5, kMenuSaveRecall, kMenuBarcodeLast, 1, kAlways, "EXIT"},
    {5, kMenuArbTriangleEdit, kMenuArbType, 1, kAlways, "EXIT"},
};

bool RuleHolds(KeyRule rule) {
    const uint32_t page = g_MenuPreviewPage.load(std::memory_order_relaxed);
    switch (rule) {
        case kAlways:
            return true;
        case kPreviewPage0:
            return page == 0;
        case kPreviewPage1:
            return page == 1;
        case kWaveType29:
            return ArbBuild_GetType() == 29;
        case kWaveType28Or30: {
            const int32_t type = ArbBuild_GetType();
            return type == 28 || type == 30;
        }
        case kWaveType30:
            return ArbBuild_GetType() == 30;
    }
    return false;
}

int LineCount(const char* label) {
    int lines = 1;
    for (const char* p = label; *p != 0; ++p)
        lines += *p == '\n';
    return lines;
}

}  // namespace

namespace menu {

const char* HintOfState(uint32_t state) {
    for (const Hint& h : kHints)
        if (h.state == state) return HintText(h);
    return "";
}

const char* SoftKeyLabel(int key, uint32_t state) {
    for (const KeyLabel& k : kKeyLabels) {
        if (k.key != key || state < k.first || state > k.last || (state - k.first) % k.step != 0) continue;
        if (RuleHolds(k.rule)) return k.label;
    }
    return nullptr;
}

}  // namespace menu

void MenuPage_PaintTitle(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    ClearWindow();
    GUI_DrawImage(&menu::art::kTitleSeparator, 0, 21);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    GUI_SelectFont(&kMenuTitleFont);
    SetColorRGB(0xFFFFFF);
    GUI_DrawTextAt("MENU", 5, 13);
}

void MenuPage_PaintHintLine(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    ClearWindow();
    const char* hint = menu::HintOfState(MenuPage_State());
    if (*hint == 0) return;
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_RIGHT | GUI_TA_VCENTER);
    GUI_SelectFont(&kMenuHintFont);
    SetColorRGB(0xFFFFFF);
    GUI_DrawTextAt(hint, 650, 10);
}

void MenuPage_PaintSoftKey(WM_MSG_RECORD* msg) {
    if (!MenuWin_BeginPaint(msg)) return;
    const int key = MenuWin_IndexOf(msg->hWin) - menu::kWinKey0;
    const char* label = menu::SoftKeyLabel(key, MenuPage_State());
    if (label == nullptr) {
        ClearWindow();
        return;
    }
    DrawSoftKey(label, 0, LineCount(label));
}
