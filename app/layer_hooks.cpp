#include "app/layer_hooks.h"

#include <cstdio>

#include "app/timer_thread.h"

#include "GUI/gui.h"
#include "core/control/ctrl_task.h"
#include "core/control/hooks/core_services.h"
#include "core/control/hooks/screen_request.h"
#include "core/control/sys_event.h"
#include "core/regbus/bus_transfer.h"
#include "drivers/barcode_scanner.h"
#include "drivers/board_lines.h"
#include "drivers/speaker.h"
#include "engine/run/seqsim_run.h"
#include "engine/run/seqsim_verify.h"
#include "engine/seq/seq_access.h"
#include "engine/seqsim/seqsim_mode.h"
#include "panel/edit/home_edit_keys.h"
#include "panel/keys/key_filters.h"
#include "panel/menu/edit_follow.h"
#include "panel/menu/row_entry_hook.h"
#include "panel/menu_entries.h"
#include "panel/menu_thread.h"
#include "panel/pages/page_mgr.h"
#include "panel/panel_services.h"
#include "panel/popup/overlay_popup.h"
#include "panel/sys_service.h"
#include "scpi/channels/ports/gpib_channel.h"
#include "scpi/channels/ports/uart_channel.h"
#include "scpi/channels/scpi_channels.h"
#include "scpi/status/scpi_status.h"
#include "screens/menu/arbedit/arb_edit_keys.h"
#include "screens/menu/cal/cal_screen.h"
#include "screens/menu/cal/cali_keys.h"
#include "screens/menu/cal/cali_pages.h"
#include "screens/menu/editors/item_editor_slots.h"
#include "screens/menu/nav/menu_key_slots.h"
#include "screens/menu/page/menu_page.h"
#include "screens/menu/rows/row_entries.h"
#include "screens/menu/service/service_entries.h"
#include "screens/menu/service/service_key_slots.h"
#include "screens/output/home/home_screen.h"
#include "screens/output/home/home_value_fit.h"
#include "screens/output/keys/key_table.h"
#include "screens/output/simple/simple_screen.h"
#include "screens/output/startup/startup_screen.h"
#include "screens/seqsim/page/seqsim_screen.h"
#include "screens/seqsim/seq/seq_enter.h"
#include "screens/seqsim/seq/seq_mem_reload.h"
#include "screens/seqsim/seq/seq_memory.h"
#include "screens/seqsim/seq/seq_page_keys.h"
#include "screens/seqsim/seq/seq_panel_keys.h"
#include "screens/seqsim/seq/seq_prepare_step.h"
#include "screens/seqsim/seq/seq_select_keys.h"
#include "screens/seqsim/seqedit/seq_editor_keys.h"
#include "screens/seqsim/seqsim_entry.h"
#include "screens/seqsim/seqsim_mem_delete.h"
#include "screens/seqsim/seqsim_panel.h"
#include "screens/seqsim/seqsim_prepare.h"
#include "screens/seqsim/sim/memory/sim_memory.h"
#include "screens/seqsim/sim/sim_entries.h"
#include "screens/seqsim/sim/sim_key_slots.h"
#include "screens/seqsim/sim/sim_prepare.h"
#include "screens/seqsim/sim/sim_remote_field.h"
#include "screens/seqsim/simedit/sim_editor_slots.h"
#include "storage/files/barcode_file.h"
#include "storage/files/memory_data.h"
#include "storage/nv/nv_settings_convert.h"
#include "storage/nv/settings_backup.h"
#include "sysadmin/system_helpers.h"
#include "sysadmin/usb/usb_port_seq.h"

