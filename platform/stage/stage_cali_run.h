#pragma once
// What the simulated stage reports in its calibration status (register 2098: first result in bits 0-2,
// second in bits 3-5) while it runs a calibration by itself, over its own time, as a stage would take it:
// - a start (8) of a voltage or current calibration (mode bits 4-5) or a next point (16) moves the output to
//   the point, which settles (status 0) and is then ready for its reading (second result 1);
// - a reading (2443) is measured (first result 1) and then taken (first result 0);
// - the next point after a range's third one works out the range (status 0), then reports it done (first
//   result 1, second 0: the page waits for the next range's start);
// - a start of a one-shot (mode bits 6-8: external offset, capacitance, zero) reports done after a while
//   (first and second result 1);
// - an abort (32) or any other command ends the run and reports nothing (0).
// The stage never fails a point on its own: the panel channel's calstat forces a status for that.
#include <cstdint>

namespace plat {

// The calibration command words the stage acts on (register 2354): the data commands and the run's.
enum CaliCommandWord : uint32_t {
    kCaliDefault = 1,
    kCaliRecall = 2,
    kCaliSave = 4,
    kCaliStart = 8,
    kCaliNextPoint = 16
};
// Results in the calibration status: the first result 1, the second result 1 (done) or 2 (failed).
constexpr uint32_t kCaliFirstOne = 1u, kCaliSecondOne = 1u << 3, kCaliSecondTwo = 2u << 3;

class StageCaliRun {
  public:
    // The status at instrument time nowUs.
    uint32_t Status(uint64_t nowUs) const { return nowUs >= dueUs_ ? later_ : now_; }
    // A result reported at once, ending any run (the calibration data commands).
    void Report(uint32_t status);
    // A calibration command (2354) under the mode word in force (2353), at nowUs.
    void Command(uint32_t command, uint32_t mode, uint64_t nowUs);
    // A point's reading (2443) at nowUs.
    void Reading(uint64_t nowUs);

  private:
    void ReportAfter(uint32_t now, uint32_t later, uint64_t atUs);
    uint32_t now_ = 0, later_ = 0;
    uint64_t dueUs_ = 0;
    uint32_t points_ = 0;  // points of the range under way that were moved on from
    bool range_ = false;   // a voltage or current range is under way
};

}  // namespace plat
