#pragma once
// The alarm monitor's own words and its steps, shared by the alarm object and the monitor pass.
#include <atomic>
#include <cstdint>

namespace core {

struct AlarmMonitorWords {
    std::atomic<uint32_t> shownPhase{0};      // phase-list bits whose popups were posted last
    std::atomic<uint32_t> shownSystem{0};     // system-list bits likewise
    std::atomic<uint32_t> shownLink{0};       // link popup posted last: 0 none, 1 + error number, 100 update
    std::atomic<uint16_t> sentAlarm{0};       // a slave sent its alarm words to the master
    std::atomic<uint16_t> sentSystem{0};      // a slave sent its system error
    std::atomic<uint32_t> reportingSlave{0};  // 1-5: the slave whose words the master shows, 0 own
    std::atomic<uint32_t> noModel{0};         // model type 0 reported
    std::atomic<int32_t> delay{50};
};
extern AlarmMonitorWords g_AlarmMonitor;

constexpr uint32_t Bit(uint32_t n) {
    return 1u << n;
}
// Bits that latch in either word; bit 16 latches in the summary only.
constexpr uint32_t kAlarmProtectBits =
    Bit(6) | Bit(7) | Bit(8) | Bit(9) | Bit(12) | Bit(15) | Bit(17) | Bit(19);

bool AlarmLatchOverride();
// The popup of a listed alarm is on show (posted by this unit, not yet cleared or gone).
bool AlarmPopupShown();
void MonitorPass();
// Steps 10-12 of the pass: start-up and system errors, external sync, limiter and sensing messages.
void AlarmNotices(uint32_t summary);
// Wraps a text for a parallel master in service mode (system-list style): "Master\n %s " or
// "Slave%d\n %s ", n the reporting slave; otherwise copies it.
void AlarmWrapSystem(char* out, unsigned size, const char* text);

}  // namespace core
