#include "screens/menu/editors/item_editor_slots.h"

#include <iterator>

#include "screens/menu/editors/iface_edit_keys.h"
#include "screens/menu/editors/item_edit_keys.h"
#include "screens/output/keys/key_table.h"

namespace {
constexpr MenuKeySlot kSlots[] = {
    {140, menuListLanDhcpEdit},
    {142, menuListLanIp1Edit},
    {143, menuListLanIp2Edit},
    {144, menuListLanIp3Edit},
    {145, menuListLanIp4Edit},
    {147, menuListLanMask1Edit},
    {148, menuListLanMask2Edit},
    {149, menuListLanMask3Edit},
    {150, menuListLanMask4Edit},
    {152, menuListLanGate1Edit},
    {153, menuListLanGate2Edit},
    {154, menuListLanGate3Edit},
    {155, menuListLanGate4Edit},
    {157, menuListLanDns1Edit},
    {158, menuListLanDns2Edit},
    {159, menuListLanDns3Edit},
    {160, menuListLanDns4Edit},
    {162, menuListLanSocketEdit},
    {164, menuListLaWebPWEdit},
    {167, menuListUSBSpeedEdit},
    {169, menuListUSBModeEdit},
    {172, menuListRS232BaudRateEdit},
    {174, menuListRS232DataBitEdit},
    {176, menuListRS232ParityEdit},
    {178, menuListRS232StopBitEdit},
    {181, menuListGPIBAddressEdit},
    {184, menuListCANOPENBaudRateEdit},
    {186, menuListCANOPENNodeIDEdit},
    {189, menuListDeviceNetBaudRateEdit},
    {191, menuListDeviceNetAddressEdit},
    {194, menuListOutputImpedanceEdit},
    {196, KeyProcess_L1InductanceEdit},
    {198, KeyProcess_L2InductanceEdit},
    {200, KeyProcess_L3InductanceEdit},
    {202, KeyProcess_L1ResistanceEdit},
    {204, KeyProcess_L2ResistanceEdit},
    {206, KeyProcess_L3ResistanceEdit},
    {209, menuListParallelPositionEdit},
    {211, menuListParallelNumberEdit},
    {213, menuListParallelEnableEdit},
    {216, menuListLCDConfContrastEdit},
    {218, menuListLCDConfBrightnessEdit},
    {220, menuListLCDConfSaturationEdit},
    {222, KeyProcess_DefaultSetEnter},
    {286, menuListSavRecTypeEdit},
    {288, menuListSavRecActionEdit},
    {290, menuListSavRecMemoryEdit},
    {293, menuListBarcodeEdit},
    {295, menuListBarcodeEdit},
    {297, menuListBarcodeEdit},
    {299, menuListBarcodeEdit},
    {301, menuListBarcodeEdit},
    {303, menuListBarcodeEdit},
    {305, menuListBarcodeEdit},
    {307, menuListBarcodeEdit},
    {309, menuListBarcodeEdit},
    {311, menuListBarcodeEdit},
    {313, menuListBarcodeEdit},
    {315, menuListBarcodeEdit},
};
}  // namespace

int MenuItemEditors_Register() {
    return KeyTable_RegisterMenu(kSlots, std::size(kSlots));
}
