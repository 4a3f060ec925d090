#include "screens/seqsim/sim/sim_fields.h"

#include "engine/seqsim/seqsim_mode.h"
#include "engine/sim/sim_access.h"

namespace {
int32_t Step(int) {
    return static_cast<int32_t>(SeqSimGetCurStep());
}
int32_t Time(int) {
    return SimGetTime();
}
int32_t SyncCode(int) {
    return SimGetSyncCode();
}
int32_t EnRepeat(int) {
    return SimGetEnRepeat();
}
int32_t Repeat(int) {
    return SimGetRepeat();
}
int32_t Wave(int) {
    return SimGetWave();
}
int32_t BalanceL2(int) {
    return SimGetBalance_L2();
}
int32_t BalanceL3(int) {
    return SimGetBalance_L3();
}
}  // namespace

constexpr SimFieldRow g_SimFields[kSimFieldCount] = {
    {SimField::kStep, kSimSelStep, kSimEditStep, 1, Step, 0, true},
    {SimField::kTime, kSimSelTime, kSimEditTime, 1, Time, 1, true},
    {SimField::kSyncCode, kSimSelSyncCode, kSimEditSyncCode, 1, SyncCode, 1, true},
    {SimField::kEnRepeat, kSimSelEnRepeat, kSimEditEnRepeat, 1, EnRepeat, 1, true},
    {SimField::kRepeat, kSimSelRepeat, kSimEditRepeat, 1, Repeat, 1, true},
    {SimField::kWave, kSimSelWave, kSimEditWave, 1, Wave, 0, true},
    {SimField::kAcv, kSimSelAcv, kSimEditAcv, 3, SimGetAcv, 1, true},
    {SimField::kFreq, kSimSelFreq, kSimEditFreq, 3, SimGetFreq, 1, false},
    {SimField::kEnOnpha, kSimSelEnOnpha, kSimEditEnOnpha, 3, SimGetEnOnpha, 1, false},
    {SimField::kOnpha, kSimSelOnpha, kSimEditOnpha, 3, SimGetOnpha, 1, false},
    {SimField::kEnOffpha, kSimSelEnOffpha, kSimEditEnOffpha, 3, SimGetEnOffpha, 1, false},
    {SimField::kOffpha, kSimSelOffpha, kSimEditOffpha, 3, SimGetOffpha, 1, false},
    {SimField::kBalanceL2, kSimSelBalanceL2, kSimEditBalanceL2, 1, BalanceL2, 1, false},
    {SimField::kBalanceL3, kSimSelBalanceL3, kSimEditBalanceL3, 1, BalanceL3, 1, false},
};

constexpr bool InFieldOrder() {
    for (uint32_t i = 0; i < kSimFieldCount; ++i)
        if (static_cast<uint32_t>(g_SimFields[i].field) != i) return false;
    return true;
}
static_assert(InFieldOrder(), "a field's row is found by its number");

const SimFieldRow& SimFieldOf(SimField field) {
    return g_SimFields[static_cast<uint32_t>(field)];
}

const SimFieldRow* SimFieldOfState(uint32_t state, int* phase) {
    for (const SimFieldRow& row : g_SimFields) {
        for (int p = 0; p < row.phases; ++p) {
            if (state == row.select + static_cast<uint32_t>(p) ||
                state == row.edit + static_cast<uint32_t>(p)) {
                if (phase != nullptr) *phase = p;
                return &row;
            }
        }
    }
    return nullptr;
}

bool SimIsSelectState(uint32_t state) {
    int phase = 0;
    const SimFieldRow* row = SimFieldOfState(state, &phase);
    return row != nullptr && state == row->select + static_cast<uint32_t>(phase);
}