void WireLayerHooks() {
    BusReg_SetStepSource(SeqGetAbsStep);
    SeqSimSetCheckHooks({.seq = Seq_StopOrReset, .sim = Sim_AfterFieldWrite});
    SysEvent_SetHooks({.initRuntimeState = InitRuntimeStateForReset,
                       .parallelConfigUnits = ParallelConfigUnits,
                       .uartChannelRestart = UartChannelRestart,
                       .operationPending = SeqSimPreparationPending});
    CtrlTask_SetPowerOnEntries({.seq = Seq_EnterModeAtPowerOn, .sim = Sim_EnterModeAtPowerOn});
    HwConsoleSetGraphicsStart(GUI_Start);
    HwConsoleSetStartScreen(StartupScreen);
    MenuThread_SetKeyDispatch(menuKeyDispatch);
    MenuRows_SetEntry(MenuRows_EnterState);
    if (MenuNav_RegisterKeys() != 0) std::fputs("the key table refused the menu key handlers\n", stderr);
    if (MenuItemEditors_Register() != 0) std::fputs("the key table refused the menu item editors\n", stderr);
    if (CaliKeys_Register() != 0) std::fputs("the key table refused the calibration key handlers\n", stderr);
    if (MenuService_RegisterKeys() != 0) std::fputs("the key table refused the service key handlers\n", stderr);
    if (ArbEdit_RegisterKeys() != 0) std::fputs("the key table refused the waveform editor's keys\n", stderr);
    MenuThread_SetSeqSimDefaults({.seq = SeqMem_ReloadAtStart, .sim = Sim_LoadLastOrDefault});
    MenuThread_SetValueFit(home::HomeValues_Fit);
    // The overlay's slot stays empty until its layer is built.
    PageMgr_SetPages({.home = &HomePageDesc,
                      .simple = &SimplePageDesc,
                      .overlay = &OverlayPageDesc,
                      .cal = &CalPageDesc,
                      .menu = &MenuPageDesc,
                      .seqsim = &SeqSimPageDesc});
    Barcode_SetFileHooks({.load = BarcodeFileLoad, .save = BarcodeFileSave});
    HomeKeys_SetSeqSimKey(KeyProcess_Sequence);
    MemoryData_SetDeleteHooks({.seq = SeqMem_DeleteItem, .sim = SimMem_DeleteItem});
    CoreServices_Set({.beepOn = BeepOn,
                      .beepOff = BeepOff,
                      .beepRequest = BeepRequest,
                      .beepService = BeepService,
                      .backupSave = SettingsBackupSaveAll,
                      .backupRebase = BackupBlocksRebaseAll,
                      .initRuntimeState = InitRuntimeStateForReset,
                      .serviceItem = ServiceSlaveItem});
    ScreenRequest_SetRunners({.advanceScreen = menuGoAdvenceScreen,
                              .simpleScreen = menuGoSimpleScreen,
                              .parallelRetry = menuEnterParallelRetry,
                              .enterStateValue = menuEnterStateValue,
                              .calibrationPage = CaliPage_Enter,
                              .goCalibration = menuGoCalibration,
                              .seqSimExit = Seq_Exit,
                              .seqStepChanged = Seq_StepChangedHook,
                              .arbitraryMode = menuEnterArbitraryMode,
                              .simSelectBuffers = Sim_SelectBuffers,
                              .simEnterStep = Enter_menuSimulationStep,
                              .seqSelectBuffers = Seq_SelectBuffers,
                              .seqEnterStepIndex = Enter_menuSeqSetStepIndex,
                              .seqLeavePreview = Seq_LeavePreview,
                              .editFollow = EditFollow_Apply,
                              .seqEnter = Seq_EnterMode,
                              .simEnter = Sim_EnterMode,
                              .simShowField = Sim_ShowRemoteField});
    KeyFilters_SetFactoryArmCheck(CheckOnceFlag);
    if (SeqSelect_RegisterKeys() != 0) std::fputs("the key table refused the SEQUENCE field keys\n", stderr);
    if (SeqPageKeys_Register() != 0) std::fputs("the key table refused the SEQUENCE editors and pages\n", stderr);
    if (SeqEditors_RegisterKeys() != 0) std::fputs("the key table refused the SEQUENCE value editors' keys\n", stderr);
    SysService_SetPreparationSteps({.seq = Seq_PreparationStep, .sim = Sim_PreparationStep});
    UsbPort_SetHooks(
        {.postUsb = [](uint32_t bits,
                       uintptr_t arg) { return scpiPostInterfaceRequest(&scpi::g_StatusUsb, bits, arg); },
         .postGpib = [](uint32_t bits,
                        uintptr_t arg) { return scpiPostInterfaceRequest(&scpi::g_StatusGpib, bits, arg); },
         .usbHostConnected =
             [] {
                 return (scpi::g_StatusUsb.chanFlags.load(std::memory_order_acquire) & kChanConnected) != 0;
             },
         .loadGpibDriver = scpi::GpibDriverLoadOnce});
    if (Sim_RegisterSelectKeys() != 0) std::fputs("the key table refused the SIMULATE selection keys\n", stderr);
    if (SimEditors_RegisterKeys() != 0) std::fputs("the key table refused the SIMULATE editors' keys\n", stderr);
}
