#pragma once
// Where the back key and the MENU key leave a MENU state for, in one table: per run of states the parent
// each key enters. The two keys part only under the fieldbus lists, whose owners have no row of their own:
// back leads to the option row (the owners to the first top row), MENU to the owner.
#include <cstdint>

#include "core/system/state/menu_state_ids.h"

namespace panel {

inline constexpr uint32_t kParentHome = 1;           // the home view last used
inline constexpr uint32_t kParentParallel = 0xFFFF;  // the Parallel list, only while its units may leave

struct MenuParent {
    MenuState first, last;
    uint32_t back, menu;
};

inline constexpr MenuParent kMenuParents[] = {
    {kMenuSystemInfo, kMenuMisc, kParentHome, kParentHome},
    {kMenuIpkHold, kMenuUpdateRateEdit, kMenuMisc, kMenuMisc},
    {kMenuLan, kMenuLan, kParentHome, kParentHome},
    {kMenuLanDhcp, kMenuLanWebPasswordEdit, kMenuLan, kMenuLan},
    {kMenuUsb, kMenuUsb, kParentHome, kParentHome},
    {kMenuUsbSpeed, kMenuUsbModeEdit, kMenuUsb, kMenuUsb},
    {kMenuRs232, kMenuRs232, kParentHome, kParentHome},
    {kMenuRs232Baud, kMenuRs232StopBitsEdit, kMenuRs232, kMenuRs232},
    {kMenuOption, kMenuOption, kParentHome, kParentHome},
    {kMenuGpibAddress, kMenuGpibAddressEdit, kMenuOption, kMenuOption},
    {kMenuCanopen, kMenuCanopen, kMenuSystemInfo, kParentHome},
    {kMenuCanopenBaud, kMenuCanopenNodeEdit, kMenuOption, kMenuCanopen},
    {kMenuDevicenet, kMenuDevicenet, kMenuSystemInfo, kParentHome},
    {kMenuDevicenetBaud, kMenuDevicenetMacEdit, kMenuOption, kMenuDevicenet},
    {kMenuImpedance, kMenuImpedance, kParentHome, kParentHome},
    {kMenuImpedanceOn, kMenuL3ResistanceEdit, kMenuImpedance, kMenuImpedance},
    {kMenuParallel, kMenuParallel, kParentHome, kParentHome},
    {kMenuParallelPosition, kMenuParallelEnableEdit, kParentParallel, kParentParallel},
    {kMenuArbEdit, kMenuArbEdit, kParentHome, kParentHome},
    {kMenuLcdContrast, kMenuLcdSaturationEdit, kMenuArbEdit, kMenuArbEdit},
    {kMenuDefaultSetting, kMenuDefaultSetting, kParentHome, kParentHome},
    {kMenuDefaultSetEnter, kMenuDefaultSetEnter, kMenuDefaultSetting, kMenuDefaultSetting},
    {kMenuSpecialFunction, kMenuSpecialFunction, kParentHome, kParentHome},
    {kMenuPassword, kMenuDataLast, kMenuSpecialFunction, kMenuSpecialFunction},
    {kMenuSaveRecall, kMenuSaveRecall, kParentHome, kParentHome},
    {kMenuSavRecType, kMenuSavRecMemoryEdit, kMenuSaveRecall, kMenuSaveRecall},
    {kMenuBarcodeFirst, kMenuBarcodeLast, kMenuSpecialFunction, kMenuSpecialFunction},
};

// The run that holds the state, null for none.
constexpr const MenuParent* MenuParentOf(uint32_t state) {
    for (const MenuParent& p : kMenuParents)
        if (state >= p.first && state <= p.last) return &p;
    return nullptr;
}

constexpr bool ParentsInOrder() {
    uint32_t next = 0;
    for (const MenuParent& p : kMenuParents) {
        if (p.first < next || p.last < p.first) return false;
        next = p.last + 1;
    }
    return true;
}
static_assert(ParentsInOrder(), "the runs are ascending and do not overlap");

}  // namespace panel
