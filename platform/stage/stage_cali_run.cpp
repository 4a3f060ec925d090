#include "platform/stage/stage_cali_run.h"

namespace plat {
namespace {

constexpr uint32_t kModePoints = (1u << 4) | (1u << 5);                // voltage, current
constexpr uint32_t kModeOneShots = (1u << 6) | (1u << 7) | (1u << 8);  // external offset, capacitance, zero
constexpr uint32_t kPointsPerRange = 3;
constexpr uint32_t kSecondMask = 7u << 3;
// How long the stage takes: the output to settle at a point, a reading, a range's correction, a one-shot.
constexpr uint64_t kSettleUs = 300000, kMeasureUs = 300000, kRangeUs = 500000, kOneShotUs = 1000000;

}  // namespace

void StageCaliRun::ReportAfter(uint32_t now, uint32_t later, uint64_t atUs) {
    now_ = now;
    later_ = later;
    dueUs_ = atUs;
}

void StageCaliRun::Report(uint32_t status) {
    range_ = false;
    ReportAfter(status, status, 0);
}

void StageCaliRun::Command(uint32_t command, uint32_t mode, uint64_t nowUs) {
    if (command == kCaliStart && (mode & kModeOneShots) != 0) {
        range_ = false;
        ReportAfter(0, kCaliFirstOne | kCaliSecondOne, nowUs + kOneShotUs);
    } else if (command == kCaliStart && (mode & kModePoints) != 0) {
        range_ = true;
        points_ = 0;
        ReportAfter(0, kCaliSecondOne, nowUs + kSettleUs);
    } else if (command == kCaliNextPoint && range_) {
        if (++points_ < kPointsPerRange) {
            ReportAfter(0, kCaliSecondOne, nowUs + kSettleUs);
        } else {
            range_ = false;
            ReportAfter(0, kCaliFirstOne, nowUs + kRangeUs);
        }
    } else {
        Report(0);
    }
}

void StageCaliRun::Reading(uint64_t nowUs) {
    // Taken only while the point is ready for it (or measuring one already).
    if (!range_ || (Status(nowUs) & kSecondMask) != kCaliSecondOne) return;
    ReportAfter(kCaliFirstOne | kCaliSecondOne, kCaliSecondOne, nowUs + kMeasureUs);
}

}  // namespace plat
