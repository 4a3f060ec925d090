// The title bar, the hint line of the item being edited and the six soft keys' labels, by menu state.
#include <cstring>

#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/links/parallel_link.h"
#include "engine/arb/arb_builder.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/panel_text.h"
#include "panel/menu/menu_page_words.h"
#include "screens/menu/page/menu_art.h"
#include "screens/menu/page/menu_fonts.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_paint.h"
#include "screens/menu/page/menu_windows.h"
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
    {97, kFixed, "1 - 60,000 ms"},
    {99, kFixed, "3P4W|1P2W|1P3W"},
    {101, kFixed, "Unbalance|Balance"},
    {103, kPeakClear, nullptr},
    {105, kFixed, "OFF|ON|SEQ|SIM"},
    {107, kFixed, "OFF|ON"},
    {109, kFixed, "OFF|ON"},
    {111, kResponse, nullptr},
    {113, kFixed, "Disable|Enable"},
    {115, kFixed, "IEC|CSA"},
    {117, kFixed, "OFF|ON"},
    {119, kFixed, "rms|p-p"},
    {121, kFixed, "OFF|ON"},
    {123, kMonitor, nullptr},
    {125, kMonitor, nullptr},
    {127, kFixed, "\xB1 2.5|\xB1 10"},
    {129, kFixed, "0.1 - 60 ms"},
    {131, kTrigSource, nullptr},
    {133, kFixed, "OFF|ON"},
    {135, kFixed, "1 - 128"},
    {137, kFixed, "Fast|0.1s|0.25s|0.5s|1s|2s|5s|10s|20s"},
    {140, kFixed, "OFF|ON"},
    {162, kFixed, "0001 - 9999"},
    {164, kFixed, "0001 - 9999"},
    {167, kFixed, "Auto|Full"},
    {169, kFixed, "TMC|CDC"},
    {172, kFixed, "1200|2400|4800|9600|19200|38400|57600|115200"},
    {174, kFixed, "7bits|8bits"},
    {176, kFixed, "None|Odd|Even"},
    {178, kFixed, "1bit|2bits"},
    {181, kFixed, "0 - 30"},
    {184, kFixed, "125K|250K|500K|1M|Auto"},
    {186, kFixed, "1 - 127"},
    {189, kFixed, "125K|250K|500K|Auto"},
    {191, kFixed, "0 - 63"},
    {194, kFixed, "OFF|ON"},
    {196, kFixed, "0.0 - 2000\xB4H"},
    {198, kFixed, "0.0 - 2000\xB4H"},
    {200, kFixed, "0.0 - 2000\xB4H"},
    {202, kFixed, "0.0 - 1\xB5"},
    {204, kFixed, "0.0 - 1\xB5"},
    {206, kFixed, "0.0 - 1\xB5"},
    {209, kFixed, "Slave|Master"},
    {211, kFixed, "2 - 3"},
    {213, kFixed, "OFF|ON"},
    {216, kFixed, "1 - 100%"},
    {218, kFixed, "1 - 100%"},
    {220, kFixed, "1 - 100%"},
    {286, kFixed, "PRESET|SEQUENCE|SIMULATE|ARB|All Data"},
    {288, kActions, nullptr},
    {290, kMemoryRange, nullptr},
};

// Texts by output phase: 0 3P4W, 1 1P2W, 2 1P3W.
const char* ByPhase(const char* three, const char* one, const char* split) {
    switch (GetPhaseMode()) {
        case 1:
            return one;
        case 2:
            return split;
        default:
            return three;
    }
}

const char* ResponseHint() {
    const bool impedanceOn = paramGetValue(kParamOutputImpedance, 0, 0) != 0;
    const bool variantA = g_ModelVariantA.load(std::memory_order_relaxed) != 0;
    const bool limited =
        !variantA && (GetPhaseMode() == 1 || g_ParallelActive.load(std::memory_order_relaxed) == 1);
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
    {0, 95, 95, 1, kPreviewPage1, "Page\nUp"},
    {0, 195, 205, 2, kAlways, "APPLY\nALL\nPHASE"},
    {0, 285, 289, 2, kAlways, "EXE"},
    {0, 496, 544, 2, kAlways, "SAVE"},
    {0, 513, 513, 1, kAlways, "2%"},
    {0, 517, 517, 1, kAlways, "1"},
    {1, 95, 95, 1, kPreviewPage0, "Page\nDown"},
    {1, 513, 513, 1, kAlways, "5%"},
    {1, 517, 517, 1, kAlways, "2"},
    {1, 514, 518, 2, kAlways, kSaveApplyL1},
    {1, 526, 540, 2, kAlways, kSaveApplyL1},
    {1, 520, 524, 2, kAlways, kLowAngles},
    {1, 542, 544, 2, kWaveType29, kLowAngles},
    {1, 542, 544, 2, kWaveType28Or30, kSaveApplyL1},
    {2, 215, 220, 1, kAlways, "DEFAULT"},
    {2, 513, 513, 1, kAlways, "10%"},
    {2, 517, 517, 1, kAlways, "3"},
    {2, 514, 518, 2, kAlways, kSaveApplyL2},
    {2, 526, 540, 2, kAlways, kSaveApplyL2},
    {2, 520, 524, 2, kAlways, kHighAngles},
    {2, 542, 544, 2, kWaveType29, kHighAngles},
    {2, 542, 544, 2, kWaveType28Or30, kSaveApplyL2},
    {3, 513, 513, 1, kAlways, "15%"},
    {3, 517, 517, 1, kAlways, "6"},
    {3, 514, 518, 2, kAlways, kSaveApplyL3},
    {3, 526, 540, 2, kAlways, kSaveApplyL3},
    {3, 542, 544, 2, kWaveType28Or30, kSaveApplyL3},
    {4, 526, 540, 2, kAlways, "DEF1"},
    {4, 542, 544, 2, kWaveType30, "DEF1"},
    // The confirmation (222), the password entry (224) and the service lists (225-283) have no EXIT.
    {5, 94, 221, 1, kAlways, "EXIT"},
    {5, 223, 223, 1, kAlways, "EXIT"},
    {5, 284, 315, 1, kAlways, "EXIT"},
    {5, 495, 544, 1, kAlways, "EXIT"},
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
