#include "panel/menu/home_fields.h"

#include "core/system/state/edit_state.h"

namespace {
struct RowOfState {
    uint32_t state;
    uint32_t row;
};
constexpr RowOfState kRowOfState[] = {
    {45, 0},  {46, 1},  {47, 2},  {51, 2},  {75, 2},  {54, 3},  {57, 3},  {58, 3},  {12, 4},  {81, 4},
    {84, 4},  {61, 5},  {64, 6},  {78, 6},  {67, 7},  {68, 7},  {30, 8},  {71, 8},  {33, 9},  {34, 9},
    {37, 10}, {88, 10}, {89, 10}, {73, 11}, {87, 11}, {74, 12},
};
}  // namespace

void menuSyncHomePanelRow() {
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    for (const RowOfState& r : kRowOfState)
        if (r.state == state) g_HomePage.panelRow.store(r.row, std::memory_order_relaxed);
}
