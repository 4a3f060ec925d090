#include "panel/menu_thread.h"

#include <semaphore.h>

#include <cctype>
#include <cstdio>

#include "core/control/alarms/alarms.h"
#include "core/control/calibration/calibration.h"
#include "core/control/hooks/screen_request.h"
#include "core/control/output_request.h"
#include "core/control/sync/output_pending.h"
#include "core/control/sync/output_sync.h"
#include "core/control/sys_event.h"
#include "core/params/access/param_access.h"
#include "core/params/defaults/param_init.h"
#include "core/params/limits/limit_checks.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_store.h"
#include "core/regbus/bus_transfer.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/remote_state.h"
#include "core/system/messaging/msg_queue.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/seqsim_slots.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "drivers/spi_nvm.h"
#include "engine/seqsim/seqsim_data.h"
#include "engine/seqsim/seqsim_file.h"
#include "engine/seqsim/seqsim_names_file.h"
#include "panel/hardcopy/hardcopy.h"
#include "panel/keys/key_filters.h"
#include "panel/keys/scanned_line.h"
#include "panel/menu_entries.h"
#include "panel/panel_lamps.h"
#include "panel/panel_services.h"
#include "panel/restart_save.h"
#include "panel/runtime_init.h"
#include "panel/settings_apply.h"
#include "panel/status_conditions.h"
#include "panel/sys_service.h"
#include "platform/host/clock.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/handlers/data/data_slot9.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/parser/scpi_tree.h"
#include "storage/files/preset_file.h"
#include "storage/image_hold.h"
#include "storage/nv/config_text.h"
#include "storage/nv/factory_memory.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/preset_backup.h"
#include "storage/nv/settings_backup.h"
#include "sysadmin/firmware/brand_files.h"
#include "sysadmin/firmware/brand_web_images.h"
#include "sysadmin/firmware/fw_update.h"
#include "sysadmin/net/net_commands.h"
#include "sysadmin/net/net_monitor.h"
#include "sysadmin/system_helpers.h"
#include "sysadmin/usb/usb_gadget.h"

std::atomic<uint32_t> g_MenuHandshake{0};
std::atomic<uint32_t> g_PendingReconfig{0};
std::atomic<uint32_t> g_UiReady{0};

namespace panel {
MenuCommand g_MenuCommand{};
}  // namespace panel

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kReconfigMask = 3u << kSysReconfigLow;
// Longest a command that completes later waits for the system to report ready.
constexpr uint32_t kCompleteLaterMs = 5000;

std::atomic<KeyHandler> g_keyDispatch{nullptr};
std::atomic<int32_t (*)(int32_t)> g_seqReload{nullptr};
std::atomic<void (*)(uint16_t)> g_simReload{nullptr};
std::atomic<void (*)()> g_valueFit{nullptr};

// The records the painters show are this thread's to write: the values they show clamped are put back here.
void FitShownValues() {
    if (const auto fit = g_valueFit.load(std::memory_order_acquire); fit != nullptr) fit();
}

uint32_t ReconfigField() {
    return (g_SysStatus.load(std::memory_order_acquire) & kReconfigMask) >> kSysReconfigLow;
}

// Ends the output-reconfiguration hand-shake of the command that asked for it.
void EndReconfigHandshake() {
    uint32_t old = g_SysStatus.load(kRelaxed);
    while (
        !g_SysStatus.compare_exchange_weak(old, old & ~kReconfigMask, std::memory_order_acq_rel, kRelaxed)) {
    }
    g_PendingReconfig.store(0, kRelaxed);
}

void ReportKey(uint32_t ev) {
    // A person at the panel channel sees the key arrive.
    uint8_t code = KeyEventCode(ev);
    std::printf("MenuThread: key code %u '%c' class %u knob %d\n", code, std::isprint(code) ? code : '?',
                KeyEventClass(ev), KeyEventDelta(ev));
    std::fflush(stdout);
}

void LocalKey(uint32_t* ev) {
    AlarmBeepStop();
    SetHoldCountdown(20);
    const bool busy = g_BusHold.load(kRelaxed) != 0 || Hardcopy_IsPending() || SysStatusTest(kSysCaliProcessing);
    if (busy && !SysStatusTest(kSysUnlocked)) return;
    // The held "no update" popup of the start-up DSP check goes with the first key.
    if (!busy && c2000Checked.load(kRelaxed) == 2 && MsgPopup_IsPersistent()) MsgPopup_Close();
    KeyOutputOffFilter(ev);
    KeyLockFilter(ev);
    if (g_ParamFlags.load(kRelaxed) & core::kFlagKeysLocked) return;
    if (GetParallelPosition() == 1) {
        KeyPresetToggle(ev);
        KeyShiftTranslate(ev);
    }
    if (*ev == 0) return;
    if (KeyHandler dispatch = g_keyDispatch.load(std::memory_order_acquire)) {
        // A key may edit or select the SEQ/SIM step tables the runner thread reads.
        const storage::ImageHold tables(g_SeqSimTableLock);
        if (!tables.owns_lock()) {
            std::fprintf(stderr, "MenuThread: SEQ/SIM tables busy, key dropped\n");
            return;
        }
        dispatch(ev);
    }
    BeepRequest();
}

