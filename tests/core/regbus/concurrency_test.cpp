// Every thread of the instrument talks to the power stage; the bus mutex keeps each transfer whole.
#include <thread>

#include "core/regbus/regbus.h"
#include "platform/reg_map.h"
#include "regbus_setup.h"

TEST_F(RegBusTest, ConcurrentTransfersNeverInterleave) {
    constexpr int kThreads = 4;
    constexpr int kTransfers = 100000;
    Stage().SetTraceCapacity(0);
    for (int t = 0; t < kThreads; ++t) {
        for (uint32_t w = 0; w < 64; ++w)
            Stage().Poke(regmap::kHarmonic + t, w, (t << 16) | w);
    }
    std::vector<int> readErrors(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &readErrors] {
            // Each thread writes its own register and reads its own harmonic table, half and half.
            const uint32_t reg = regmap::kVoltUnit + t;
            for (int i = 0; i < kTransfers / 2; ++i) {
                BusReg_WriteIntEx(0, reg, (t << 24) | i);
                uint32_t w = static_cast<uint32_t>(i) & 63u;
                if (BusReg_ReadAt(0, regmap::kHarmonic + t, w) != ((static_cast<uint32_t>(t) << 16) | w))
                    ++readErrors[t];
            }
        });
    }
    for (auto& th : threads)
        th.join();

    EXPECT_EQ(Stage().OrderViolations(), 0u);
    EXPECT_EQ(Stage().Transfers(), uint64_t{kThreads} * kTransfers);
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(readErrors[t], 0) << t;
        EXPECT_EQ(Stage().Stored(regmap::kVoltUnit + t, 0),
                  static_cast<uint32_t>((t << 24) | (kTransfers / 2 - 1)))
            << t;
    }
}
