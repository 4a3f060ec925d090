#pragma once
// A freshly powered instrument for the access-layer and control-task tests: a temporary root, the
// simulated power stage, the factory default of a model, and every word of the output state as at start.
#include <cstdint>
#include <vector>

#include "platform/power_stage_sim.h"
#include "tests/core/param_fixture.h"

namespace test {

struct RegWrite {
    uint16_t reg;
    uint16_t word;
    uint32_t raw;
    double value;
    bool operator==(const RegWrite& o) const { return reg == o.reg && word == o.word && raw == o.raw; }
};

class CtrlEnv {
  public:
    explicit CtrlEnv(uint32_t modelType = 1);
    ~CtrlEnv();

    static plat::PowerStageSim& Stage() { return plat::PowerStage(); }
    // The register writes since the last ClearTrace, oldest first.
    static std::vector<RegWrite> Writes();
    // The writes to one register.
    static std::vector<RegWrite> WritesTo(uint16_t reg);
    // The one write to a register (fails the test unless there is exactly one).
    static RegWrite OnlyWriteTo(uint16_t reg);
    // The registers written, a run of writes to one register counted once.
    static std::vector<uint16_t> Registers();
    static void ClearTrace() { Stage().ClearTrace(); }

    // Polls until the control task runs its periodic pass (the start-up wait is over); false when it
    // does not get there.
    static bool RunUntilRunning();
    // Polls until the system is ready as well and clears the trace; the passes it took (2000 when never).
    static int RunUntilReady();
    // Polls n times.
    static void Poll(int n = 1);

    InstrumentEnv env;
};

// Puts every process-wide word of the output state back to its start value.
void ResetOutputState();

}  // namespace test
