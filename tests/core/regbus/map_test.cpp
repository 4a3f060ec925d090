// The register map and the two sides that read it: every entry has registers of its own, and what the
// controller's encoders send the simulated stage decodes to the value the accessor was given.
#include <algorithm>
#include <tuple>

#include "platform/stage/power_stage_model.h"
#include "regbus_setup.h"

namespace {

// What the stage makes of 1234 sent to each register, in its own unit (V, A, Hz, %, ...): {first, last,
// value} of the integer writer, then of the step writer. A register not listed takes no write.
using Sent = std::tuple<uint32_t, uint32_t, double>;
constexpr Sent kWriteIntEx[] = {
    {775, 775, 12.34},   {2336, 2339, 1234},  {2340, 2340, 1},     {2341, 2349, 1234},  {2351, 2355, 1234},
    {2358, 2359, 1234},  {2363, 2363, 1234},  {2368, 2370, 1234},  {2372, 2372, 1234},  {2374, 2374, 1234},
    {2375, 2383, 123.4}, {2384, 2389, 12.34}, {2390, 2392, 123.4}, {2396, 2410, 12.34}, {2411, 2413, 1234},
    {2414, 2416, 12.34}, {2436, 2436, 1.234}, {2437, 2437, 123.4}, {2438, 2439, 12.34}, {2440, 2440, 1234},
    {2441, 2442, 12.34}, {2443, 2443, 1.234}, {2446, 2446, 1234},  {2448, 2448, 1234},  {2454, 2454, 1234},
    {2455, 2460, 123.4}, {2461, 2463, 123.4}, {2464, 2466, 1234},  {2467, 2471, 123.4}, {2472, 2472, 1234},
    {2480, 2481, 1234},
};
constexpr Sent kStep[] = {
    {768, 771, 1234}, {772, 780, 12.34}, {781, 791, 1234}, {798, 800, 123.4}, {801, 803, 123.4}};

template <size_t N>
double SentValue(const Sent (&rows)[N], uint32_t reg) {
    for (const auto& [first, last, value] : rows)
        if (reg >= first && reg <= last) return value;
    return -1;  // nothing written
}

}  // namespace

TEST(RegisterMap, EveryRegisterBelongsToOneEntryAtMost) {
    int owner[plat::kStageRegisters];
    std::fill(std::begin(owner), std::end(owner), -1);
    for (int e = 0; e < static_cast<int>(std::size(regmap::kAll)); ++e) {
        const regmap::Block& b = regmap::kAll[e];
        ASSERT_GE(b.count, 1u) << b.first;
        ASSERT_GE(b.stride, 1u) << b.first;
        ASSERT_LT(b.last(), plat::kStageRegisters) << b.first;
        for (uint32_t i = 0; i < b.count; ++i) {
            EXPECT_EQ(owner[b.at(i)], -1)
                << "register " << b.at(i) << " in entries " << owner[b.at(i)] << " and " << e;
            owner[b.at(i)] = e;
            EXPECT_TRUE(b.contains(b.at(i)));
        }
    }
    // Every register the apply strobe takes is a write register.
    for (uint32_t i = 0; i < regmap::kSettings.count; ++i)
        EXPECT_GE(regmap::kSettings.at(i), static_cast<uint32_t>(regmap::kIndex));
}

// The stage's own view of each register decodes what the writers send.
TEST_F(RegBusTest, EncodersAndTheStagesDecodingAgreeOnEveryRegister) {
    for (uint32_t reg = 0; reg < plat::kStageRegisters; ++reg) {
        for (bool step : {false, true}) {
            SCOPED_TRACE(testing::Message() << "register " << reg << (step ? " (step)" : ""));
            const double want = step ? SentValue(kStep, reg) : SentValue(kWriteIntEx, reg);
            Clear();
            EXPECT_EQ(step ? BusReg_WriteStep(0, reg, 1234, 0) : BusReg_WriteIntEx(0, reg, 1234), 0);
            auto trace = Transfers();
            if (want < 0) {
                EXPECT_TRUE(trace.empty());
                continue;
            }
            ASSERT_EQ(trace.size(), 1u);
            EXPECT_EQ(trace[0].reg, reg);
            // The duty goes in steps of 1/4096 of 100 %, truncated toward zero.
            EXPECT_NEAR(trace[0].value, want, 100.0 / 4096);
        }
    }
}
