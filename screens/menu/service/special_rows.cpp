#include "screens/menu/service/special_rows.h"

#include <atomic>
#include <cstdio>

#include "core/control/alarms/alarms.h"
#include "core/control/sync/output_sync.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/service_flags.h"
#include "panel/runtime_init.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kRowTextSize = 64;
char g_rowText[kRowTextSize];

constexpr const char* kModelBrandRows[] = {"1. Firm Type", "2. Model Type"};
constexpr const char* kUpdateRows[] = {
    "1. Update Firmware",
    "2. Update Uboot(Factory service only)",
    "3. Update Kernel(Factory service only)",
    "4. Update Application(Factory service only)",
};
constexpr const char* kDataRows[] = {
    "01. Calibration Data R/W :    %s",
    "02. Recall Calibration from USB",
    "03. Save Calibration into USB",
    "04. Copy Flash",
    "05. Update Flash",
    "06. Update uBoot",
    "07. Update Kernel",
    "08. Update Screen",
    "09. Update Max10",
    "10. Update Zynq Software",
    "11. Update DSP Software",
    "12. Update WEB",
};
constexpr int kDataRowCount = sizeof kDataRows / sizeof kDataRows[0];

// Where a switch row's value comes from and how it is shown.
enum class Src : uint8_t {
    kWord,          // a service word: ON/OFF
    kFlagBit,       // a bit of the service flag word: ON/OFF
    kTuneBit,       // a bit of the tuning bits: ON/OFF
    kAlarmMonitor,  // ON/OFF
    kSlewTime,      // the slew-rate time, "%d"
    kTuning,        // a tuning word, "%d" or scaled
    kRdDefine,      // an R&D define value, tenths
};

struct SwitchRow {
    const char* format;
    Src src;
    uint8_t index;    // the service word, flag bit, tuning bit, tuning word or define
    int16_t divisor;  // 0: the value as "%d"; else value / divisor with `decimals`
    uint8_t decimals;
};

enum Word : uint8_t { kDetailAlarm, kClearHwAlarm, k3Phase1P2W, kTempShow, kRdTest };
enum Tuning : uint8_t { kFanSlew, kFanDutyMax, kFanDutyMin, kKp, kKi };

constexpr SwitchRow kSwitchRows[] = {
    {"1. Detail Alarm Message : %s", Src::kWord, kDetailAlarm, 0, 0},
    {"2. OCP Enable: %s", Src::kFlagBit, 0, 0, 0},
    {"3. OTP Enable: %s", Src::kFlagBit, 1, 0, 0},
    {"4. OCPP Enable: %s", Src::kFlagBit, 2, 0, 0},
    {"5. Vmeas Compensation: %s", Src::kFlagBit, 3, 0, 0},
    {"6. SlewRate Time: %d", Src::kSlewTime, 0, 0, 0},
    {"7. Fan Slew: %d", Src::kTuning, kFanSlew, 0, 0},
    {"8. Fan Duty Max: %s", Src::kTuning, kFanDutyMax, 100, 2},
    {"9. Fan Duty min: %s", Src::kTuning, kFanDutyMin, 100, 2},
    {"10. Vset,Freq Compensation: %s", Src::kFlagBit, 4, 0, 0},
    {"11. Version in detail: %s", Src::kTuneBit, 1, 0, 0},
    {"12. Alarm Monitor: %s", Src::kAlarmMonitor, 0, 0, 0},
    {"13. Clear Hw Alarm : %s", Src::kWord, kClearHwAlarm, 0, 0},
    {"14. OPP :%s", Src::kFlagBit, 13, 0, 0},
    {"15. OVP :%s", Src::kFlagBit, 15, 0, 0},
    {"16. Capacitance Comp Enable:%s", Src::kFlagBit, 9, 0, 0},
    {"17. AvgCurrComp Enable:%s", Src::kFlagBit, 10, 0, 0},
    {"18. AvgCurrComp Kp:%s", Src::kTuning, kKp, 1000, 3},
    {"19. AvgCurrComp Ki:%s", Src::kTuning, kKi, 10, 1},
    {"20. 1P2W 3Phase Show:%s", Src::kWord, k3Phase1P2W, 0, 0},
    {"21. Temp Show:%s", Src::kWord, kTempShow, 0, 0},
    {"22. RD Test Mode:%s", Src::kWord, kRdTest, 0, 0},
    {"23. RD_Define1:%s", Src::kRdDefine, 0, 10, 1},
    {"24. RD_Define2:%s", Src::kRdDefine, 1, 10, 1},
    {"25. RD_Define3:%s", Src::kRdDefine, 2, 10, 1},
    {"26. RD_Define4:%s", Src::kRdDefine, 3, 10, 1},
    {"27. RD_Define5:%s", Src::kRdDefine, 4, 10, 1},
};
constexpr int kSwitchRowCount = sizeof kSwitchRows / sizeof kSwitchRows[0];

constexpr uint32_t ShownFlagBits() {
    uint32_t bits = 0;
    for (const SwitchRow& r : kSwitchRows)
        if (r.src == Src::kFlagBit) bits |= 1u << r.index;
    return bits;
}
constexpr uint32_t kShownFlagBits = ShownFlagBits();
static_assert(kSwitchRowCount == kMenuServiceLast - kMenuServiceFirst + 1,
              "one row per service switch state");

