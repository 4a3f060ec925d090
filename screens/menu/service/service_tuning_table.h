#pragma once
// The service tuning editors' one table (states 256-266): the row each returns to, its limits and digit
// count, the register it writes and the word that keeps the setting.
#include <atomic>
#include <cstdint>

#include "core/control/sync/output_sync.h"
#include "core/regbus/reg_write.h"
#include "core/system/state/menu_state_ids.h"
#include "panel/runtime_init.h"

namespace service_tuning {
constexpr auto kRelaxed = std::memory_order_relaxed;

struct TuneRow {
    uint16_t state, row;
    int32_t min, max, digits;
    int (*write)(int32_t);
    // The setting in the tuning words; null: the slew-rate word the control task keeps.
    std::atomic<int32_t>* word;
};

inline constexpr TuneRow kTuneRows[] = {
    {kMenuTuneVoltSlew, kMenuServiceVoltSlew, 1, 1000, 4, BusReg_SetVoltSlew, nullptr},
    {kMenuTuneFanSlew, kMenuServiceFanSlew, 1, 1000, 4, BusReg_SetFanSlew, &panel::g_RuntimeTuning.fanSlew},
    {kMenuTuneFanDutyMax, kMenuServiceFanDutyMax, 0, 100, 3, BusReg_SetFanDutyMax,
     &panel::g_RuntimeTuning.fanDutyMax},
    {kMenuTuneFanDutyMin, kMenuServiceFanDutyMin, 0, 100, 3, BusReg_SetFanDutyMin,
     &panel::g_RuntimeTuning.fanDutyMin},
    {kMenuTuneKp, kMenuServiceKp, 0, 10000, 4, BusReg_SetAvgCurrCompKp, &panel::g_RuntimeTuning.kp},
    {kMenuTuneKi, kMenuServiceKi, 0, 10000, 4, BusReg_SetAvgCurrCompKi, &panel::g_RuntimeTuning.ki},
    {kMenuTuneRdDefine1, kMenuServiceRdDefine1, -10000, 10000, 4, BusReg_SetRdDefine1,
     &panel::g_RuntimeTuning.rd[0]},
    {kMenuTuneRdDefine2, kMenuServiceRdDefine2, -10000, 10000, 4, BusReg_SetRdDefine2,
     &panel::g_RuntimeTuning.rd[1]},
    {kMenuTuneRdDefine3, kMenuServiceRdDefine3, -10000, 10000, 4, BusReg_SetRdDefine3,
     &panel::g_RuntimeTuning.rd[2]},
    {kMenuTuneRdDefine4, kMenuServiceRdDefine4, -10000, 1000000, 6, BusReg_SetRdDefine4,
     &panel::g_RuntimeTuning.rd[3]},
    {kMenuTuneRdDefine5, kMenuServiceRdDefine5, -10000, 10000, 4, BusReg_SetRdDefine5,
     &panel::g_RuntimeTuning.rd[4]},
};
inline constexpr uint32_t kFirstTuneState = kMenuTuneFirst;

constexpr bool RowsInStateOrder() {
    for (uint32_t i = 0; i < sizeof kTuneRows / sizeof kTuneRows[0]; ++i)
        if (kTuneRows[i].state != kFirstTuneState + i) return false;
    return true;
}
static_assert(RowsInStateOrder(), "one row per tuning editor, in state order");

inline const TuneRow& TuneRowOf(uint32_t state) {
    return kTuneRows[state - kFirstTuneState];
}

inline int32_t TuneValue(const TuneRow& r) {
    return r.word != nullptr ? r.word->load(kRelaxed)
                             : static_cast<int32_t>(core::g_VoltSlewWord.load(kRelaxed));
}

inline void TuneStore(const TuneRow& r, int32_t v) {
    if (r.word != nullptr)
        r.word->store(v, kRelaxed);
    else
        core::g_VoltSlewWord.store(static_cast<uint32_t>(v), kRelaxed);
    r.write(v);
}

}  // namespace service_tuning
