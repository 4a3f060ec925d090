#include "screens/seqsim/sim/sim_entries.h"

#include "engine/run/seqsim_run.h"
#include "engine/seqsim/seqsim_data.h"
#include "panel/menu_entries.h"

namespace {
int PhaseOf(const SimFieldRow& row, int phase) {
    return phase >= 0 && phase < row.phases ? phase : 0;
}

// menuEnterStateValue puts the value into the working and the accepted (saved, old) value alike.
void Enter(const SimFieldRow& row, uint32_t first, int phase, uint32_t redraw) {
    const int p = PhaseOf(row, phase);
    menuEnterStateValue(first + static_cast<uint32_t>(p), row.load(p));
    g_SeqSimScreen.fieldRedraw[redraw].store(1, std::memory_order_release);
}

const SimFieldRow& Row(SimField field) {
    return SimFieldOf(field);
}
}  // namespace

void SimEnterSelect(const SimFieldRow& row, int phase) {
    if (row.field == SimField::kStep) SeqSimSetPanelState(kSimSelStep);
    Enter(row, row.select, phase, 1);
}

void SimEnterEdit(const SimFieldRow& row, int phase) {
    Enter(row, row.edit, phase, row.editRedraw);
}

bool SimEnterSelectState(uint32_t state) {
    int phase = 0;
    const SimFieldRow* row = SimFieldOfState(state, &phase);
    if (row == nullptr || state != row->select + static_cast<uint32_t>(phase)) return false;
    SimEnterSelect(*row, phase);
    return true;
}

void Enter_menuSimulationStep() {
    SimEnterSelect(Row(SimField::kStep), 0);
}
void Enter_menuSimulationTime() {
    SimEnterSelect(Row(SimField::kTime), 0);
}
void Enter_menuSimulationSyncCode() {
    SimEnterSelect(Row(SimField::kSyncCode), 0);
}
void Enter_menuSimulationEnRepeat() {
    SimEnterSelect(Row(SimField::kEnRepeat), 0);
}
void Enter_menuSimulationRepeat() {
    SimEnterSelect(Row(SimField::kRepeat), 0);
}
void Enter_menuSimulationWave() {
    SimEnterSelect(Row(SimField::kWave), 0);
}
void Enter_menuSimulationAcv(int phase) {
    SimEnterSelect(Row(SimField::kAcv), phase);
}
void Enter_menuSimulationFreq(int phase) {
    SimEnterSelect(Row(SimField::kFreq), phase);
}
void Enter_menuSimulationEnOnpha(int phase) {
    SimEnterSelect(Row(SimField::kEnOnpha), phase);
}
void Enter_menuSimulationOnpha(int phase) {
    SimEnterSelect(Row(SimField::kOnpha), phase);
}
void Enter_menuSimulationEnOffpha(int phase) {
    SimEnterSelect(Row(SimField::kEnOffpha), phase);
}
void Enter_menuSimulationOffpha(int phase) {
    SimEnterSelect(Row(SimField::kOffpha), phase);
}
void Enter_menuSimBalance_L2() {
    SimEnterSelect(Row(SimField::kBalanceL2), 0);
}
void Enter_menuSimBalance_L3() {
    SimEnterSelect(Row(SimField::kBalanceL3), 0);
}

void Enter_menuEditSimulationStep() {
    SimEnterEdit(Row(SimField::kStep), 0);
}
void Enter_menuEditSimulationTime() {
    SimEnterEdit(Row(SimField::kTime), 0);
}
void Enter_menuEditSimulationSyncCode() {
    SimEnterEdit(Row(SimField::kSyncCode), 0);
}
void Enter_menuEditSimulationRepeat() {
    SimEnterEdit(Row(SimField::kRepeat), 0);
}
void Enter_menuEditSimulationWave() {
    SimEnterEdit(Row(SimField::kWave), 0);
}
void Enter_menuEditSimulationACV(int phase) {
    SimEnterEdit(Row(SimField::kAcv), phase);
}
void Enter_menuEditSimulationFreq(int phase) {
    SimEnterEdit(Row(SimField::kFreq), phase);
}
void Enter_menuEditSimulationEnOnpha(int phase) {
    SimEnterEdit(Row(SimField::kEnOnpha), phase);
}
void Enter_menuEditSimulationOffpha(int phase) {
    SimEnterEdit(Row(SimField::kOffpha), phase);
}
void Enter_menuSimEditBalance_L2() {
    SimEnterEdit(Row(SimField::kBalanceL2), 0);
}
