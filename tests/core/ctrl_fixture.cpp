#include "tests/core/ctrl_fixture.h"

#include "core/control/alarms/alarm_state.h"
#include "core/control/alarms/alarms.h"
#include "core/control/calibration/calibration.h"
#include "core/control/measure/harmonics.h"
#include "core/control/measure/meas_records.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/control/sync/output_pending.h"
#include "core/control/sync/output_sync.h"
#include "core/control/trig_act.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_dirty.h"
#include "core/params/presets/preset_recall.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/fw_update_state.h"
#include "core/system/state/service_flags.h"
#include "core/system/state/stage_status.h"
#include "platform/host/clock.h"
#include "tests/support/popup_passes.h"

namespace test {

InstrumentEnv::InstrumentEnv() {
    ResetPowerStage();
    regbus::BusReset();
}

void ResetPowerStage() {
    plat::PowerStage().Reset();
    BusMapInit();
}

void BuildDefaults(uint32_t modelType) {
    g_ModelId = modelType;
    core::ParamStoreReset();
    SetDefaultAll();
}

void SetVolt(uint32_t id, uint32_t mode, uint32_t area, uint32_t wave, uint32_t set, uint32_t phase,
             int32_t value, int32_t ParamRec::*field) {
    ParamRec r = VoltRec(id, mode, area, wave, set, phase);
    r.*field = value;
    PutVoltRec(id, mode, area, wave, set, phase, r);
}

void ResetOutputState() {
    core::CtrlWordsReset();
    core::OutputFlagsReset();
    core::SysStatusReset();
    core::ParamStoreReset();
    core::ParamAccessReset();
    core::OutputSyncReset();
    core::OutputPendingReset();
    core::CtrlTaskReset();
    core::TrigActReset();
    core::AlarmStateReset();
    core::AlarmObjReset();
    core::CalStateReset();
    core::ParallelLinkReset();
    core::ParallelObjectsReset();
    core::ServiceFlagsReset();
    core::MeasurementReset();
    core::HarmonicsReset();
    regbus::BusReset();
    // The group marks, the message ring and the start-up update check.
    ClearParamGroupMarks();
    MsgQueue_Clear();
    g_MsgFreeText[0] = '\0';
    c2000Checked = 0;
}

void Rebuild(uint32_t modelType) {
    ResetOutputState();
    BuildDefaults(modelType);
}

CtrlEnv::CtrlEnv(uint32_t modelType) {
    plat::SetTimeScale(1000.0);  // the task's pauses (50 ms, 100 ms) take microseconds
    Rebuild(modelType);
    g_PowerStageBootStatus = BusReg_GetBootStatus();  // as the start-up self-test stores it
    ClearTrace();
}

CtrlEnv::~CtrlEnv() {
    ResetOutputState();
    plat::SetTimeScale(1.0);
}

std::vector<RegWrite> Writes() {
    std::vector<RegWrite> out;
    for (const plat::BusTransfer& t : Stage().Trace())
        if (t.write) out.push_back({t.reg, t.word, t.raw, t.value});
    return out;
}

std::vector<RegWrite> WritesTo(uint16_t reg) {
    std::vector<RegWrite> out;
    for (const RegWrite& w : Writes())
        if (w.reg == reg) out.push_back(w);
    return out;
}

std::vector<uint32_t> RawsTo(uint16_t reg) {
    std::vector<uint32_t> out;
    for (const RegWrite& w : WritesTo(reg))
        out.push_back(w.raw);
    return out;
}

RegWrite OnlyWriteTo(uint16_t reg) {
    const auto w = WritesTo(reg);
    EXPECT_EQ(w.size(), 1u) << "writes to " << reg;
    return w.empty() ? RegWrite{} : w.back();
}

std::vector<uint16_t> Registers() {
    std::vector<uint16_t> order;
    for (const RegWrite& w : Writes())
        if (order.empty() || order.back() != w.reg) order.push_back(w.reg);
    return order;
}

bool RunUntilRunning() {
    for (int i = 0;
         i < 1000 && !(g_CtrlTaskObj.state == core::kCtrlRowRun && g_CtrlTaskObj.msg == core::kCtrlMsgPass);
         ++i)
        CtrlTask_Poll();
    return g_CtrlTaskObj.state.load() == core::kCtrlRowRun;
}

int RunUntilReady() {
    int passes = 0;
    for (; passes < 2000 && !(g_CtrlTaskObj.state == core::kCtrlRowRun && SysStatusTest(kSysReady)); ++passes)
        CtrlTask_Poll();
    ClearTrace();
    return passes;
}

std::string PopupText() {
    char text[256];
    MsgQueue_CopyText(text, sizeof text);
    return text;
}

void HoldPopup(const char* text) {
    ShowMessageHold(text);
    testsupport::PopupPasses();
    ASSERT_EQ(MsgPopup_IsPersistent(), 1);
}

void StartCaliMode() {
    core::CalStateReset();
    CaliMode_Step();
    CaliMode_Step();
}

uint32_t PendingCaliModeEvent() {
    const uint32_t state = g_CaliModeObj.state.load();
    return g_CaliModeObj.rows[state < kStepRows ? state : 0].msg.load();
}

void Poll(int n) {
    for (int i = 0; i < n; ++i)
        CtrlTask_Poll();
}

void Settle() {
    ClearTrace();
    const uint32_t from = core::g_CtrlQuietPasses.load();
    for (int pass = 0; pass < 3000 && core::g_CtrlQuietPasses.load() < from + 2; ++pass)
        CtrlTask_Poll();
    ASSERT_GE(core::g_CtrlQuietPasses.load(), from + 2) << "the control task does not settle";
}

}  // namespace test
