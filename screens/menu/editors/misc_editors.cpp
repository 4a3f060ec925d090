#include "screens/menu/editors/misc_editors.h"

#include <atomic>

#include "core/params/access/param_access.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/menu/dialog_words.h"
#include "panel/menu/field_openers.h"
#include "platform/stage/wiring_codes.h"
#include "screens/menu/editors/menu_editor.h"
#include "sysadmin/firmware/fw_update.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

enum class Kind : uint8_t {
    kChoice,
    kNumeric,
    kMonitor,  // a choice of six sources whose L3 entries are passed over below 3P4W
};
enum class Upper : uint8_t {
    kEdit,         // the edit words' limit
    kWiring,       // by the wiring: the row's three limits
    kRemoteSense,  // 0 while remote sensing is blocked
    kSlewRate,     // one less while the fastest response is not allowed
};
enum class After : uint8_t {
    kStore,      // stores a changed choice or the number
    kPhase,      // a changed wiring goes to the confirmation instead of the store
    kPeakClear,  // stores always (ALL in 1P2W) and clears the peak hold
    kMonitor1,   // stores always and applies the source
    kMonitor2,
    kMonitorScale,   // stores a changed choice and re-applies the scale factors
    kTriggerSource,  // stores a changed choice and applies the source bits
};

struct MiscRow {
    uint16_t state;
    Kind kind;
    bool knobOnly;
    Upper upper;
    After after;
    int8_t upper3P4W, upper1P2W, upper1P3W;  // with Upper::kWiring
};

constexpr MiscRow Choice(uint16_t s, After a = After::kStore, Upper u = Upper::kEdit) {
    return {s, Kind::kChoice, false, u, a, 0, 0, 0};
}
constexpr MiscRow ByWiring(uint16_t s, Kind k, After a, int8_t u3P4W, int8_t u1P2W, int8_t u1P3W) {
    return {s, k, false, Upper::kWiring, a, u3P4W, u1P2W, u1P3W};
}

constexpr MiscRow kMiscRows[] = {
    {kMenuIpkHoldEdit, Kind::kNumeric, false, Upper::kEdit, After::kStore, 0, 0, 0},
    ByWiring(kMenuOutputPhaseEdit, Kind::kChoice, After::kPhase, 2, 2,
             2),  // the three wirings; the setting has no record
    Choice(kMenuPhaseModeEdit),
    ByWiring(kMenuIpkhClrEdit, Kind::kChoice, After::kPeakClear, 3, 0, 2),
    {kMenuPowerOnEdit, Kind::kChoice, true, Upper::kEdit, After::kStore, 0, 0, 0},
    Choice(kMenuBuzzerEdit),
    Choice(kMenuRemoteSenseEdit, After::kStore, Upper::kRemoteSense),
    Choice(kMenuSlewRateEdit, After::kStore, Upper::kSlewRate),
    Choice(kMenuOutputRelayEdit),
    Choice(kMenuHarmModeEdit),
    Choice(kMenuExtControlEdit),
    Choice(kMenuAcvUnitEdit),
    Choice(kMenuSetChangePhaseEdit),
    ByWiring(kMenuMonitorSource1Edit, Kind::kMonitor, After::kMonitor1, 5, 3, 4),
    ByWiring(kMenuMonitorSource2Edit, Kind::kMonitor, After::kMonitor2, 5, 3, 4),
    Choice(kMenuMonitorAmpEdit, After::kMonitorScale),
    {kMenuTriggerWidthEdit, Kind::kNumeric, false, Upper::kEdit, After::kStore, 0, 0, 0},
    ByWiring(kMenuTriggerSourceEdit, Kind::kChoice, After::kTriggerSource, 2, 0, 1),
    Choice(kMenuRelockEdit),
    {kMenuAvgCountEdit, Kind::kNumeric, false, Upper::kEdit, After::kStore, 0, 0, 0},
    {kMenuUpdateRateEdit, Kind::kChoice, true, Upper::kEdit, After::kStore, 0, 0, 0},
};
static_assert(sizeof kMiscRows / sizeof kMiscRows[0] == (kMiscLastEditor - kMiscFirstEditor) / 2 + 1);

constexpr bool RowsInStateOrder() {
    for (uint32_t i = 0; i < sizeof kMiscRows / sizeof kMiscRows[0]; ++i)
        if (kMiscRows[i].state != kMiscFirstEditor + 2 * i) return false;
    return true;
}
static_assert(RowsInStateOrder(), "one row per MISC edit state, in state order");

