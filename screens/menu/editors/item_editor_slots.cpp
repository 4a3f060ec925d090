#include "screens/menu/editors/item_editor_slots.h"

#include <iterator>

#include "core/system/state/menu_state_ids.h"
#include "screens/menu/editors/iface_edit_keys.h"
#include "screens/menu/editors/item_edit_keys.h"
#include "screens/menu/rows/menu_row_table.h"
#include "screens/output/keys/key_table.h"

namespace {
constexpr MenuKeySlot kSlots[] = {
    {kMenuLanDhcpEdit, menuListLanDhcpEdit},
    {kMenuLanIp1Edit, menuListLanIp1Edit},
    {kMenuLanIp2Edit, menuListLanIp2Edit},
    {kMenuLanIp3Edit, menuListLanIp3Edit},
    {kMenuLanIp4Edit, menuListLanIp4Edit},
    {kMenuLanMask1Edit, menuListLanMask1Edit},
    {kMenuLanMask2Edit, menuListLanMask2Edit},
    {kMenuLanMask3Edit, menuListLanMask3Edit},
    {kMenuLanMask4Edit, menuListLanMask4Edit},
    {kMenuLanGate1Edit, menuListLanGate1Edit},
    {kMenuLanGate2Edit, menuListLanGate2Edit},
    {kMenuLanGate3Edit, menuListLanGate3Edit},
    {kMenuLanGate4Edit, menuListLanGate4Edit},
    {kMenuLanDns1Edit, menuListLanDns1Edit},
    {kMenuLanDns2Edit, menuListLanDns2Edit},
    {kMenuLanDns3Edit, menuListLanDns3Edit},
    {kMenuLanDns4Edit, menuListLanDns4Edit},
    {kMenuLanSocketEdit, menuListLanSocketEdit},
    {kMenuLanWebPasswordEdit, menuListLaWebPWEdit},
    {kMenuUsbSpeedEdit, menuListUSBSpeedEdit},
    {kMenuUsbModeEdit, menuListUSBModeEdit},
    {kMenuRs232BaudEdit, menuListRS232BaudRateEdit},
    {kMenuRs232DataBitsEdit, menuListRS232DataBitEdit},
    {kMenuRs232ParityEdit, menuListRS232ParityEdit},
    {kMenuRs232StopBitsEdit, menuListRS232StopBitEdit},
    {kMenuGpibAddressEdit, menuListGPIBAddressEdit},
    {kMenuCanopenBaudEdit, menuListCANOPENBaudRateEdit},
    {kMenuCanopenNodeEdit, menuListCANOPENNodeIDEdit},
    {kMenuDevicenetBaudEdit, menuListDeviceNetBaudRateEdit},
    {kMenuDevicenetMacEdit, menuListDeviceNetAddressEdit},
    {kMenuImpedanceOnEdit, menuListOutputImpedanceEdit},
    {kMenuL1InductanceEdit, KeyProcess_L1InductanceEdit},
    {kMenuL2InductanceEdit, KeyProcess_L2InductanceEdit},
    {kMenuL3InductanceEdit, KeyProcess_L3InductanceEdit},
    {kMenuL1ResistanceEdit, KeyProcess_L1ResistanceEdit},
    {kMenuL2ResistanceEdit, KeyProcess_L2ResistanceEdit},
    {kMenuL3ResistanceEdit, KeyProcess_L3ResistanceEdit},
    {kMenuParallelPositionEdit, menuListParallelPositionEdit},
    {kMenuParallelNumberEdit, menuListParallelNumberEdit},
    {kMenuParallelEnableEdit, menuListParallelEnableEdit},
    {kMenuLcdContrastEdit, menuListLCDConfContrastEdit},
    {kMenuLcdBrightnessEdit, menuListLCDConfBrightnessEdit},
    {kMenuLcdSaturationEdit, menuListLCDConfSaturationEdit},
    {kMenuDefaultSetEnter, KeyProcess_DefaultSetEnter},
    {kMenuSavRecTypeEdit, menuListSavRecTypeEdit},
    {kMenuSavRecActionEdit, menuListSavRecActionEdit},
    {kMenuSavRecMemoryEdit, menuListSavRecMemoryEdit},
    {MenuStateAt(kMenuBarcodeFirst, 1), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 3), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 5), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 7), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 9), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 11), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 13), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 15), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 17), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 19), menuListBarcodeEdit},
    {MenuStateAt(kMenuBarcodeFirst, 21), menuListBarcodeEdit},
    {kMenuBarcodeLast, menuListBarcodeEdit},
};

// Every row of the interface, impedance, parallel, LCD, barcode and save/recall lists that opens an
// editor, and the default-setting row, has the editor's key handler here.
constexpr bool EveryEditorHasSlot() {
    using menu_rows::NavList;
    for (const menu_rows::MenuRow& r : menu_rows::kMenuRows) {
        if (r.walk == menu_rows::Walk::kShown || r.opens != menu_rows::Opens::kEditor) continue;
        const bool here =
            r.list != NavList::kTop && r.list != NavList::kMisc && r.list != NavList::kModelBrand;
        if (!here && r.state != kMenuDefaultSetting) continue;
        bool found = false;
        for (const MenuKeySlot& s : kSlots)
            found = found || s.state == r.state + 1;
        if (!found) return false;
    }
    return true;
}
static_assert(EveryEditorHasSlot(), "a row opens an editor without key handler");
}  // namespace

int MenuItemEditors_Register() {
    return KeyTable_RegisterMenu(kSlots, std::size(kSlots));
}
