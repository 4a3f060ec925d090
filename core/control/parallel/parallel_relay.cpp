// The master's side of the link frames: what it does with each item a slave sends, and the texts of the
// slave events.
#include <cstdio>
#include <iterator>

#include "core/control/alarms/alarm_state.h"
#include "core/control/hooks/screen_request.h"
#include "core/control/parallel/parallel_frame.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/regbus/reg_read.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/sys_status.h"
#include "platform/host/clock.h"

namespace core {
std::atomic<uint32_t> g_HwVariant{0};
}  // namespace core

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

enum class Popup { kTimed, kHold, kErrorHold };
struct SlaveEventText {
    const char* format;  // %d is the slave number
    Popup kind;
};
constexpr SlaveEventText kSlaveEvents[] = {
    {"Slave%d\nUSB Memory Access Error", Popup::kTimed},
    {"Slave%d\nUSB Memory Unconnected", Popup::kTimed},
    {"Recall Calibration Slave%d\nPlease Wait...", Popup::kHold},
    {"Recall Calibration Slave%d\nU,V,W Data Error", Popup::kErrorHold},
    {"Slave%d\nSaved Calibration U,V,W\nSuccess", Popup::kHold},
    {"Recall Slave%d Cal Pass V,W,\n Recall Cal Fail U", Popup::kErrorHold},
    {"Recall Slave%d Cal Pass U,W,\n Recall Cal Fail V", Popup::kErrorHold},
    {"Recall Slave%d Cal Pass W,\n Recall Cal Fail U,V", Popup::kErrorHold},
    {"Recall Slave%d Cal Pass U,V,\n Recall Cal Fail W", Popup::kErrorHold},
    {"Recall Slave%d Cal Pass V,\n Recall Cal Fail U,W", Popup::kErrorHold},
    {"Recall Slave%d Cal Pass U,\n Recall Cal Fail V,W", Popup::kErrorHold},
    {"Recall Slave%d \nCalibration U,V,WFail", Popup::kErrorHold},
    {"Saved Calibration Slave%d\nPlease Wait...", Popup::kHold},
    {"Saved Slave%d Cal Pass V,W,\n Saved Cal Fail U", Popup::kErrorHold},
    {"Saved Slave%d Cal Pass U,W,\n Saved Cal Fail V", Popup::kErrorHold},
    {"Saved Slave%d Cal Pass W,\n Saved Cal Fail U,V", Popup::kErrorHold},
    {"Saved Slave%d Cal Pass U,V,\n Saved Cal Fail W", Popup::kErrorHold},
    {"Saved Slave%d Cal Pass V,\n Saved Cal Fail U,W", Popup::kErrorHold},
    {"Saved Slave%d Cal Pass U,\n Saved Cal Fail V,W", Popup::kErrorHold},
    {"Saved Slave%d \nCalibration U,V,W Fail", Popup::kErrorHold},
};

// The model types a slave may report: its own, or the single unit of the master's parallel family.
bool ModelFits(uint32_t slaveModel) {
    const uint32_t model = g_ModelId.load(kRelaxed);
    if (slaveModel == model) return true;
    const ModelRow& own = ModelRowOf(model);
    return IsParallelSystem(model) && IsSingleUnit(slaveModel) && ModelRowOf(slaveModel).family == own.family;
}

// Items sent in two halves: the low half is held per slave and item pair until its high half arrives.
void StoreWhole(ParallelSlaveRec& rec, uint32_t pair, uint32_t high, std::atomic<uint32_t>& target) {
    target.store((high << 16) | rec.lowHalf[pair].load(kRelaxed), kRelaxed);
}

void AlarmHalf(int n, uint32_t item, uint32_t value) {
    ParallelSlaveRec& rec = g_ParallelLink.slave[n];
    const uint32_t pair = (item - 3) / 2;  // 0-2 L1-L3, 3 the system word
    if (item % 2 == 0) {
        rec.lowHalf[pair].store(value, kRelaxed);
        return;
    }
    AlarmSlaveCopy& copy = g_AlarmState.slave[n];
    StoreWhole(rec, pair, value, pair < 3 ? copy.phase[pair] : copy.system);
}
}  // namespace

