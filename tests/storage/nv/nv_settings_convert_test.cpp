#include "storage/nv/nv_settings_convert.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/params/defaults/param_defaults.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "drivers/spi_nvm.h"
#include "storage/nv/nv_blocks.h"
#include "tests/storage/nv_fixture.h"
#include "tests/support/default_store.h"

using namespace core;

namespace {

ParamModeBlock& M(uint32_t unit, uint32_t mode) {
    return g_ParamStore.unit[unit].mode[mode];
}

// A field of the store that a settings block carries: where it lives, a value different from its default
// (bytes beyond 127 and negative ones test the sign rules), and where it lies in block 1 (3P4W L1) as a
// byte or a 32-bit word of the block's fixed layout (-1: not looked at there). AC modes 0, 1, 5, 6, 7, 8
// have entries mode by mode, area 0 then area 1.
struct Case {
    const char* what;
    int32_t& (*field)(uint32_t unit);
    int32_t value;
    int byte = -1, word = -1;
};

const Case kCases[] = {
    {"waveform, unsigned byte", [](uint32_t u) -> int32_t& { return g_ParamStore.unit[u].waveform.value; },
     200, 18},
    {"meas item 3 of output mode 3, signed byte", [](uint32_t) -> int32_t& { return M(0, 3).meas[2].value; },
     -3, 19 + 4 * 3 + 2},
    {"ON phase enable, output mode 6", [](uint32_t u) -> int32_t& { return M(u, 6).onPhase.state; }, 0, 60 + 3},
    {"L3 angle enable, output mode 7", [](uint32_t) -> int32_t& { return M(0, 7).phaseAngle[2].state; }, 0,
     92 + 4},
    {"ACV rms (waveform 16), output mode 5, area 1",
     [](uint32_t u) -> int32_t& { return M(u, 5).volt[1].acv[0][16].value; }, 12345, -1, 66 + 2 * 2 + 1},
    {"ACV word 8 (own waveform)", [](uint32_t u) -> int32_t& { return M(u, 1).volt[0].acv[0][200].def2; },
     -7},
    {"DCV in DC-INT (the second DC mode), area 0",
     [](uint32_t u) -> int32_t& { return M(u, 2).volt[0].dcv[0][0].value; }, -4321, -1, 102 + 2 * 1 + 0},
    {"DCV Vpp word 7", [](uint32_t u) -> int32_t& { return M(u, 7).volt[1].dcv[1][200].def1; }, 77},
    {"voltage limit, area 1", [](uint32_t u) -> int32_t& { return M(u, 0).volt[1].voltLimit[0].value; }, 20000,
     -1, 126 + 1},
    {"Vpp voltage limit", [](uint32_t u) -> int32_t& { return M(u, 0).volt[0].voltLimit[1].value; }, 49000},
    {"frequency word 8, output mode 5", [](uint32_t u) -> int32_t& { return M(u, 5).freq.def2; }, 4400, -1,
     136 + 2},
    {"frequency, output mode 6", [](uint32_t u) -> int32_t& { return M(u, 6).freq.value; }, 6100, -1, 140 + 3},
    {"peak current minimum, variant 3", [](uint32_t u) -> int32_t& { return M(u, 0).curr[3].ipkMin.value; },
     -999, -1, 156 + 3},
    {"OFF phase, output mode 8", [](uint32_t u) -> int32_t& { return M(u, 8).offPhase.value; }, 1800, -1,
     166 + 5},
    {"ACV Vpp, output mode 0, area 1", [](uint32_t u) -> int32_t& { return M(u, 0).volt[1].acv[1][16].value; },
     5000, -1, 199 + 1},
    {"L2 angle, AC-INT", [](uint32_t) -> int32_t& { return M(0, 1).phaseAngle[1].value; }, 1190, -1, 276 + 1},
    {"VCA gain word 7, area 1", [](uint32_t u) -> int32_t& { return M(u, 9).volt[1].gain.def1; }, 3, -1, 262},
    {"VCA frequency", [](uint32_t u) -> int32_t& { return M(u, 9).freq.value; }, 5500, -1, 265},
    {"VCA frequency word 7", [](uint32_t u) -> int32_t& { return M(u, 9).freq.def1; }, 5100, -1, 266},
    {"VCA frequency word 8", [](uint32_t u) -> int32_t& { return M(u, 9).freq.def2; }, 5200, -1, 267},
    {"VCA L3 angle", [](uint32_t) -> int32_t& { return M(0, 9).phaseAngle[2].value; }, 2400, -1, 293},
};

class SettingsConvertTest : public test::NvTest {
  protected:
    static void Rebuild() {
        SetDefaultAll();
        for (uint32_t p = 0; p < 3; ++p)
            g_ParamStore.unit[p].waveform.value = 16;
    }
    test::DefaultStore store_;
};

// Values changed in the store come back from the memory into a freshly built store, the voltages into
// the records of every waveform; the 1P2W block keeps the 1P2W current variants.
TEST_F(SettingsConvertTest, BlockRoundTripsThroughTheMemoryIntoAResetStore) {
    const struct {
        uint32_t unit;
        int kind;
    } places[] = {{1, 2}, {0, 4}};
    for (const auto& place : places) {
        SCOPED_TRACE(place.kind);
        Rebuild();
        for (const Case& c : kCases)
            c.field(place.unit) = c.value;
        g_ParamStore.rangeCode[3] = 1;
        M(place.unit, 0).curr[5].irms.value = 1234;
        M(place.unit, 0).curr[6].irms.value = 4321;  // variant 6 is carried by the 1P2W block only
        ASSERT_EQ(BackupBlockPack(place.unit, place.kind, true), kNvSaved);

        Rebuild();
        NvBlocksReset();
        SettingsBlock read;
        ASSERT_EQ(SettingsBlockRead(place.kind, &read), 0);
        ASSERT_EQ(BackupBlockConvert(0, place.unit, place.kind), 0);
        for (const Case& c : kCases)
            EXPECT_EQ(c.field(place.unit), c.value) << c.what;
        EXPECT_EQ(g_ParamStore.rangeCode[3].load(), 1u);
        EXPECT_EQ(M(place.unit, 5).volt[1].acv[0][18].value, 12345) << "every waveform";
        EXPECT_EQ(M(place.unit, 0).curr[5].irms.value == 1234, place.kind != 4);
        EXPECT_EQ(M(place.unit, 0).curr[6].irms.value == 4321, place.kind == 4);
    }
}

// Without the three VCA frequency words the VCA fields are not applied; a Vpp voltage limit beyond its
// default limits comes back as its default.
TEST_F(SettingsConvertTest, VcaNeedsItsFrequencyWordsAndTheVppLimitIsClamped) {
    M(1, 9).freq.def2 = 0;
    M(1, 9).volt[0].gain.value = 777;
    ParamRec& vpp = M(1, 0).volt[1].voltLimit[1];
    vpp.value = vpp.defaultMax + 1;
    BackupBlockConvert(1, 1, 2);
    Rebuild();
    BackupBlockConvert(0, 1, 2);
    EXPECT_NE(M(1, 9).volt[0].gain.value, 777);
    EXPECT_EQ(vpp.value, vpp.defaultValue);
}

// Re-basing takes the new frequency and current limits into the stored block (the parallel form scaled by
// the unit count) and keeps the rest; the default blocks are sealed, 1800 in the VCA angles of 5 and 6.
TEST_F(SettingsConvertTest, RebaseTakesNewLimitsAndKeepsTheRest) {
    const struct {
        int32_t (*rebase)(int, uint32_t, uint32_t);
        int32_t factor;
    } forms[] = {{BackupBlockPackStandalone, 1}, {BackupBlockPackAndWrite, 2}};
    g_ParamStore.global[kGlbParallelNumber].value = 2;
    for (const auto& form : forms) {
        SCOPED_TRACE(form.factor);
        M(0, 1).volt[1].acv[0][16].value = 12300;
        M(0, 0).curr[6].irms.value = 1;
        ASSERT_EQ(BackupBlockPack(0, 4, true), kNvSaved);
        ASSERT_EQ(form.rebase(4, 0, NvBlockOffset(4)), kNvSaved);
        const int32_t want = (*g_DefaultTables.load())[kTabIrms].rows[CurrRow(1, 6)].value * form.factor;
        EXPECT_EQ(M(0, 0).curr[6].irms.value, want);
        SettingsBlock b;
        ASSERT_EQ(SettingsBlockRead(4, &b), 0);
        EXPECT_EQ(b.words[148 + 2 - kSettingsFirstWord], want);  // variant 6
        EXPECT_EQ(b.words[66 + 3 - kSettingsFirstWord], 12300);  // AC-INT, area 1: kept
    }
    EXPECT_EQ(BackupSettingsPackAll(), kNvSaved);
    for (int kind = 1; kind <= 6; ++kind) {
        SettingsBlock b;
        ASSERT_EQ(SettingsBlockRead(kind, &b), 0) << kind;
        EXPECT_EQ(b.words[292 - kSettingsFirstWord] == 1800, kind >= 5) << kind;
    }
}

// The block as the memory holds it, field by field at the offsets of its fixed layout (block 1 at 4096,
// 3P4W L1): a field packed to the wrong place fails here even when the unpacking mirrors the mistake.
TEST_F(SettingsConvertTest, PackedFieldsLieAtTheirFixedOffsets) {
    Rebuild();
    for (const Case& c : kCases)
        c.field(0) = c.value;
    g_ParamStore.rangeCode[3] = 1;
    M(0, 1).onPhase.state = 1;
    M(0, 0).curr[5].irms.value = 1234;
    ASSERT_EQ(BackupBlockPack(0, 1, true), kNvSaved);

    std::vector<uint8_t> b(kNvSettingsBlockSize);
    ASSERT_EQ(SpiNvmReadBuf(4096, b.data(), kNvSettingsBlockSize), static_cast<int32_t>(kNvSettingsBlockSize));
    const auto word = [&](int n) {
        return static_cast<int32_t>(b[4 * n] | b[4 * n + 1] << 8 | b[4 * n + 2] << 16 |
                                    static_cast<uint32_t>(b[4 * n + 3]) << 24);
    };
    EXPECT_EQ(b[4] | b[5] << 8, 1060);
    EXPECT_EQ(b[6] | b[7], 0);
    EXPECT_EQ(b[9 + 3], 1) << "range code of output mode 3";
    EXPECT_EQ(b[60 + 1], 1) << "ON-phase enable, AC-INT";
    EXPECT_EQ(word(148 + 3), 1234) << "rms current limit, variant 5";
    for (const Case& c : kCases) {
        if (c.byte >= 0) {
            EXPECT_EQ(b[c.byte], static_cast<uint8_t>(c.value)) << c.what;
        }
        if (c.word >= 0) {
            EXPECT_EQ(word(c.word), c.value) << c.what;
        }
    }
    for (int n = 294; n < 1984; ++n)
        ASSERT_EQ(word(n), 0) << "word " << n;
    for (int n = 98; n < 264; ++n)
        ASSERT_EQ(b[n], 0) << "byte " << n;
    // The checksum: the byte sum of bytes 4 to 8191, little-endian in bytes 0-3.
    uint32_t sum = 0;
    for (size_t i = 4; i < kNvSettingsBlockSize; ++i)
        sum += b[i];
    EXPECT_EQ(static_cast<uint32_t>(word(0)), sum);
}

}  // namespace