uint32_t ServiceWord(uint8_t w) {
    switch (w) {
        case kDetailAlarm:
            return g_ServiceFlags.detailAlarm.load(kRelaxed);
        case kClearHwAlarm:
            return g_ServiceFlags.clearHwAlarm.load(kRelaxed);
        case k3Phase1P2W:
            return g_ServiceFlags.threePhase1P2W.load(kRelaxed);
        case kTempShow:
            return g_ServiceFlags.tempDisplay.load(kRelaxed);
        default:
            return g_ServiceFlags.rdTestMode.load(kRelaxed);
    }
}

int32_t TuningWord(uint8_t t) {
    const panel::RuntimeTuning& r = panel::g_RuntimeTuning;
    switch (t) {
        case kFanSlew:
            return r.fanSlew.load(kRelaxed);
        case kFanDutyMax:
            return r.fanDutyMax.load(kRelaxed);
        case kFanDutyMin:
            return r.fanDutyMin.load(kRelaxed);
        case kKp:
            return r.kp.load(kRelaxed);
        default:
            return r.ki.load(kRelaxed);
    }
}

int32_t SlewTime() {
    return static_cast<int32_t>(core::g_VoltSlewWord.load(kRelaxed));
}

const char* OnOff(bool on) {
    return on ? "ON" : "OFF";
}

const char* Format(const char* format, const char* value) {
    const int n = std::snprintf(g_rowText, sizeof g_rowText, format, value);
    return n > 0 ? g_rowText : nullptr;
}

const char* FormatNumber(const char* format, int32_t value, const SwitchRow& row) {
    if (row.divisor == 0) {
        const int n = std::snprintf(g_rowText, sizeof g_rowText, format, static_cast<int>(value));
        return n > 0 ? g_rowText : nullptr;
    }
    char number[24];
    std::snprintf(number, sizeof number, "%.*f", row.decimals, static_cast<double>(value) / row.divisor);
    return Format(format, number);
}

}  // namespace

const char* SpecialSwitchRowText(int row) {
    if (row < 0 || row >= kSwitchRowCount) return nullptr;
    const SwitchRow& r = kSwitchRows[row];
    switch (r.src) {
        case Src::kWord:
            return Format(r.format, OnOff(ServiceWord(r.index) != 0));
        case Src::kFlagBit:
            return Format(r.format, OnOff(((g_OutputOptionWord.load(kRelaxed) >> r.index) & 1u) != 0));
        case Src::kTuneBit:
            return Format(r.format, OnOff(((IfaceServiceTune() >> r.index) & 1u) != 0));
        case Src::kAlarmMonitor:
            return Format(r.format, OnOff(IsAlarmMonitorOn() != 0));
        case Src::kSlewTime:
            return FormatNumber(r.format, SlewTime(), r);
        case Src::kTuning:
            return FormatNumber(r.format, TuningWord(r.index), r);
        case Src::kRdDefine:
            return FormatNumber(r.format, panel::g_RuntimeTuning.rd[r.index].load(kRelaxed), r);
    }
    return nullptr;
}

const char* SpecialDataRowText(int row) {
    if (row < 0 || row >= kDataRowCount) return nullptr;
    if (row != 0) return Format("%s", kDataRows[row]);
    const uint32_t unit = g_ServiceFlags.calDataUnitIndex.load(kRelaxed);
    char name[20];
    if (unit == 0)
        std::snprintf(name, sizeof name, "Master");
    else
        std::snprintf(name, sizeof name, "Slave %u", unit);
    return Format(kDataRows[0], name);
}

namespace special {

List ListOfState(uint32_t state) {
    if (state >= kMenuFirmType && state <= kMenuModelTypeEdit) return List::kModelBrand;
    // The tuning editors keep the switch list behind their overlay.
    if (state >= kMenuServiceFirst && state <= kMenuTuneLast) return List::kSwitches;
    if (state >= kMenuUpdateFirst && state <= kMenuUpdateLast) return List::kUpdate;
    if (state >= kMenuDataFirst && state <= kMenuDataLast) return List::kData;
    return List::kNone;
}

int RowCount(List list) {
    switch (list) {
        case List::kModelBrand:
            return 2;
        case List::kSwitches:
            return kSwitchRowCount;
        case List::kUpdate:
            return 4;
        case List::kData:
            return kDataRowCount;
        case List::kNone:
            break;
    }
    return 0;
}

const char* RowText(List list, int row) {
    if (row < 0 || row >= RowCount(list)) return nullptr;
    switch (list) {
        case List::kModelBrand:
            return kModelBrandRows[row];
        case List::kSwitches:
            return SpecialSwitchRowText(row);
        case List::kUpdate:
            return kUpdateRows[row];
        case List::kData:
            return SpecialDataRowText(row);
        case List::kNone:
            break;
    }
    return nullptr;
}

ValueSnapshot TakeSnapshot() {
    ValueSnapshot s{};
    s.tuning[0] = SlewTime();
    for (uint8_t t = kFanSlew; t <= kKi; ++t)
        s.tuning[1 + t] = TuningWord(t);
    for (int i = 0; i < 5; ++i)
        s.rdDefine[i] = panel::g_RuntimeTuning.rd[i].load(kRelaxed);
    for (uint8_t w = kDetailAlarm; w <= kRdTest; ++w)
        s.serviceWords[w] = ServiceWord(w);
    // The control task's own bits of the word change as it runs: only the ones the list shows count.
    s.flagWord = g_OutputOptionWord.load(kRelaxed) & kShownFlagBits;
    s.tuneBits = IfaceServiceTune();
    s.alarmMonitor = IsAlarmMonitorOn();
    s.calDataUnit = g_ServiceFlags.calDataUnitIndex.load(kRelaxed);
    return s;
}

}  // namespace special