void RemoteKey(uint32_t* ev) {
    const uint8_t code = KeyEventCode(*ev);
    if ((g_ParamFlags.load(kRelaxed) & core::kFlagShiftLatched) == 0) {
        if (code == kKeyShift)
            g_ParamFlags.fetch_or(core::kFlagShiftLatched, kRelaxed);
        else if (code != kKeyOutput || KeyOutputOffFilter(ev) != 0)
            MsgQueue_PostId(kMsgRemoteRefused);
        return;
    }
    g_ParamFlags.fetch_and(~core::kFlagShiftLatched, kRelaxed);
    if (code == kKeyDigit0 || code == kKeyPreset) {
        OutputFlagClear(kOutFlagRemote);
        RemoteStateSet(kRemoteLocal);
        if (MsgPopup_IsPersistent()) MsgPopup_Close();
    }
}

void KeyStep() {
    uint32_t ev = 0;
    if (KeyEventTake(&ev) != 0 || ev == 0) return;
    ReportKey(ev);
    AlarmBeepAck();
    if (g_HardcopyLongPressEnable.load(kRelaxed) != 0 && KeyEventCode(ev) == kKeyLongMenu) {
        Hardcopy_KeyRequest();
        return;
    }
    switch (RemoteStateGet()) {
        case kRemoteRemote:
            RemoteKey(&ev);
            break;
        case kRemoteRwLock:
            ShowMessage(2, "Invalid with \nRemote Lock Control");
            break;
        default:
            LocalKey(&ev);
            break;
    }
}

// True when a message was taken from the queue.
bool ReceiveSetCommand() {
    panel::MenuCommand& cmd = panel::g_MenuCommand;
    if (cmd.tag != 0) return false;  // one command at a time: the previous one is not yet completed
    SysMsg msg{};
    // An idle pass asks the queue only when something was sent since it was last found empty.
    static uint32_t emptyAt = kMsgQueueNeverPolled;
    if (MsgQueueRecvIfSent(&msg, kMsgSetCommand, &emptyAt) < 0) return false;
    // A command its channel has given up is not run: the channel has moved on with its context.
    if (!ScpiHandoverClaim(msg)) return true;
    cmd = panel::MenuCommand{reinterpret_cast<ScpiInterface*>(msg.ptr), false, msg.word1, 0,
                             plat::NowMs() + kCompleteLaterMs, false, 0, nullptr};
    const ScpiHandoverOps* ops = g_ScpiHandoverOps.load();
    // After the save that ends the process a command would be acknowledged and then lost with it.
    if (msg.word0 != 0 || cmd.ifc == nullptr || ops == nullptr || SetCommandsClosed()) {
        // Its channel still waits: it is told that the command failed.
        std::fprintf(stderr, "MenuThread: set command that cannot run completed as failed\n");
        ScpiHandoverRan(cmd.tag);
        cmd.done = true;
        cmd.result = 1;
        return true;
    }
    // A set command may edit or select the SEQ/SIM step tables the runner thread reads; one that cannot
    // have them fails rather than run beside the runner.
    const storage::ImageHold tables(g_SeqSimTableLock);
    if (!tables.owns_lock()) {
        std::fprintf(stderr, "MenuThread: SEQ/SIM tables busy, set command completed as failed\n");
        ScpiHandoverRan(cmd.tag);
        cmd.done = true;
        cmd.result = 1;
        return true;
    }
    const int32_t later = ops->run(cmd.ifc);
    ScpiHandoverRan(cmd.tag);
    // Completed at once, before the control task's next pass takes what it changed to the stage: until
    // then *OPC?, *OPC and *WAI of its channel count it as pending.
    if (ScpiHandoverTakeOutputChange()) {
        cmd.ticket = core::NoteSettingsChange();
        ScpiHandoverNoteChange(cmd.tag, cmd.ticket);
    }
    cmd.check = ScpiHandoverTakeCheck();
    cmd.afterPass = later == kScpiRunAfterPass;
    if (later == kScpiRunDone && ReconfigField() == 0 && g_PendingReconfig.load(kRelaxed) == 0)
        cmd.done = true;
    return true;
}

