#include "storage/nv/nv_settings_convert.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "core/params/defaults/param_defaults.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "drivers/spi_nvm.h"
#include "storage/nv/nv_blocks.h"
#include "tests/storage/nv_fixture.h"
#include "tests/support/default_store.h"

using namespace core;

namespace {

ParamModeBlock& M(uint32_t unit, uint32_t mode) {
    return g_ParamStore.unit[unit].mode[mode];
}

// Fields of the store that a settings block carries, with a value different from their default: the
// layout tests below take every field with a positive value of its own; these add the unit's own waveform,
// negative bytes and words, a voltage that every waveform's record takes, and the Vpp limit those tests
// leave out.
struct Case {
    const char* what;
    int32_t& (*field)(uint32_t unit);
    int32_t value;
};

const Case kCases[] = {
    {"waveform, unsigned byte", [](uint32_t u) -> int32_t& { return g_ParamStore.unit[u].waveform.value; },
     200},
    {"meas item, signed byte", [](uint32_t) -> int32_t& { return M(0, 3).meas[2].value; }, -3},
    {"ACV rms (waveform 16)", [](uint32_t u) -> int32_t& { return M(u, 5).volt[1].acv[0][16].value; }, 12345},
    {"ACV word 8 (own waveform)", [](uint32_t u) -> int32_t& { return M(u, 1).volt[0].acv[0][200].def2; },
     -7},
    {"DCV in DC-INT", [](uint32_t u) -> int32_t& { return M(u, 2).volt[0].dcv[0][0].value; }, -4321},
    {"Vpp voltage limit", [](uint32_t u) -> int32_t& { return M(u, 0).volt[0].voltLimit[1].value; }, 49000},
    {"peak current minimum", [](uint32_t u) -> int32_t& { return M(u, 0).curr[3].ipkMin.value; }, -999},
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

// Where each field of the fixed layout lies: bytes or words from pos, one entry per i, and the member of
// the store it carries (kind 4, the 1P2W block, takes other current variants).
struct Slot {
    const char* what;
    bool byte;
    uint32_t pos;
    uint32_t count;
    int32_t& (*at)(int kind, uint32_t i);
};
constexpr uint32_t kAc[6] = {0, 1, 5, 6, 7, 8}, kDc[4] = {0, 2, 5, 7}, kFreqM[4] = {0, 1, 5, 6};
constexpr uint32_t kOwnWave = 200;  // the unit's waveform; the voltage values come from waveform 16's records
ParamModeBlock& M0(uint32_t mode) {
    return M(0, mode);
}
// The store member an entry carries, for the block kind and the entry's index i.
#define AT(member) []([[maybe_unused]] int kind, [[maybe_unused]] uint32_t i) -> int32_t& { return member; }
const Slot kLayout[] = {
    {"waveform", true, 18, 1, AT(g_ParamStore.unit[0].waveform.value)},
    {"measurement items", true, 19, 36, AT(M0(i / 4).meas[i % 4].value)},
    {"signal selection", true, 55, 4, AT(M0(7 + i / 2).volt[i % 2].sig.value)},
    {"ON-phase enable", true, 60, 6, AT(M0(kAc[i]).onPhase.state)},
    {"OFF-phase enable", true, 66, 6, AT(M0(kAc[i]).offPhase.state)},
    {"VCA measurement items", true, 73, 4, AT(M0(9).meas[i].value)},
    {"VCA ON-phase enable", true, 77, 1, AT(M0(9).onPhase.state)},
    {"VCA OFF-phase enable", true, 78, 1, AT(M0(9).offPhase.state)},
    {"L1 angle enable", true, 80, 6, AT(M0(kAc[i]).phaseAngle[0].state)},
    {"L2 angle enable", true, 86, 6, AT(M0(kAc[i]).phaseAngle[1].state)},
    {"L3 angle enable", true, 92, 6, AT(M0(kAc[i]).phaseAngle[2].state)},
    {"ACV", false, 66, 12, AT(M0(kAc[i / 2]).volt[i % 2].acv[0][16].value)},
    {"ACV word 7", false, 78, 12, AT(M0(kAc[i / 2]).volt[i % 2].acv[0][kOwnWave].def1)},
    {"ACV word 8", false, 90, 12, AT(M0(kAc[i / 2]).volt[i % 2].acv[0][kOwnWave].def2)},
    {"DCV", false, 102, 8, AT(M0(kDc[i / 2]).volt[i % 2].dcv[0][kDc[i / 2] == 2 ? 0 : 16].value)},
    {"DCV word 7", false, 110, 8, AT(M0(kDc[i / 2]).volt[i % 2].dcv[0][kDc[i / 2] == 2 ? 0 : kOwnWave].def1)},
    {"DCV word 8", false, 118, 8, AT(M0(kDc[i / 2]).volt[i % 2].dcv[0][kDc[i / 2] == 2 ? 0 : kOwnWave].def2)},
    {"voltage limit", false, 126, 2, AT(M0(0).volt[i].voltLimit[0].value)},
    {"peak voltage maximum", false, 128, 2, AT(M0(0).volt[i].vpkMax.value)},
    {"peak voltage minimum", false, 130, 2, AT(M0(0).volt[i].vpkMin.value)},
    {"frequency word 7", false, 132, 4, AT(M0(kFreqM[i]).freq.def1)},
    {"frequency word 8", false, 136, 4, AT(M0(kFreqM[i]).freq.def2)},
    {"frequency", false, 140, 4, AT(M0(kFreqM[i]).freq.value)},
    {"upper frequency limit", false, 144, 2, AT(M0(i).freqHi.value)},
    {"lower frequency limit", false, 146, 2, AT(M0(i).freqLo.value)},
    {"rms current limit", false, 148, 4,
     [](int kind, uint32_t i) -> int32_t& {
         static constexpr uint32_t k1P2W[4] = {2, 3, 6, 7}, kOther[4] = {0, 1, 4, 5};
         return M0(0).curr[kind == 4 ? k1P2W[i] : kOther[i]].irms.value;
     }},
    {"peak current maximum", false, 152, 4, AT(M0(0).curr[i].ipkMax.value)},
    {"peak current minimum", false, 156, 4, AT(M0(0).curr[i].ipkMin.value)},
    {"ON phase", false, 160, 6, AT(M0(kAc[i]).onPhase.value)},
    {"OFF phase", false, 166, 6, AT(M0(kAc[i]).offPhase.value)},
    {"gain", false, 172, 8, AT(M0(3 + i / 2).volt[i % 2].gain.value)},
    {"gain word 7", false, 180, 8, AT(M0(3 + i / 2).volt[i % 2].gain.def1)},
    {"gain word 8", false, 188, 8, AT(M0(3 + i / 2).volt[i % 2].gain.def2)},
    {"Vpp voltage limit", false, 197, 2, AT(M0(0).volt[i].voltLimit[1].value)},
    {"ACV Vpp", false, 199, 12, AT(M0(kAc[i / 2]).volt[i % 2].acv[1][16].value)},
    {"ACV Vpp word 7", false, 211, 12, AT(M0(kAc[i / 2]).volt[i % 2].acv[1][kOwnWave].def1)},
    {"ACV Vpp word 8", false, 223, 12, AT(M0(kAc[i / 2]).volt[i % 2].acv[1][kOwnWave].def2)},
    {"DCV Vpp", false, 235, 8, AT(M0(kDc[i / 2]).volt[i % 2].dcv[1][kDc[i / 2] == 2 ? 0 : 16].value)},
    {"DCV Vpp word 7", false, 243, 8, AT(M0(kDc[i / 2]).volt[i % 2].dcv[1][kDc[i / 2] == 2 ? 0 : kOwnWave].def1)},
    {"DCV Vpp word 8", false, 251, 8, AT(M0(kDc[i / 2]).volt[i % 2].dcv[1][kDc[i / 2] == 2 ? 0 : kOwnWave].def2)},
    {"VCA gain", false, 259, 2, AT(M0(9).volt[i].gain.value)},
    {"VCA gain word 7", false, 261, 2, AT(M0(9).volt[i].gain.def1)},
    {"VCA gain word 8", false, 263, 2, AT(M0(9).volt[i].gain.def2)},
    {"VCA frequency", false, 265, 1, AT(M0(9).freq.value)},
    {"VCA frequency word 7", false, 266, 1, AT(M0(9).freq.def1)},
    {"VCA frequency word 8", false, 267, 1, AT(M0(9).freq.def2)},
    {"VCA ON phase", false, 268, 1, AT(M0(9).onPhase.value)},
    {"VCA OFF phase", false, 269, 1, AT(M0(9).offPhase.value)},
    {"L1 angle", false, 270, 6, AT(M0(kAc[i]).phaseAngle[0].value)},
    {"L2 angle", false, 276, 6, AT(M0(kAc[i]).phaseAngle[1].value)},
    {"L3 angle", false, 282, 6, AT(M0(kAc[i]).phaseAngle[2].value)},
    {"sync phase", false, 288, 2, AT(M0(7 + i).syncPhase.value)},
    {"duty", false, 290, 1, AT(g_ParamStore.unit[0].duty.value)},
    {"VCA angles", false, 291, 3, AT(M0(9).phaseAngle[i].value)},
};
#undef AT

// A distinct value per entry of the layout: bytes their own offset, words 100000 plus their index.
int32_t Distinct(const Slot& s, uint32_t i) {
    if (std::string_view(s.what) == "waveform") return static_cast<int32_t>(kOwnWave);
    return static_cast<int32_t>(s.byte ? s.pos + i : 100000 + s.pos + i);
}
bool IsVca(const Slot& s) {
    return std::string_view(s.what).starts_with("VCA");
}
constexpr uint32_t kLcdWord = 0x11223344;
// Every field of the layout, the output mode, the range codes and the LCD word set to their distinct values.
void SetDistinct(int kind) {
    for (const Slot& s : kLayout)
        for (uint32_t i = 0; i < s.count; ++i)
            s.at(kind, i) = Distinct(s, i);
    g_OutputModeIdx.store(6);
    for (uint32_t m = 0; m < 10; ++m)
        g_ParamStore.rangeCode[m] = (m + 1) % 8;
    IfaceLcdWordSet(kLcdWord);
}

// The block as the memory holds it (3P4W L1 at 4096, 1P2W at 28672), every field at its place in the fixed
// layout with a value of its own: a field packed to the wrong place fails here even when the unpacking
// mirrors the mistake, and so does one written over a neighbour or a gap.
TEST_F(SettingsConvertTest, EveryPackedFieldLiesAtItsFixedOffset) {
    const struct {
        int kind;
        uint32_t at;
    } blocks[] = {{1, 4096}, {4, 28672}};
    for (const auto& block : blocks) {
        SCOPED_TRACE(block.kind);
        Rebuild();
        const uint32_t lcd = IfaceLcdWord();
        SetDistinct(block.kind);
        ASSERT_EQ(BackupBlockPack(0, block.kind, true), kNvSaved);
        IfaceLcdWordSet(lcd);
        g_OutputModeIdx.store(0);

        std::vector<uint8_t> b(kNvSettingsBlockSize);
        ASSERT_EQ(SpiNvmReadBuf(block.at, b.data(), kNvSettingsBlockSize),
                  static_cast<int32_t>(kNvSettingsBlockSize));
        const auto word = [&](uint32_t n) {
            return static_cast<int32_t>(b[4 * n] | b[4 * n + 1] << 8 | b[4 * n + 2] << 16 |
                                        static_cast<uint32_t>(b[4 * n + 3]) << 24);
        };
        std::vector<bool> placed(kNvSettingsBlockSize);
        for (const Slot& s : kLayout) {
            SCOPED_TRACE(s.what);
            for (uint32_t i = 0; i < s.count; ++i) {
                const uint32_t n = s.pos + i;
                if (s.byte) {
                    EXPECT_EQ(b[n], static_cast<uint8_t>(Distinct(s, i))) << "byte " << n;
                    placed[n] = true;
                } else {
                    EXPECT_EQ(word(n), Distinct(s, i)) << "word " << n;
                    for (uint32_t k = 0; k < 4; ++k)
                        placed[4 * n + k] = true;
                }
            }
        }
        EXPECT_EQ(b[4] | b[5] << 8, 1060);
        EXPECT_EQ(b[8], 6) << "output mode";
        for (uint32_t m = 0; m < 9; ++m)
            EXPECT_EQ(b[9 + m], (m + 1) % 8) << "range code of output mode " << m;
        EXPECT_EQ(b[72], 10 % 8) << "VCA range code";
        EXPECT_EQ(static_cast<uint32_t>(word(196)), kLcdWord) << "LCD word";
        for (uint32_t n : {0u, 1u, 2u, 3u, 4u, 5u, 8u, 72u, 784u, 785u, 786u, 787u})
            placed[n] = true;
        for (uint32_t n = 9; n < 18; ++n)
            placed[n] = true;
        for (uint32_t n = 0; n < 7936; ++n) {
            if (!placed[n]) {
                ASSERT_EQ(b[n], 0) << "byte " << n << " lies in a gap";
            }
        }
        // The checksum: the byte sum of bytes 4 to 8191, little-endian in bytes 0-3.
        uint32_t sum = 0;
        for (size_t i = 4; i < kNvSettingsBlockSize; ++i)
            sum += b[i];
        EXPECT_EQ(static_cast<uint32_t>(word(0)), sum);
    }
}

// Unpacked into a freshly built store, every field comes back from its place; the VCA fields (range code,
// items, enables, gains, frequency, phases, angles) only when the three VCA frequency words are all set.
TEST_F(SettingsConvertTest, EveryFieldIsUnpackedFromItsOffsetTheVcaOnesOnlyWithTheirFrequency) {
    for (const bool vca : {true, false}) {
        SCOPED_TRACE(vca);
        Rebuild();
        const uint32_t lcd = IfaceLcdWord();
        SetDistinct(1);
        if (!vca) M(0, 9).freq.def2 = 0;
        ASSERT_EQ(BackupBlockPack(0, 1, true), kNvSaved);

        Rebuild();
        g_OutputModeIdx.store(0);
        for (uint32_t m = 0; m < 10; ++m)
            g_ParamStore.rangeCode[m] = 5;
        IfaceLcdWordSet(0);
        std::vector<int32_t> before;
        for (const Slot& s : kLayout)
            for (uint32_t i = 0; i < s.count; ++i)
                before.push_back(s.at(1, i));
        ASSERT_EQ(BackupBlockConvert(0, 0, 1), 0);
        EXPECT_EQ(g_OutputModeIdx.load(), 6u);
        for (uint32_t m = 0; m < 9; ++m)
            EXPECT_EQ(g_ParamStore.rangeCode[m].load(), (m + 1) % 8) << "range code of output mode " << m;
        EXPECT_EQ(g_ParamStore.rangeCode[9].load(), vca ? 2u : 5u) << "VCA range code";
        EXPECT_EQ(IfaceLcdWord(), kLcdWord);
        size_t k = 0;
        for (const Slot& s : kLayout) {
            SCOPED_TRACE(s.what);
            for (uint32_t i = 0; i < s.count; ++i, ++k) {
                if (std::string_view(s.what) == "Vpp voltage limit") continue;  // held within its limits
                EXPECT_EQ(s.at(1, i), IsVca(s) && !vca ? before[k] : Distinct(s, i)) << i;
            }
        }
        g_OutputModeIdx.store(0);
        IfaceLcdWordSet(lcd);
    }
}

}  // namespace
