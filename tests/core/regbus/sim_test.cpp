// The simulated power stage's check of the transfer order, and the step-word reads through it.
#include <bit>
#include <initializer_list>
#include <tuple>
#include <utility>
#include <vector>

#include "core/regbus/bus_internal.h"
#include "platform/stage/bus_window.h"
#include "regbus_setup.h"

using namespace regmap;

TEST_F(RegBusTest, StepWordReadsAddressWordZeroOrFive) {
    Stage().Poke(kStepJumpTo, 0, 7);
    Stage().Poke(kStepJumpTo, 5, 55);
    Stage().Poke(kStepAcv, 0, std::bit_cast<uint32_t>(12.5f));
    EXPECT_EQ(BusReg_ReadStepWord(0, kStepJumpTo), 7u);
    EXPECT_EQ(BusReg_ReadStepWord(1, kStepJumpTo), 55u);
    EXPECT_EQ(BusReg_ReadStepFloat(0, kStepAcv), 12.5f);
    const uint64_t before = Stage().ByteAccesses();
    EXPECT_EQ(BusReg_ReadStepWord(2, kStepJumpTo), 0u);
    EXPECT_EQ(Stage().ByteAccesses(), before);
}

namespace {
void Half(uint32_t reg, uint32_t value) {
    EXPECT_EQ(Bus_Write16(reg, value), 0);
}
}  // namespace

TEST(PowerStageOrder, ViolationsAreRecorded) {
    constexpr uint32_t a = kVoltUnit, b = kSignal, idx = kIndex, boot = kBootStatus;
    const std::tuple<const char*, void (*)(), uint64_t> cases[] = {
        {"half without index", [] { Half(a, 1); }, 1},
        {"high index first", [] { Half(idx, 1), Half(a, 1); }, 2},
        {"second half without its index", [] { Half(idx, 0), Half(a, 1), Half(a, 0); }, 1},
        {"another transfer's index in between",
         [] {
             Half(idx, 0), Half(a, 1), Half(idx, 0);
             Half(b, 1), Half(idx, 1), Half(b, 0);
         },
         1},
        {"halves of two registers", [] { Half(idx, 0), Half(a, 1), Half(idx, 1), Half(b, 0); }, 1},
        {"read then write half", [] { Half(idx, 0), Bus_Read16(boot), Half(idx, 1), Half(boot, 0); }, 1},
        {"byte pairs interleaved",
         [] {
             plat::BusWriteByte(plat::kLowByteWindow, a, 1);
             plat::BusWriteByte(plat::kLowByteWindow, b, 1);
             plat::BusWriteByte(plat::kHighByteWindow, b, 0);
         },
         2},
        {"high byte alone", [] { plat::BusWriteByte(plat::kHighByteWindow, a, 0); }, 1},
        {"outside the register space",
         [] { plat::BusWriteByte(plat::kLowByteWindow, plat::kStageRegisters, 0); }, 1},
    };
    for (const auto& [name, run, violations] : cases) {
        SCOPED_TRACE(name);
        plat::PowerStage().Reset();
        BusMapInit();
        run();
        EXPECT_EQ(plat::PowerStage().OrderViolations(), violations);
    }
    plat::PowerStage().Reset();
}

// Answers, halves, transfers, byte count and violations, for well-formed and broken sequences alike.
TEST(PowerStageOrder, BatchActsAsItsBytesOneByOne) {
    using Bytes = std::vector<plat::BusByteAccess>;
    auto half = [](bool write, uint32_t reg, uint32_t v) {
        return Bytes{{plat::kLowByteWindow, write, reg, static_cast<uint8_t>(v)},
                     {plat::kHighByteWindow, write, reg, static_cast<uint8_t>(v >> 8)}};
    };
    auto join = [](std::initializer_list<Bytes> parts) {
        Bytes all;
        for (const Bytes& p : parts)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    const uint32_t idx = kIndex, volt = kVoltUnit, boot = kBootStatus, vrms = kVrms.first;
    auto read32 = [&](uint32_t reg, uint32_t lowIndex, uint32_t highIndex) {
        return join({half(true, idx, lowIndex), half(false, reg, 0), half(true, idx, highIndex),
                     half(false, reg, 0)});
    };
    const std::pair<const char*, Bytes> cases[] = {
        {"write",
         join({half(true, idx, 2), half(true, volt, 0x1234), half(true, idx, 3), half(true, volt, 5)})},
        {"read", join({half(true, idx, 0), half(false, boot, 0), half(true, idx, 1), half(false, boot, 0)})},
        {"high half first", join({half(true, idx, 1), half(false, boot, 0), half(true, idx, 0)})},
        {"read between write halves",
         join({half(true, idx, 0), half(true, volt, 1), half(true, idx, 1), half(false, volt, 0)})},
        {"lone bytes", {{plat::kHighByteWindow, true, volt, 1}, {plat::kLowByteWindow, false, boot, 0}}},
        {"pair after a pending low byte",
         join({{{plat::kLowByteWindow, true, volt, 1}}, half(false, boot, 0)})},
        {"burst of reads",
         join({read32(boot, 0, 1), read32(vrms, 0, 1), read32(vrms, 0, 1), read32(vrms, 2, 3)})},
        {"burst with a wrong high index", join({read32(vrms, 0, 3), read32(vrms, 0, 1)})},
        {"burst after a lone index write", join({half(true, idx, 0), read32(vrms, 0, 1)})},
        {"burst reading the index register", join({read32(idx, 0, 1), read32(vrms, 0, 1)})},
        {"burst after a pending low byte",
         join({{{plat::kLowByteWindow, false, boot, 0}}, read32(vrms, 0, 1)})},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        std::vector<uint64_t> seen[2];  // answers, half-log entries, raw transfers, violations, byte count
        for (int batched = 0; batched < 2; ++batched) {
            plat::PowerStage().Reset();
            BusMapInit();
            plat::PowerStage().SetBootStatus(0xA5C3F00Fu);
            plat::PowerStage().SetHalfLog(true);
            plat::PowerStage().SetLoad(0, 10.0f);
            plat::PowerStage().ScriptRead(vrms, 0, {0x11112222u, 0x33334444u});
            Bytes run = bytes;
            if (batched) plat::BusAccessBytes(run.data(), run.size());
            for (plat::BusByteAccess& a : run)
                if (!batched && a.write)
                    plat::BusWriteByte(a.window, a.offset, a.value);
                else if (!batched)
                    a.value = plat::BusReadByte(a.window, a.offset);
            for (const plat::BusByteAccess& a : run)
                seen[batched].push_back(a.value);
            for (const plat::BusHalf& h : plat::PowerStage().HalfLog())
                seen[batched].push_back(uint64_t{h.write} << 32 | uint64_t{h.reg} << 16 | h.value);
            for (const plat::BusTransfer& t : plat::PowerStage().Trace())
                seen[batched].push_back(t.raw);
            seen[batched].push_back(plat::PowerStage().OrderViolations());
            seen[batched].push_back(plat::PowerStage().ByteAccesses());
        }
        EXPECT_EQ(seen[1], seen[0]);
    }
    plat::PowerStage().Reset();
}