// The control task has carried out what the command changed, and what it rewrites in answer: the next
// command of the channel cannot land in between and be overwritten, nor be undone by it. In calibration
// mode the task does not run and there is nothing to wait for.
bool ControlCaughtUp(const panel::MenuCommand& cmd) {
    return core::SettingsChangeTaken(cmd.ticket);
}

void CompleteSetCommand() {
    panel::MenuCommand& cmd = panel::g_MenuCommand;
    if (cmd.tag == 0) return;
    if (cmd.afterPass && !cmd.done && ControlCaughtUp(cmd)) {
        cmd.done = true;
    } else if (!cmd.done && !cmd.afterPass &&
               (ReconfigField() == 2 || g_PendingReconfig.load(kRelaxed) == 1) && IsSystemReady() &&
               ControlCaughtUp(cmd)) {
        cmd.done = true;
        EndReconfigHandshake();
    } else if (!cmd.done && plat::NowMs() >= cmd.deadlineMs) {
        // The system did not become ready: the channel is not kept waiting for ever. The hand-shake ends
        // with the command; left standing, it would hold every later set command for the same wait.
        std::fprintf(stderr, "MenuThread: set command not completed within %u ms, reported as failed\n",
                     kCompleteLaterMs);
        cmd.done = true;
        cmd.result = 1;
        EndReconfigHandshake();
    }
    if (!cmd.done) return;
    if (cmd.result == kScpiResultDone && cmd.check != nullptr && !cmd.check())
        cmd.result = kScpiResultNoEffect;
    cmd.check = nullptr;
    // A failed send is tried again on the next pass; the channel keeps waiting.
    if (ScpiHandoverComplete(cmd.tag, cmd.result) == 0) cmd = panel::MenuCommand{};
}

void GuiHandshake() {
    uint32_t hs = g_MenuHandshake.load(kRelaxed);
    if ((hs & 1u) && sem_trywait(&g_IpcSems[1]) == 0) g_MenuHandshake.fetch_and(~1u, kRelaxed);
    hs = g_MenuHandshake.load(kRelaxed);
    if (hs & 2u) {
        g_MenuHandshake.store((hs & ~2u) | 1u, kRelaxed);
        sem_post(&g_IpcSems[0]);
    }
}

}  // namespace

namespace {
// The checks of every stored setting against the limits of the model just loaded.
void StartupLimitChecks() {
    if (const uint32_t type = g_ModelId.load(kRelaxed); type != 0) BusReg_SetModelType(static_cast<int32_t>(type));
    ArbAcvLimitUpdateAll();
    for (uint32_t mode = 0; mode < 10; ++mode) {
        FreqLimitCheck(mode);
        for (uint32_t area = 0; area < 2; ++area)
            VoltSettingCheckAll(mode, area);
    }
}

// A backup block whose sum matches may still hold values another model or an older program allowed:
// each record is held within what this model takes before a recall can apply it.
void PresetRangeChecks() {
    for (uint32_t p = 0; p < kPresetPhases; ++p)
        for (uint32_t n = 0; n < kPresetCount; ++n)
            PresetRecordCheck(PresetRecord(n, p), 1);
}

// The SEQ and SIM memories used last come back into the working tables through the front panel's own
// start-up loads (in the screens above the panel), which also fill the tables of a memory that loads
// nothing.
void ReloadLastSeqSimSlots() {
    const auto seqReload = g_seqReload.load(std::memory_order_acquire);
    if (seqReload != nullptr) seqReload(g_SeqSimSlots.seq);
    const auto simReload = g_simReload.load(std::memory_order_acquire);
    if (simReload != nullptr) simReload(g_SeqSimSlots.sim);
}
}  // namespace

