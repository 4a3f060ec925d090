#pragma once
// The MENU lists as the keys walk them: every row of every list, in display order, list after list, with
// the operations that enter its list's owner, the row itself and what the row opens. The navigation finds
// the current row again from the menu state on every key; no cursor is kept.
#include <cstdint>

#include "panel/menu/row_entries.h"
#include "panel/menu_entries.h"
#include "screens/menu/service/service_entries.h"

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
    {94, menuReturnHome, menuEnterSystemInfoItem, menuNavNothing, kNavFirst},
    {95, menuReturnHome, menuEnterRow<95>, menuEnterRow<96>, kNavMiddle},
    {138, menuReturnHome, menuEnterRow<138>, menuEnterRow<139>, kNavMiddle},
    {165, menuReturnHome, menuEnterRow<165>, menuEnterRow<168>, kNavMiddle},
    {170, menuReturnHome, menuEnterRow<170>, menuEnterRow<171>, kNavOptional},
    {179, menuReturnHome, menuEnterRow<179>, menuEnterRow<180>, kNavOptional},
    {192, menuReturnHome, menuEnterRow<192>, menuEnterRow<193>, kNavOptional},
    {207, menuReturnHome, menuEnterRow<207>, menuEnterRow<208>, kNavOptional},
    {214, menuReturnHome, menuEnterArbEditItem, Enter_menuArbitraryMode, kNavMiddle},
    {221, menuReturnHome, menuEnterRow<221>, Enter_KeyProcess_DefaultSetEnter, kNavMiddle},
    {223, menuReturnHome, menuEnterRow<223>, Enter_KeyProcess_Password, kNavMiddle},
    {284, menuReturnHome, menuEnterRow<284>, menuEnterRow<285>, kNavLast},
    {96, menuEnterRow<95>, menuEnterRow<96>, Enter_KeyProcess_IpkHoldEdit, kNavFirst},
    {98, menuEnterRow<95>, menuEnterOutputPhaseItem, Enter_KeyProcess_OutputPhaseEdit, kNavMiddle},
    {100, menuEnterRow<95>, menuEnterRow<100>, Enter_KeyProcess_PhaseModeEdit, kNavMiddle},
    {102, menuEnterRow<95>, menuEnterRow<102>, Enter_KeyProcess_IpkhClrEdit, kNavMiddle},
    {104, menuEnterRow<95>, menuEnterRow<104>, Enter_KeyProcess_PowerOnEdit, kNavMiddle},
    {106, menuEnterRow<95>, menuEnterRow<106>, Enter_KeyProcess_BuzzerEdit, kNavMiddle},
    {108, menuEnterRow<95>, menuEnterRow<108>, Enter_KeyProcess_RemoteSenseEdit, kNavMiddle},
    {110, menuEnterRow<95>, menuEnterRow<110>, Enter_KeyProcess_SlewRateEdit, kNavMiddle},
    {112, menuEnterRow<95>, menuEnterRow<112>, Enter_KeyProcess_OutputRelayEdit, kNavMiddle},
    {114, menuEnterRow<95>, menuEnterRow<114>, Enter_KeyProcess_HarmModeEdit, kNavMiddle},
    {116, menuEnterRow<95>, menuEnterRow<116>, Enter_KeyProcess_ExtControlEdit, kNavMiddle},
    {118, menuEnterRow<95>, menuEnterRow<118>, Enter_KeyProcess_ACV_UnitEdit, kNavMiddle},
    {120, menuEnterRow<95>, menuEnterRow<120>, Enter_KeyProcess_SetChangePhase1Edit, kNavMiddle},
    {122, menuEnterRow<95>, menuEnterRow<122>, Enter_KeyProcess_VI_Monitor_Source1Edit, kNavMiddle},
    {124, menuEnterRow<95>, menuEnterRow<124>, Enter_KeyProcess_VI_Monitor_Source2Edit, kNavMiddle},
    {126, menuEnterRow<95>, menuEnterRow<126>, Enter_KeyProcess_VI_MonitorEdit, kNavMiddle},
    {128, menuEnterRow<95>, menuEnterRow<128>, Enter_KeyProcess_TriggerWidthEdit, kNavMiddle},
    {130, menuEnterRow<95>, menuEnterRow<130>, Enter_KeyProcess_TriggerSourceEdit, kNavMiddle},
    {132, menuEnterRow<95>, menuEnterRow<132>, Enter_KeyProcess_RelockEdit, kNavMiddle},
    {134, menuEnterRow<95>, menuEnterRow<134>, Enter_KeyProcess_AvgCountEdit, kNavMiddle},
    {136, menuEnterRow<95>, menuEnterRow<136>, Enter_KeyProcess_UpdateRateEdit, kNavLast},
    {139, menuEnterRow<138>, menuEnterRow<139>, Enter_menuListLanDhcpEdit, kNavFirst},
    {141, menuEnterRow<138>, menuEnterRow<141>, Enter_menuListLanIp1Edit, kNavMiddle},
    {146, menuEnterRow<138>, menuEnterRow<146>, Enter_menuListLanMask1Edit, kNavMiddle},
    {151, menuEnterRow<138>, menuEnterRow<151>, Enter_menuListLanGate1Edit, kNavMiddle},
    {156, menuEnterRow<138>, menuEnterRow<156>, Enter_menuListLanDns1Edit, kNavMiddle},
    {161, menuEnterRow<138>, menuEnterRow<161>, menuNavNothing, kNavMiddle},
    {163, menuEnterRow<138>, menuEnterRow<163>, menuNavNothing, kNavLast},
    {168, menuEnterRow<165>, menuEnterRow<168>, Enter_menuListUSBModeEdit, kNavOnly},
    {171, menuEnterRow<170>, menuEnterRow<171>, Enter_menuListRS232BaudRateEdit, kNavFirst},
    {173, menuEnterRow<170>, menuEnterRow<173>, Enter_menuListRS232DataBitEdit, kNavMiddle},
    {175, menuEnterRow<170>, menuEnterRow<175>, Enter_menuListRS232ParityEdit, kNavMiddle},
    {177, menuEnterRow<170>, menuEnterRow<177>, Enter_menuListRS232StopBitEdit, kNavLast},
    {180, menuEnterRow<179>, menuEnterRow<180>, Enter_menuListGPIBAddressEdit, kNavOnly},
    {183, menuEnterRow<182>, menuEnterRow<183>, Enter_menuListCANOPENBaudRateEdit, kNavFirst},
    {185, menuEnterRow<182>, menuEnterRow<185>, Enter_menuListCANOPENNodeIDEdit, kNavLast},
    {188, menuEnterRow<187>, menuEnterRow<188>, Enter_menuListDeviceNetBaudRateEdit, kNavFirst},
    {190, menuEnterRow<187>, menuEnterRow<190>, Enter_menuListDeviceNetAddressEdit, kNavLast},
    {193, menuEnterRow<192>, menuEnterRow<193>, Enter_menuListOutputImpedanceEdit, kNavFirst},
    {195, menuEnterRow<192>, menuEnterRow<195>, Enter_KeyProcess_L1InductanceEdit, kNavMiddle},
    {197, menuEnterRow<192>, menuEnterRow<197>, Enter_KeyProcess_L2InductanceEdit, kNavMiddle},
    {199, menuEnterRow<192>, menuEnterRow<199>, Enter_KeyProcess_L3InductanceEdit, kNavMiddle},
    {201, menuEnterRow<192>, menuEnterRow<201>, Enter_KeyProcess_L1ResistanceEdit, kNavMiddle},
    {203, menuEnterRow<192>, menuEnterRow<203>, Enter_KeyProcess_L2ResistanceEdit, kNavMiddle},
    {205, menuEnterRow<192>, menuEnterRow<205>, Enter_KeyProcess_L3ResistanceEdit, kNavLast},
    {208, menuEnterRow<207>, menuEnterRow<208>, Enter_menuListParallelPositionEdit, kNavFirst},
    {210, menuEnterRow<207>, menuEnterRow<210>, Enter_menuListParallelNumberEdit, kNavMiddle},
    {212, menuEnterRow<207>, menuEnterRow<212>, Enter_menuListParallelEnableEdit, kNavLast},
    {215, menuEnterArbEditItem, menuEnterRow<215>, Enter_menuListLCDConfContrastEdit, kNavFirst},
    {217, menuEnterArbEditItem, menuEnterRow<217>, Enter_menuListLCDConfBrightnessEdit, kNavMiddle},
    {219, menuEnterArbEditItem, menuEnterRow<219>, Enter_menuListLCDConfSaturationEdit, kNavLast},
    {292, menuEnterRow<223>, menuEnterRow<292>, menuEnterRow<293>, kNavFirst},
    {294, menuEnterRow<223>, menuEnterRow<294>, menuEnterRow<295>, kNavMiddle},
    {296, menuEnterRow<223>, menuEnterRow<296>, menuEnterRow<297>, kNavMiddle},
    {298, menuEnterRow<223>, menuEnterRow<298>, menuEnterRow<299>, kNavMiddle},
    {300, menuEnterRow<223>, menuEnterRow<300>, menuEnterRow<301>, kNavMiddle},
    {302, menuEnterRow<223>, menuEnterRow<302>, menuEnterRow<303>, kNavMiddle},
    {304, menuEnterRow<223>, menuEnterRow<304>, menuEnterRow<305>, kNavMiddle},
    {306, menuEnterRow<223>, menuEnterRow<306>, menuEnterRow<307>, kNavMiddle},
    {308, menuEnterRow<223>, menuEnterRow<308>, menuEnterRow<309>, kNavMiddle},
    {310, menuEnterRow<223>, menuEnterRow<310>, menuEnterRow<311>, kNavMiddle},
    {312, menuEnterRow<223>, menuEnterRow<312>, menuEnterRow<313>, kNavMiddle},
    {314, menuEnterRow<223>, menuEnterRow<314>, menuEnterRow<315>, kNavLast},
    {225, menuEnterRow<223>, menuEnterRow<225>, Enter_KeyProcess_8623_FirmEdit, kNavFirst},
    {227, menuEnterRow<223>, menuEnterRow<227>, Enter_KeyProcess_8623_ModelEdit, kNavLast},
    {229, menuEnterRow<223>, menuEnterRow<229>, menuServiceToggle, kNavFirst},
    {230, menuEnterRow<223>, menuEnterRow<230>, menuServiceToggle, kNavMiddle},
    {231, menuEnterRow<223>, menuEnterRow<231>, menuServiceToggle, kNavMiddle},
    {232, menuEnterRow<223>, menuEnterRow<232>, menuServiceToggle, kNavMiddle},
    {233, menuEnterRow<223>, menuEnterRow<233>, menuServiceToggle, kNavMiddle},
    {234, menuEnterRow<223>, menuEnterRow<234>, Enter_KeyProcess_9371_VoltSlewEdit, kNavMiddle},
    {235, menuEnterRow<223>, menuEnterRow<235>, Enter_KeyProcess_9371_FanSlewEdit, kNavMiddle},
    {236, menuEnterRow<223>, menuEnterRow<236>, Enter_KeyProcess_9371_FanDutyMaxEdit, kNavMiddle},
    {237, menuEnterRow<223>, menuEnterRow<237>, Enter_KeyProcess_9371_FanDutyMinEdit, kNavMiddle},
    {238, menuEnterRow<223>, menuEnterRow<238>, menuServiceToggle, kNavMiddle},
    {239, menuEnterRow<223>, menuEnterRow<239>, menuServiceToggle, kNavMiddle},
    {240, menuEnterRow<223>, menuEnterRow<240>, menuServiceToggle, kNavMiddle},
    {241, menuEnterRow<223>, menuEnterRow<241>, menuServiceToggle, kNavMiddle},
    {242, menuEnterRow<223>, menuEnterRow<242>, menuServiceToggle, kNavMiddle},
    {243, menuEnterRow<223>, menuEnterRow<243>, menuServiceToggle, kNavMiddle},
    {244, menuEnterRow<223>, menuEnterRow<244>, menuServiceToggle, kNavMiddle},
    {245, menuEnterRow<223>, menuEnterRow<245>, menuServiceToggle, kNavMiddle},
    {246, menuEnterRow<223>, menuEnterRow<246>, Enter_KeyProcess_9371_AvgCurrComp_kpEdit, kNavMiddle},
    {247, menuEnterRow<223>, menuEnterRow<247>, Enter_KeyProcess_9371_AvgCurrComp_kiEdit, kNavMiddle},
    {248, menuEnterRow<223>, menuEnterRow<248>, menuServiceToggle, kNavMiddle},
    {249, menuEnterRow<223>, menuEnterRow<249>, menuServiceToggle, kNavMiddle},
    {250, menuEnterRow<223>, menuEnterRow<250>, menuServiceToggle, kNavMiddle},
    {251, menuEnterRow<223>, menuEnterRow<251>, Enter_KeyProcess_9371_RD_Define1Edit, kNavMiddle},
    {252, menuEnterRow<223>, menuEnterRow<252>, Enter_KeyProcess_9371_RD_Define2Edit, kNavMiddle},
    {253, menuEnterRow<223>, menuEnterRow<253>, Enter_KeyProcess_9371_RD_Define3Edit, kNavMiddle},
    {254, menuEnterRow<223>, menuEnterRow<254>, Enter_KeyProcess_9371_RD_Define4Edit, kNavMiddle},
    {255, menuEnterRow<223>, menuEnterRow<255>, Enter_KeyProcess_9371_RD_Define5Edit, kNavLast},
    {272, menuEnterRow<223>, menuEnterRow<272>, menuServiceDataListAction, kNavFirst},
    {273, menuEnterRow<223>, menuEnterRow<273>, menuServiceDataListAction, kNavMiddle},
    {274, menuEnterRow<223>, menuEnterRow<274>, menuServiceDataListAction, kNavMiddle},
    {275, menuEnterRow<223>, menuEnterRow<275>, menuServiceDataListAction, kNavMiddle},
    {276, menuEnterRow<223>, menuEnterRow<276>, menuServiceDataListAction, kNavMiddle},
    {277, menuEnterRow<223>, menuEnterRow<277>, menuServiceDataListAction, kNavMiddle},
    {278, menuEnterRow<223>, menuEnterRow<278>, menuServiceDataListAction, kNavMiddle},
    {279, menuEnterRow<223>, menuEnterRow<279>, menuServiceDataListAction, kNavMiddle},
    {280, menuEnterRow<223>, menuEnterRow<280>, menuServiceDataListAction, kNavMiddle},
    {281, menuEnterRow<223>, menuEnterRow<281>, menuServiceDataListAction, kNavMiddle},
    {282, menuEnterRow<223>, menuEnterRow<282>, menuServiceDataListAction, kNavMiddle},
    {283, menuEnterRow<223>, menuEnterRow<283>, menuServiceDataListAction, kNavLast},
    {267, menuEnterRow<223>, menuEnterUpdateFirmwareItem, menuUpdateListAction, kNavFirst},
    {268, menuEnterRow<223>, menuEnterRow<268>, menuUpdateListAction, kNavMiddle},
    {269, menuEnterRow<223>, menuEnterRow<269>, menuUpdateListAction, kNavMiddle},
    {270, menuEnterRow<223>, menuEnterRow<270>, menuUpdateListAction, kNavLast},
    {285, menuEnterRow<284>, menuEnterRow<285>, Enter_menuListSavRecTypeEdit, kNavFirst},
    {287, menuEnterRow<284>, menuEnterRow<287>, Enter_menuListSavRecActionEdit, kNavMiddle},
    {289, menuEnterRow<284>, menuEnterRow<289>, Enter_menuListSavRecMemoryEdit, kNavLast},
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