void ParallelRelay(int n) {
    if (n < 1 || n > 5) return;
    ParallelSlaveRec& rec = g_ParallelLink.slave[n];
    const uint32_t frame =
        static_cast<uint32_t>(BusReg_GetLinkRxWord(n, static_cast<uint32_t>(rec.rxCount.load(kRelaxed))));
    g_ParallelLink.lastFrame.store(frame, kRelaxed);
    const uint32_t item = core::LinkFrameItem(frame), value = core::LinkFrameValue(frame);
    const uint32_t to = static_cast<uint32_t>(n);
    switch (item) {
        case 0:
            if (value != core::kLinkVersion) SysStatusSet(kSysParallelMismatch);
            ParallelSendCmd(to, 1, 0);
            break;
        case 1:
            if (!ModelFits(value)) SysStatusSet(kSysParallelMismatch);
            ParallelSendCmd(to, 36, 0);
            break;
        case 2:
            if (value == 0) g_ParallelLink.joined.fetch_add(1, kRelaxed);
            break;
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
            AlarmHalf(n, item, value);
            break;
        case 11:
        case 12:
        case 13:
        case 14:
            rec.ip[item - 11].store(static_cast<uint8_t>(value), kRelaxed);
            break;
        case 19:
            ParallelSlaveMessage(n, static_cast<int32_t>(value));
            break;
        case 20:
            rec.sysError1.store(static_cast<int32_t>(value), kRelaxed);
            break;
        case 21:
            rec.startupError.store(static_cast<int32_t>(value), kRelaxed);
            break;
        case 22:
            rec.sysError4.store(static_cast<int32_t>(value), kRelaxed);
            break;
        case 23:
            StoreWhole(rec, 4, value, rec.rawFault);
            break;
        case 24:
            rec.lowHalf[4].store(value, kRelaxed);
            break;
        case 25:
            ScreenRequest_AskOutsideCalibration(ScreenRequest::kEnterState, kMenuSystemInfo);
            plat::SleepMs(30);
            ScreenRequest_AskOutsideCalibration(ScreenRequest::kAdvanceScreen);
            g_ParallelLink.updateKind.store(value, kRelaxed);
            break;
        case 26:
        case 27:
        case 28:
        case 29:
        case 30:
        case 31:
        case 32:
        case 33: {
            const uint32_t k = item - 26;
            std::lock_guard<std::mutex> lock(g_ParallelSerialLock);
            rec.serial[2 * k] = static_cast<char>(value / 100);
            rec.serial[2 * k + 1] = static_cast<char>(value % 100);
            break;
        }
        case 34:
            rec.moduleError.store(static_cast<uint8_t>(value), kRelaxed);
            break;
        case 35:
            rec.fwError.store(static_cast<uint8_t>(value), kRelaxed);
            break;
        case 36:
            if (value != core::g_HwVariant.load(kRelaxed)) SysStatusSet(kSysParallelMismatch);
            ParallelSendCmd(to, 2, 1);
            break;
        case 37:
            if (value == 1) ShowMessage(2, "Slave %d USB Memory \nConnected", n);
            if (value == 2) ShowMessage(2, "Slave %d USB Memory \nAccess Error", n);
            break;
        default:
            break;
    }
}

int ParallelSlaveMessage(int n, int32_t code) {
    // A slave's "Please Wait..." is held until its next event, whatever that event shows.
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    if (code < 0 || code >= static_cast<int32_t>(std::size(kSlaveEvents))) return 0;
    const SlaveEventText& e = kSlaveEvents[code];
    switch (e.kind) {
        case Popup::kTimed:
            return ShowMessage(2, e.format, n);
        case Popup::kHold:
            return ShowMessageHold(e.format, n);
        case Popup::kErrorHold:
            break;
    }
    return ShowErrorMessageHold(2, e.format, n);
}
