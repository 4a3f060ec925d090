#pragma once
// The MENU lists as the keys walk them: every row of every list, in display order, list after list, with
// the operations that enter its list's owner, the row itself and what the row opens. The navigation finds
// the current row again from the menu state on every key; no cursor is kept.
#include <cstdint>

#include "panel/menu/row_entries.h"
#include "panel/menu_entries.h"
#include "screens/menu/service_entries.h"

// A row's place in its list; an optional top-list row is passed over when its interface or function is
// not there.
enum MenuNavPosition : uint32_t {
    kNavFirst = 0,
    kNavMiddle = 1,
    kNavOptional = 2,
    kNavLast = 3,
    kNavOnly = 4
};

struct MenuNavRow {
    uint32_t State;  // the row's select state; 0xFFFFFFFF ends the table
    MenuEntryFn EnterParent;
    MenuEntryFn EnterSelf;
    MenuEntryFn EnterChild;
    uint32_t Position;
};

// The operation of a row that opens nothing, and of the terminator.
void menuNavNothing();

inline constexpr uint32_t kMenuNavEnd = 0xFFFFFFFF;
inline constexpr MenuNavRow g_MenuNavTable[] = {
    {94, menuReturnHome, menuEnterRow<94>, menuNavNothing, 0},
    {95, menuReturnHome, menuEnterRow<95>, menuEnterRow<96>, 1},
    {138, menuReturnHome, menuEnterRow<138>, menuEnterRow<139>, 1},
    {165, menuReturnHome, menuEnterRow<165>, menuEnterRow<168>, 1},
    {170, menuReturnHome, menuEnterRow<170>, menuEnterRow<171>, 2},
    {179, menuReturnHome, menuEnterRow<179>, menuEnterRow<180>, 2},
    {192, menuReturnHome, menuEnterRow<192>, menuEnterRow<193>, 2},
    {207, menuReturnHome, menuEnterRow<207>, menuEnterRow<208>, 2},
    {214, menuReturnHome, menuEnterRow<214>, Enter_menuArbitraryMode, 1},
    {221, menuReturnHome, menuEnterRow<221>, Enter_KeyProcess_DefaultSetEnter, 1},
    {223, menuReturnHome, menuEnterRow<223>, Enter_KeyProcess_Password, 1},
    {284, menuReturnHome, menuEnterRow<284>, menuEnterRow<285>, 3},
    {96, menuEnterRow<95>, menuEnterRow<96>, Enter_KeyProcess_IpkHoldEdit, 0},
    {98, menuEnterRow<95>, menuEnterRow<98>, Enter_KeyProcess_OutputPhaseEdit, 1},
    {100, menuEnterRow<95>, menuEnterRow<100>, Enter_KeyProcess_PhaseModeEdit, 1},
    {102, menuEnterRow<95>, menuEnterRow<102>, Enter_KeyProcess_IpkhClrEdit, 1},
    {104, menuEnterRow<95>, menuEnterRow<104>, Enter_KeyProcess_PowerOnEdit, 1},
    {106, menuEnterRow<95>, menuEnterRow<106>, Enter_KeyProcess_BuzzerEdit, 1},
    {108, menuEnterRow<95>, menuEnterRow<108>, Enter_KeyProcess_RemoteSenseEdit, 1},
    {110, menuEnterRow<95>, menuEnterRow<110>, Enter_KeyProcess_SlewRateEdit, 1},
    {112, menuEnterRow<95>, menuEnterRow<112>, Enter_KeyProcess_OutputRelayEdit, 1},
    {114, menuEnterRow<95>, menuEnterRow<114>, Enter_KeyProcess_HarmModeEdit, 1},
    {116, menuEnterRow<95>, menuEnterRow<116>, Enter_KeyProcess_ExtControlEdit, 1},
    {118, menuEnterRow<95>, menuEnterRow<118>, Enter_KeyProcess_ACV_UnitEdit, 1},
    {120, menuEnterRow<95>, menuEnterRow<120>, Enter_KeyProcess_SetChangePhase1Edit, 1},
    {122, menuEnterRow<95>, menuEnterRow<122>, Enter_KeyProcess_VI_Monitor_Source1Edit, 1},
    {124, menuEnterRow<95>, menuEnterRow<124>, Enter_KeyProcess_VI_Monitor_Source2Edit, 1},
    {126, menuEnterRow<95>, menuEnterRow<126>, Enter_KeyProcess_VI_MonitorEdit, 1},
    {128, menuEnterRow<95>, menuEnterRow<128>, Enter_KeyProcess_TriggerWidthEdit, 1},
    {130, menuEnterRow<95>, menuEnterRow<130>, Enter_KeyProcess_TriggerSourceEdit, 1},
    {132, menuEnterRow<95>, menuEnterRow<132>, Enter_KeyProcess_RelockEdit, 1},
    {134, menuEnterRow<95>, menuEnterRow<134>, Enter_KeyProcess_AvgCountEdit, 1},
    {136, menuEnterRow<95>, menuEnterRow<136>, Enter_KeyProcess_UpdateRateEdit, 3},
    {139, menuEnterRow<138>, menuEnterRow<139>, Enter_menuListLanDhcpEdit, 0},
    {141, menuEnterRow<138>, menuEnterRow<141>, Enter_menuListLanIp1Edit, 1},
    {146, menuEnterRow<138>, menuEnterRow<146>, Enter_menuListLanMask1Edit, 1},
    {151, menuEnterRow<138>, menuEnterRow<151>, Enter_menuListLanGate1Edit, 1},
    {156, menuEnterRow<138>, menuEnterRow<156>, Enter_menuListLanDns1Edit, 1},
    {161, menuEnterRow<138>, menuEnterRow<161>, menuNavNothing, 1},
    {163, menuEnterRow<138>, menuEnterRow<163>, menuNavNothing, 3},
    {168, menuEnterRow<165>, menuEnterRow<168>, Enter_menuListUSBModeEdit, 4},
    {171, menuEnterRow<170>, menuEnterRow<171>, Enter_menuListRS232BaudRateEdit, 0},
    {173, menuEnterRow<170>, menuEnterRow<173>, Enter_menuListRS232DataBitEdit, 1},
    {175, menuEnterRow<170>, menuEnterRow<175>, Enter_menuListRS232ParityEdit, 1},
    {177, menuEnterRow<170>, menuEnterRow<177>, Enter_menuListRS232StopBitEdit, 3},
    {180, menuEnterRow<179>, menuEnterRow<180>, Enter_menuListGPIBAddressEdit, 4},
    {183, menuEnterRow<182>, menuEnterRow<183>, Enter_menuListCANOPENBaudRateEdit, 0},
    {185, menuEnterRow<182>, menuEnterRow<185>, Enter_menuListCANOPENNodeIDEdit, 3},
    {188, menuEnterRow<187>, menuEnterRow<188>, Enter_menuListDeviceNetBaudRateEdit, 0},
    {190, menuEnterRow<187>, menuEnterRow<190>, Enter_menuListDeviceNetAddressEdit, 3},
    {193, menuEnterRow<192>, menuEnterRow<193>, Enter_menuListOutputImpedanceEdit, 0},
    {195, menuEnterRow<192>, menuEnterRow<195>, Enter_KeyProcess_L1InductanceEdit, 1},
    {197, menuEnterRow<192>, menuEnterRow<197>, Enter_KeyProcess_L2InductanceEdit, 1},
    {199, menuEnterRow<192>, menuEnterRow<199>, Enter_KeyProcess_L3InductanceEdit, 1},
    {201, menuEnterRow<192>, menuEnterRow<201>, Enter_KeyProcess_L1ResistanceEdit, 1},
    {203, menuEnterRow<192>, menuEnterRow<203>, Enter_KeyProcess_L2ResistanceEdit, 1},
    {205, menuEnterRow<192>, menuEnterRow<205>, Enter_KeyProcess_L3ResistanceEdit, 3},
    {208, menuEnterRow<207>, menuEnterRow<208>, Enter_menuListParallelPositionEdit, 0},
    {210, menuEnterRow<207>, menuEnterRow<210>, Enter_menuListParallelNumberEdit, 1},
    {212, menuEnterRow<207>, menuEnterRow<212>, Enter_menuListParallelEnableEdit, 3},
    {215, menuEnterRow<214>, menuEnterRow<215>, Enter_menuListLCDConfContrastEdit, 0},
    {217, menuEnterRow<214>, menuEnterRow<217>, Enter_menuListLCDConfBrightnessEdit, 1},
    {219, menuEnterRow<214>, menuEnterRow<219>, Enter_menuListLCDConfSaturationEdit, 3},
    {292, menuEnterRow<223>, menuEnterRow<292>, menuEnterRow<293>, 0},
    {294, menuEnterRow<223>, menuEnterRow<294>, menuEnterRow<295>, 1},
    {296, menuEnterRow<223>, menuEnterRow<296>, menuEnterRow<297>, 1},
    {298, menuEnterRow<223>, menuEnterRow<298>, menuEnterRow<299>, 1},
    {300, menuEnterRow<223>, menuEnterRow<300>, menuEnterRow<301>, 1},
    {302, menuEnterRow<223>, menuEnterRow<302>, menuEnterRow<303>, 1},
    {304, menuEnterRow<223>, menuEnterRow<304>, menuEnterRow<305>, 1},
    {306, menuEnterRow<223>, menuEnterRow<306>, menuEnterRow<307>, 1},
    {308, menuEnterRow<223>, menuEnterRow<308>, menuEnterRow<309>, 1},
    {310, menuEnterRow<223>, menuEnterRow<310>, menuEnterRow<311>, 1},
    {312, menuEnterRow<223>, menuEnterRow<312>, menuEnterRow<313>, 1},
    {314, menuEnterRow<223>, menuEnterRow<314>, menuEnterRow<315>, 3},
    {225, menuEnterRow<223>, menuEnterRow<225>, Enter_KeyProcess_8623_FirmEdit, 0},
    {227, menuEnterRow<223>, menuEnterRow<227>, Enter_KeyProcess_8623_ModelEdit, 3},
    {229, menuEnterRow<223>, menuEnterRow<229>, menuServiceToggle, 0},
    {230, menuEnterRow<223>, menuEnterRow<230>, menuServiceToggle, 1},
    {231, menuEnterRow<223>, menuEnterRow<231>, menuServiceToggle, 1},
    {232, menuEnterRow<223>, menuEnterRow<232>, menuServiceToggle, 1},
    {233, menuEnterRow<223>, menuEnterRow<233>, menuServiceToggle, 1},
    {234, menuEnterRow<223>, menuEnterRow<234>, Enter_KeyProcess_9371_VoltSlewEdit, 1},
    {235, menuEnterRow<223>, menuEnterRow<235>, Enter_KeyProcess_9371_FanSlewEdit, 1},
    {236, menuEnterRow<223>, menuEnterRow<236>, Enter_KeyProcess_9371_FanDutyMaxEdit, 1},
    {237, menuEnterRow<223>, menuEnterRow<237>, Enter_KeyProcess_9371_FanDutyMinEdit, 1},
    {238, menuEnterRow<223>, menuEnterRow<238>, menuServiceToggle, 1},
    {239, menuEnterRow<223>, menuEnterRow<239>, menuServiceToggle, 1},
    {240, menuEnterRow<223>, menuEnterRow<240>, menuServiceToggle, 1},
    {241, menuEnterRow<223>, menuEnterRow<241>, menuServiceToggle, 1},
    {242, menuEnterRow<223>, menuEnterRow<242>, menuServiceToggle, 1},
    {243, menuEnterRow<223>, menuEnterRow<243>, menuServiceToggle, 1},
    {244, menuEnterRow<223>, menuEnterRow<244>, menuServiceToggle, 1},
    {245, menuEnterRow<223>, menuEnterRow<245>, menuServiceToggle, 1},
    {246, menuEnterRow<223>, menuEnterRow<246>, Enter_KeyProcess_9371_AvgCurrComp_kpEdit, 1},
    {247, menuEnterRow<223>, menuEnterRow<247>, Enter_KeyProcess_9371_AvgCurrComp_kiEdit, 1},
    {248, menuEnterRow<223>, menuEnterRow<248>, menuServiceToggle, 1},
    {249, menuEnterRow<223>, menuEnterRow<249>, menuServiceToggle, 1},
    {250, menuEnterRow<223>, menuEnterRow<250>, menuServiceToggle, 1},
    {251, menuEnterRow<223>, menuEnterRow<251>, Enter_KeyProcess_9371_RD_Define1Edit, 1},
    {252, menuEnterRow<223>, menuEnterRow<252>, Enter_KeyProcess_9371_RD_Define2Edit, 1},
    {253, menuEnterRow<223>, menuEnterRow<253>, Enter_KeyProcess_9371_RD_Define3Edit, 1},
    {254, menuEnterRow<223>, menuEnterRow<254>, Enter_KeyProcess_9371_RD_Define4Edit, 1},
    {255, menuEnterRow<223>, menuEnterRow<255>, Enter_KeyProcess_9371_RD_Define5Edit, 3},
    {272, menuEnterRow<223>, menuEnterRow<272>, menuServiceDataListAction, 0},
    {273, menuEnterRow<223>, menuEnterRow<273>, menuServiceDataListAction, 1},
    {274, menuEnterRow<223>, menuEnterRow<274>, menuServiceDataListAction, 1},
    {275, menuEnterRow<223>, menuEnterRow<275>, menuServiceDataListAction, 1},
    {276, menuEnterRow<223>, menuEnterRow<276>, menuServiceDataListAction, 1},
    {277, menuEnterRow<223>, menuEnterRow<277>, menuServiceDataListAction, 1},
    {278, menuEnterRow<223>, menuEnterRow<278>, menuServiceDataListAction, 1},
    {279, menuEnterRow<223>, menuEnterRow<279>, menuServiceDataListAction, 1},
    {280, menuEnterRow<223>, menuEnterRow<280>, menuServiceDataListAction, 1},
    {281, menuEnterRow<223>, menuEnterRow<281>, menuServiceDataListAction, 1},
    {282, menuEnterRow<223>, menuEnterRow<282>, menuServiceDataListAction, 1},
    {283, menuEnterRow<223>, menuEnterRow<283>, menuServiceDataListAction, 3},
    {267, menuEnterRow<223>, menuEnterRow<267>, menuUpdateListAction, 0},
    {268, menuEnterRow<223>, menuEnterRow<268>, menuUpdateListAction, 1},
    {269, menuEnterRow<223>, menuEnterRow<269>, menuUpdateListAction, 1},
    {270, menuEnterRow<223>, menuEnterRow<270>, menuUpdateListAction, 3},
    {285, menuEnterRow<284>, menuEnterRow<285>, Enter_menuListSavRecTypeEdit, 0},
    {287, menuEnterRow<284>, menuEnterRow<287>, Enter_menuListSavRecActionEdit, 1},
    {289, menuEnterRow<284>, menuEnterRow<289>, Enter_menuListSavRecMemoryEdit, 3},
    {kMenuNavEnd, menuNavNothing, menuNavNothing, menuNavNothing, 0},
};
inline constexpr uint32_t kMenuNavRows = sizeof g_MenuNavTable / sizeof g_MenuNavTable[0] - 1;

// The number of rows of each list, in the table's order: top, MISC, LAN, USB device, RS232C, GPIB,
// CANopen, DeviceNet, output impedance, parallel, LCD, barcode, model/brand, service switches, service
// data, firmware update, save/recall. The knob never leaves the list it is in.
inline constexpr uint32_t kMenuNavListSizes[] = {12, 21, 7, 1, 4, 1, 2, 2, 7, 3, 3, 12, 2, 27, 12, 4, 3};

// The first and last table index of the list that holds the row at index i.
struct MenuNavSpan {
    uint32_t first, last;
};
constexpr MenuNavSpan MenuNavListOf(uint32_t i) {
    uint32_t first = 0;
    for (uint32_t n : kMenuNavListSizes) {
        if (i < first + n) return {first, first + n - 1};
        first += n;
    }
    return {i, i};
}
