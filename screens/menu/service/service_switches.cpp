// The service switch list's row actions (states 229-250).
#include "screens/menu/service/service_switches.h"

#include <atomic>

#include "core/control/alarms/alarms.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/service_flags.h"
#include "panel/runtime_init.h"
#include "screens/menu/rows/row_entries.h"

namespace {

enum class Act : uint8_t {
    kWord,           // toggles a service word
    kWordReenter,    // toggles a service word, then the row is entered again
    kFlagBit,        // toggles a bit of the service flag word and writes the word to the power stage
    kVersionDetail,  // toggles the "Version in detail" bit of the tuning flags
    kAlarmMonitor,   // switches the alarm monitor over
    kRdTestMode,     // R&D test mode on and the power limits raised; never cleared here
};

struct SwitchRow {
    uint16_t state;
    Act act;
    uint8_t bit;                                // with kFlagBit
    std::atomic<uint32_t> ServiceFlags::*word;  // with kWord, kWordReenter
};

constexpr SwitchRow Bit(uint16_t state, uint8_t bit) {
    return {state, Act::kFlagBit, bit, nullptr};
}
constexpr SwitchRow Word(uint16_t state, std::atomic<uint32_t> ServiceFlags::*word, Act act = Act::kWord) {
    return {state, act, 0, word};
}
constexpr SwitchRow Do(uint16_t state, Act act) {
    return {state, act, 0, nullptr};
}

constexpr SwitchRow kSwitchRows[] = {
    Word(kMenuServiceDetailAlarm, &ServiceFlags::detailAlarm),
    Bit(kMenuServiceOcp, 0),           // OCP
    Bit(kMenuServiceOtp, 1),           // OTP
    Bit(kMenuServiceOcpp, 2),          // OCPP
    Bit(kMenuServiceVmeasComp, 3),     // voltage-measurement compensation
    Bit(kMenuServiceVsetFreqComp, 4),  // Vset/frequency compensation
    Do(kMenuServiceVersionDetail, Act::kVersionDetail),
    Do(kMenuServiceAlarmMonitor, Act::kAlarmMonitor),
    Word(kMenuServiceClearHwAlarm, &ServiceFlags::clearHwAlarm),
    Bit(kMenuServiceOpp, 13),          // OPP
    Bit(kMenuServiceOvp, 15),          // OVP
    Bit(kMenuServiceCapComp, 9),       // capacitance compensation
    Bit(kMenuServiceAvgCurrComp, 10),  // average-current compensation
    Word(kMenuServiceThreePhase1P2W, &ServiceFlags::threePhase1P2W, Act::kWordReenter),
    Word(kMenuServiceTempShow, &ServiceFlags::tempDisplay, Act::kWordReenter),
    Do(kMenuServiceRdTestMode, Act::kRdTestMode),
};

// The power stage's limits in R&D test mode: total and per phase, by model class.
struct RdPowerLimit {
    int32_t total, phase;
};
constexpr RdPowerLimit kRdLimit45kVA{6750, 2250};
constexpr RdPowerLimit kRdLimit6kVA{9000, 3000};

void RdTestModeOn() {
    g_ServiceFlags.rdTestMode.store(1, std::memory_order_relaxed);
    const RdPowerLimit& limit =
        core::g_VaClass.load(std::memory_order_relaxed) == kFamily6k ? kRdLimit6kVA : kRdLimit45kVA;
    panel::g_RuntimeTuning.powerLimitTotal.store(limit.total, std::memory_order_relaxed);
    panel::g_RuntimeTuning.powerLimitPhase.store(limit.phase, std::memory_order_relaxed);
    BusReg_SetPowerLimitTotal(limit.total);
    BusReg_SetPowerLimitPhase(limit.phase);
}

void Run(const SwitchRow& row) {
    switch (row.act) {
        case Act::kWord:
            (g_ServiceFlags.*row.word).fetch_xor(1u, std::memory_order_relaxed);
            return;
        case Act::kWordReenter:
            (g_ServiceFlags.*row.word).fetch_xor(1u, std::memory_order_relaxed);
            MenuRows_EnterState(row.state);
            return;
        case Act::kFlagBit: {
            // The control task changes its own bits of the word meanwhile: one atomic toggle, then the whole
            // word as it stands goes out.
            g_OutputOptionWord.fetch_xor(1u << row.bit, std::memory_order_acq_rel);
            BusReg_SetServiceFlags(static_cast<int32_t>(g_OutputOptionWord.load(std::memory_order_acquire)));
            return;
        }
        case Act::kVersionDetail:
            IfaceServiceTuneToggle(storage::kServiceTuneVersionDetail);
            return;
        case Act::kAlarmMonitor:
            if (IsAlarmMonitorOn())
                AlarmMonitorOff();
            else
                AlarmMonitorOn();
            return;
        case Act::kRdTestMode:
            RdTestModeOn();
            MenuRows_EnterState(row.state);
            return;
    }
}

}  // namespace

void menuServiceToggle() {
    const uint32_t state = g_MenuState.load(std::memory_order_acquire);
    for (const SwitchRow& row : kSwitchRows)
        if (row.state == state) Run(row);
}