void MenuThread_Start() {
    ScreenRequest_SetTaker();
    g_UiReady.store(0, std::memory_order_release);
    // A memory that cannot be opened is not tested and leaves the unit without a model type; one that
    // fails its test is still read: a block that fails its checksum is not applied.
    const bool nvOpen = SpiNvmInit() == 0;
    if (!nvOpen) {
        SysStatusSet(kSysNvMemFailure);
    } else {
        if (NvMemTest() != 0) SysStatusSet(kSysNvMemFailure);
        IdentityBlockLoad();
    }
    const bool factoryUnit = FactoryUnitIdentity();
    // The parameter records of the model type block 0 gave; the stored settings load over them.
    SetDefaultAll();
    // The LAN and interface defaults: the stored configuration text overrides them key by key.
    LanSetDefault();
    if (factoryUnit && FactoryUnitWrite() != kNvSaved)
        std::fprintf(stderr, "MenuThread: the new unit's block 0 could not be written\n");
    if (factoryUnit && FactoryMemoryWrite() != kNvSaved)
        std::fprintf(stderr, "MenuThread: the new unit's other blocks could not be written\n");
    SpecialDataLoad();
    BackupLoadPhaseSettings(1);
    if (nvOpen) {
        LoadSystemConfig();
        PresetBackupLoadAll();
        PresetRangeChecks();
    } else {
        PresetClearAll();
    }
    if (nvOpen) StartupLimitChecks();
    ApplyPendingIfaceConfig();
    // Memory 9 as the user stored it, should a power cut have ended its loan, before anything reads it.
    scpi::Slot9RecoverAtStart();
    SeqSimNamesLoad(SeqSimMemFilesStored());
    SeqSimMemFilesReport();
    g_UiReady.fetch_or(1u, std::memory_order_release);
    ReloadLastSeqSimSlots();
    IfaceUsbByteSet(0, static_cast<uint8_t>((IfaceUsbByte(0) & ~storage::kUsbSpeedMask) |
                                            (1u << storage::kUsbSpeedShift)));
    BuildIdnString();
    // The identity block's MAC goes to eth0 and what eth0 took is read back; the host name, the USB gadget
    // and the network configuration follow from the identity and the LAN settings just loaded.
    SetMacAddress();
    ReadMacAddress();
    HostnameApply();
    UsbGadgetInit();
    NetStateInit();
    NetConfigStart();
    InitRuntimeState();
    PanelCommStartup();
    SysStatusSet(kSysMenuThreadRunning);
    g_ScpiCmdSetSel.store(0);
    SysStatusClear(kSysSetCommandsBarred);
    SysStatusClear(kSysRestartPending);
    SysStatusClear(kSysRestartHandled);
    CopyBrandWebImages();
    BrandBootLogoCheck();
}

void MenuThread_SetKeyDispatch(KeyHandler dispatch) {
    g_keyDispatch.store(dispatch, std::memory_order_release);
}
void MenuThread_SetSeqSimDefaults(const SeqSimReloads& reloads) {
    g_seqReload.store(reloads.seq, std::memory_order_release);
    g_simReload.store(reloads.sim, std::memory_order_release);
}
void MenuThread_SetValueFit(void (*fit)()) {
    g_valueFit.store(fit, std::memory_order_release);
}

int SettingsSaveRequestTake() {
    if (!SysStatusTest(kSysResetSaveRequest)) return 0;
    // The settings a reset leaves are saved before the request is cleared: otherwise the next start would
    // load the blocks saved before the reset over them.
    BackupSavePhaseSettings(g_PhaseMode.load());
    BackupSaveSystem();
    SysStatusClear(kSysResetSaveRequest);
    SysEvent_SaveRequestTaken();
    g_HomePage.panelRow.store(0, kRelaxed);
    return 1;
}

void MenuThread_Pass() {
    if (Hardcopy_IsPending()) {
        // While the screen is copied only OUTPUT acts, and it must act at once: the output is switched off.
        uint32_t ev = 0;
        if (KeyEventTake(&ev) == 0 && ev != 0) KeyOutputOffFilter(&ev);
        panel::EditPublish();
        return;
    }
    // What other threads asked of the screens, before this pass's keys and set commands see the screen.
    ScreenRequest_RunPending();
    SettingsSaveRequestTake();
    KeyStep();
    ScannedLineStep();
    ReceiveSetCommand();
    sysServiceStep();
    SyncPanelIndicators();
    UpdateStatusConditions();
    CompleteSetCommand();
    FitShownValues();
    // The GUI thread paints the edit words as this pass left them: every key handler and set command
    // that changed them ran above.
    panel::EditPublish();
    GuiHandshake();
}

bool MenuThread_TakeSetCommand() {
    if (Hardcopy_IsPending()) return false;
    // A command between passes sees the screen other threads asked for as one at a pass does: a
    // calibration reading is checked against the point the procedure moved to.
    ScreenRequest_RunPending();
    if (!ReceiveSetCommand()) return false;
    CompleteSetCommand();
    FitShownValues();
    panel::EditPublish();
    return true;
}

void MenuThread_WaitForPass(uint64_t nextPassUs) {
    // Commands handed over while the thread waits run now instead of at the next pass; the pass itself
    // keeps its time, so its counts and time-outs keep their length.
    while (ScpiHandoverWaitPosted(nextPassUs)) {
        while (plat::NowUs() < nextPassUs && MenuThread_TakeSetCommand()) {
        }
    }
}

void MenuThread_Cycle() {
    MenuThread_Pass();
    MenuThread_WaitForPass(plat::NowUs() + kMenuPassUs);
}

void* MenuThread(void*) {
    MenuThread_Start();
    for (;;)
        MenuThread_Cycle();
    return nullptr;
}

namespace panel {
void MenuThreadReset() {
    g_MenuCommand = MenuCommand{};
    g_MenuHandshake.store(0, kRelaxed);
    g_PendingReconfig.store(0, kRelaxed);
}
}  // namespace panel