const MiscRow* FindRow(uint32_t state) {
    if (state < kMiscFirstEditor || state > kMiscLastEditor || (state - kMiscFirstEditor) % 2 != 0)
        return nullptr;
    return &kMiscRows[(state - kMiscFirstEditor) / 2];
}

uint32_t Wiring() {
    return GetPhaseMode();
}

int32_t Work() {
    return g_EditParam.workValue.load(kRelaxed);
}

int32_t StepUpper(uint32_t state) {
    const MiscRow* row = FindRow(state);
    const int32_t max = g_EditParam.max;
    switch (row->upper) {
        case Upper::kEdit:
            return max;
        case Upper::kWiring:
            return Wiring() == kWiring1P2W   ? row->upper1P2W
                   : Wiring() == kWiring1P3W ? row->upper1P3W
                                             : row->upper3P4W;
        case Upper::kRemoteSense:
            return RemoteSenseBlockReason() != 0 ? 0 : max;
        case Upper::kSlewRate: {
            const bool impedance = GetOutputImpedance() != 0;
            const bool slower = g_ModelVariantA.load(kRelaxed) == 1
                                    ? impedance
                                    : Wiring() == kWiring1P2W || impedance ||
                                          g_ParallelActive.load(std::memory_order_acquire) == 1;
            return slower ? max - 1 : max;
        }
    }
    return max;
}

// Passes over the sources the wiring lacks: 1P2W keeps L1 voltage (0) and L1 current (3), 1P3W the L1 and
// L2 ones (0, 1, 3, 4).
void MonitorStepped(uint32_t state, int32_t before) {
    if (FindRow(state)->kind != Kind::kMonitor) return;
    const int32_t now = Work(), min = g_EditParam.min, upper = StepUpper(state);
    int32_t v = now;
    if (Wiring() == kWiring1P3W) {
        if (now < before && now == 2 && now != min)
            v = 1;
        else if (now > before && now == 2 && now != upper)
            v = 3;
    } else if (Wiring() == kWiring1P2W) {
        if (now < before && now != min && now != 3)
            v = 0;
        else if (now > before && now != upper && now != 0)
            v = 3;
    }
    g_EditParam.workValue.store(v, kRelaxed);
}

void Enter(uint32_t id) {
    const MiscRow* row = FindRow(id);
    switch (row->after) {
        case After::kStore:
            if (row->kind == Kind::kNumeric)
                MenuEdit_StoreNumeric(id);
            else
                MenuEdit_StoreChoice(id);
            break;
        case After::kPhase:
            if (Work() == g_EditParam.startValue) break;
            g_CfgPhaseChoice.store(static_cast<uint32_t>(Work()), kRelaxed);
            g_PhaseChangeFromHome.store(0, kRelaxed);  // No on the confirmation comes back to row 98
            Enter_KeyProcess_Switch_OutputPhaseCheck();
            return;
        case After::kPeakClear:
            if (Wiring() == kWiring1P2W) g_EditParam.workValue.store(0, kRelaxed);
            MenuEdit_StoreAlways(id);
            PeakClearRequest();
            ShowMessage(2, "Peak Hold Clear \nSuccess");
            break;
        case After::kMonitor1:
        case After::kMonitor2:
            MenuEdit_StoreAlways(id);
            if (row->after == After::kMonitor1)
                SetMonitorSource1(Work());
            else
                SetMonitorSource2(Work());
            break;
        case After::kMonitorScale:
            MenuEdit_StoreChoice(id);
            ApplyMonitorScale();
            break;
        case After::kTriggerSource:
            MenuEdit_StoreChoice(id);
            SetTriggerSourceBits(Work());
            break;
    }
    MenuEdit_ReturnToRow(id - 1u);
}

}  // namespace

void MiscEditor_Keys(uint32_t state, uint32_t* ev) {
    const MiscRow* row = FindRow(state);
    if (row == nullptr) return;
    const MenuEditor ed{
        state,
        state - 1u,
        row->kind == Kind::kNumeric ? MenuEditKind::kNumeric : MenuEditKind::kChoice,
        row->knobOnly,
        StepUpper,
        MonitorStepped,
        Enter,
    };
    MenuEditor_Keys(ev, ed);
}
