// Reading the captured samples: 50 per pass, voltage in the upper and current in the lower signed half
// of each capture word.
#include "core/control/measure/harm_internal.h"
#include "core/control/measure/harmonics.h"
#include "core/params/access/param_access.h"
#include "core/regbus/bus_transfer.h"
#include "core/system/links/parallel_link.h"
#include "platform/stage/wiring_codes.h"

namespace {

constexpr uint32_t kSamplesPerCall = 50;
constexpr uint32_t kSystemCapture = 3;  // the parallel system's capture registers follow the unit's

int32_t Half(uint32_t word, int kind) {
    return kind == 0 ? static_cast<int16_t>(word >> 16) : static_cast<int16_t>(word & 0xFFFFu);
}

}  // namespace

int Harm_ReadSamples(int kind, uint32_t* counter, uint32_t mask) {
    // The master of a parallel system analyses the system's capture.
    const bool master = g_ParallelActive.load(std::memory_order_relaxed) == 1 && GetParallelPosition() == 1;
    const uint32_t base = master ? kSystemCapture : 0;
    const bool single = GetPhaseMode() == kWiring1P2W;
    for (uint32_t n = 0; n < kSamplesPerCall && *counter < kHarmSamples; ++n, ++*counter) {
        const uint32_t i = *counter;
        if (single && kind == 0) {
            harm::g_Work.samples[0][i] = Half(BusReg_ReadAt(0, base, i), kind);
        } else if (single) {
            // One output fed by the three phases: its current is their sum.
            int32_t sum = 0;
            for (uint32_t p = 0; p < 3; ++p)
                sum += Half(BusReg_ReadAt(0, base + p, i), kind);
            harm::g_Work.samples[0][i] = sum;
        } else {
            for (uint32_t p = 0; p < 3; ++p)
                if (mask & (1u << p)) harm::g_Work.samples[p][i] = Half(BusReg_ReadAt(0, base + p, i), kind);
        }
    }
    return 0;
}
