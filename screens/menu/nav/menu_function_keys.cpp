// The MENU key of the MENU lists and their editors: one level up, from a list owner to the home view.
#include <atomic>

#include "core/params/access/param_access.h"
#include "core/system/state/edit_state.h"
#include "core/system/links/parallel_link.h"
#include "panel/menu_entries.h"
#include "screens/menu/nav/menu_nav.h"
#include "drivers/panel_link.h"

namespace {
constexpr uint8_t kMenuKey = 'L';
constexpr uint32_t kHome = 0xFFFFFFFF;      // the home view last used
constexpr uint32_t kParallel = 0xFFFFFFFE;  // the Parallel list, only while its units may leave
constexpr uint32_t kParallelOwner = 207;
constexpr uint32_t kLinkUp = 1u << 16;  // of the parallel link status

struct MenuKeyRow {
    uint16_t first, last;
    uint32_t target;
};
constexpr MenuKeyRow kMenuKeyTable[] = {
    {94, 95, kHome},   {96, 137, 95},     {138, 138, kHome},     {139, 164, 138},   {165, 165, kHome},
    {166, 169, 165},   {170, 170, kHome}, {171, 178, 170},       {179, 179, kHome}, {180, 181, 179},
    {182, 182, kHome}, {183, 186, 182},   {187, 187, kHome},     {188, 191, 187},   {192, 192, kHome},
    {193, 206, 192},   {207, 207, kHome}, {208, 213, kParallel}, {214, 214, kHome}, {215, 220, 214},
    {221, 221, kHome}, {222, 222, 221},   {223, 223, kHome},     {224, 283, 223},   {284, 284, kHome},
    {285, 290, 284},   {292, 315, 223},
};

bool ParallelMayLeave() {
    if (GetParallelEnable() == 0 && GetParallelPosition() != 0) return true;
    return (g_ParallelLink.status.load(std::memory_order_acquire) & kLinkUp) != 0;
}
}  // namespace

void KeyProcess_MenuFunctionKeys(uint32_t* ev) {
    if (KeyEventCode(*ev) != kMenuKey) return;
    const uint32_t state = g_MenuState.load(std::memory_order_relaxed);
    for (const MenuKeyRow& r : kMenuKeyTable) {
        if (state < r.first || state > r.last) continue;
        if (r.target == kHome)
            menuReturnHome();
        else if (r.target != kParallel)
            menuEnterStateValue(r.target, 0);
        else if (ParallelMayLeave())
            menuEnterStateValue(kParallelOwner, 0);
        return;
    }
}
