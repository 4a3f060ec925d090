#include "screens/menu/values/menu_value_texts.h"

#include <array>
#include <cstddef>

namespace menu {
namespace {

struct Texts {
    const char* const* texts;
    size_t count;
};

template <size_t N>
constexpr Texts Of(const char* const (&texts)[N]) {
    return {texts, N};
}

// 0xB1 is the font's plus-minus sign, 0xB2 and 0xB3 its two arrows.
constexpr const char* kOutputPhase[] = {"3P4W", "1P2W", "1P3W"};
constexpr const char* kPhaseMode[] = {"Unbalance", "Balance"};
constexpr const char* kPeakClear[] = {"ALL", "L1", "L2", "L3"};
constexpr const char* kPowerOn[] = {"OFF", "ON", "SEQ", "SIM"};
constexpr const char* kOffOn[] = {"OFF", "ON"};
constexpr const char* kResponse[] = {"Slow", "Medium", "Fast"};
constexpr const char* kRelay[] = {"Disable", "Enable"};
constexpr const char* kThdFormat[] = {"IEC", "CSA"};
constexpr const char* kVoltUnit[] = {"rms", "p-p"};
constexpr const char* kMonitorSource[] = {"L1 Voltage", "L2 Voltage", "L3 Voltage",
                                          "L1 Current", "L2 Current", "L3 Current"};
constexpr const char* kMonitorAmp[] = {"\xB1 2.5", "\xB1 10"};
constexpr const char* kTrigSource[] = {"L1", "L2", "L3"};
constexpr const char* kUpdateRate[] = {"Fast", "0.1s", "0.25s", "0.5s", "1s", "2s", "5s", "10s", "20s"};
constexpr const char* kUsbSpeed[] = {"Auto", "Full"};
constexpr const char* kUsbMode[] = {"TMC", "CDC"};
constexpr const char* kRs232Baud[] = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
constexpr const char* kDataBits[] = {"7bits", "8bits"};
constexpr const char* kParity[] = {"None", "Odd", "Even"};
constexpr const char* kStopBits[] = {"1bit", "2bits"};
constexpr const char* kCanBaud[] = {"125K", "250K", "500K", "1M", "Auto"};
constexpr const char* kDnetBaud[] = {"125K", "250K", "500K", "Auto"};
constexpr const char* kPosition[] = {"Slave", "Master"};
constexpr const char* kSaveRecallType[] = {"PRESET", "SEQUENCE", "SIMULATE", "ARB", "All Data"};
constexpr const char* kSaveRecallAction[] = {"MEM \xB2 USB", "MEM \xB3 USB", "Delete", "Save", "Recall"};

constexpr std::array<Texts, static_cast<size_t>(TextTable::kCount)> kTables = {{
    {nullptr, 0},       Of(kOutputPhase), Of(kPhaseMode),  Of(kPeakClear),      Of(kPowerOn),
    Of(kOffOn),         Of(kResponse),    Of(kRelay),      Of(kThdFormat),      Of(kVoltUnit),
    Of(kMonitorSource), Of(kMonitorAmp),  Of(kTrigSource), Of(kUpdateRate),     Of(kUsbSpeed),
    Of(kUsbMode),       Of(kRs232Baud),   Of(kDataBits),   Of(kParity),         Of(kStopBits),
    Of(kCanBaud),       Of(kDnetBaud),    Of(kPosition),   Of(kSaveRecallType), Of(kSaveRecallAction),
}};

}  // namespace

const char* TableText(TextTable table, int64_t index) {
    const size_t t = static_cast<size_t>(table);
    if (t >= kTables.size() || index < 0 || static_cast<uint64_t>(index) >= kTables[t].count) return "";
    return kTables[t].texts[index];
}

}  // namespace menu
