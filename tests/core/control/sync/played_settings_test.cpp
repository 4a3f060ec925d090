// Every setting the power stage plays, at the word the stage took with its last apply strobe, after each
// path that writes it: a set, a preset recall within its output mode and from another one, a wiring change
// that brings back another output mode, a mode change that comes with new settings, and the rewrite of
// settings loaded at power-on. The words expected are the register map's encodings of the values set.
#include <bit>
#include <string>
#include <vector>

#include "core/control/preset_output.h"
#include "core/control/sync/output_pending.h"
#include "core/control/sync/output_sync.h"
#include "core/params/param_ranges.h"
#include "core/params/settings/setting_write.h"
#include "platform/stage/wiring_codes.h"
#include "storage/nv/settings_backup.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/support/erased_nv.h"

using namespace test;

namespace {

constexpr auto kSin = static_cast<int32_t>(kWaveSin), kSqu = static_cast<int32_t>(kWaveSqu);

// One phase: waveform, duty (0.1 %), voltages (0.01 V), frequency (0.01 Hz), limits (0.01 A), angles (0.1°).
struct PhaseSettings {
    int32_t wave, duty, acv, dcv, freq, irms, ipkHigh, ipkLow, on, off;
};
struct Settings {
    PhaseSettings phase[3];
    int32_t angleL2, angleL3;  // of the instrument (L1's unit)
};

// Distinct on every phase, so that a phase written from another's value shows; the other settings fit both
// ranges.
constexpr Settings kTarget{{{kSqu, 300, 10000, 1000, 6000, 500, 4000, -4000, 900, 1800},
                            {kSqu, 350, 10100, 1100, 6100, 510, 4100, -4100, 910, 1810},
                            {kSqu, 400, 10200, 1200, 6200, 520, 4200, -4200, 920, 1820}},
                           1000,
                           2000};
constexpr Settings kOther{{{kSin, 700, 5000, 0, 5000, 700, 3100, -3100, 0, 0},
                           {kSin, 650, 5000, 0, 5000, 700, 3100, -3100, 0, 0},
                           {kSin, 600, 5000, 0, 5000, 700, 3100, -3100, 0, 0}},
                          1200,
                          2400};

constexpr uint32_t kRange100V = 0, kRange200V = 1;  // 3P4W range codes

// The register map's encodings: the value as it is, x 100, the float v / 10 or v / 100, and the duty as a
// fraction of 4096 (truncated).
uint32_t Raw(int32_t v) {
    return static_cast<uint32_t>(v);
}
uint32_t Float(int32_t v, float divisor) {
    return std::bit_cast<uint32_t>(static_cast<float>(v) / divisor);
}
uint32_t Duty4096(int32_t v) {
    return static_cast<uint32_t>(int64_t{v} * 4096 / 1000);
}

struct Word {
    std::string setting;
    uint32_t reg, word;
};

// What the stage plays for s in ACDC-INT with the peak limit on (the default): the user's peak limits in
// the limit-on registers, the L2 and L3 angles as 360 degrees less the angle.
std::vector<Word> Words(const Settings& s) {
    std::vector<Word> out;
    for (uint32_t p = 0; p < 3; ++p) {
        const PhaseSettings& v = s.phase[p];
        const std::string l = " L" + std::to_string(p + 1);
        out.push_back({"waveform" + l, 2337 + p, Raw(v.wave + 1)});
        out.push_back({"duty" + l, 2461 + p, Duty4096(v.duty)});
        out.push_back({"AC voltage" + l, 2384 + p, Float(v.acv, 100)});
        out.push_back({"DC voltage" + l, 2387 + p, Float(v.dcv, 100)});
        out.push_back({"frequency" + l, 2414 + p, Raw(v.freq * 100)});
        out.push_back({"rms current limit" + l, 2396 + p, Float(v.irms, 100)});
        out.push_back({"peak current limit high" + l, 2405 + p, Float(v.ipkHigh, 100)});
        out.push_back({"peak current limit low" + l, 2408 + p, Float(v.ipkLow, 100)});
        out.push_back({"ON phase" + l, 2375 + 2 * p, Float(v.on, 10)});
        out.push_back({"OFF phase" + l, 2376 + 2 * p, Float(v.off, 10)});
    }
    out.push_back({"L2 angle", 2382, Float(3600 - s.angleL2, 10)});
    out.push_back({"L3 angle", 2383, Float(3600 - s.angleL3, 10)});
    return out;
}

void ExpectPlayed(const Settings& s) {
    for (const Word& w : Words(s))
        EXPECT_EQ(Stage().Applied(w.reg), w.word) << w.setting << " (register " << w.reg << ")";
}

// The line the remote's phase settings address (INST:SEL).
void SelectRemoteLine(uint32_t line) {
    paramPutValue(kParamMeasItem1 + 5, static_cast<int32_t>(line), 0);
    SelectLine(line);
}

void SetPhaseSettings(uint32_t p, const PhaseSettings& v) {
    const int phase = static_cast<int>(p);
    ASSERT_EQ(SetWaveform(v.wave, phase), v.wave) << "L" << p + 1;
    const std::pair<uint32_t, int32_t> values[] = {
        {kParamWaveDuty, v.duty}, {kParamAcv, v.acv},         {kParamDcv2, v.dcv},
        {kParamFreq, v.freq},     {kParamCurrLimit2, v.irms}, {kParamIpkMax, v.ipkHigh},
        {kParamIpkMin, v.ipkLow}, {kParamOnPhase, v.on},      {kParamOffPhase, v.off},
    };
    for (const auto& [id, value] : values)
        ASSERT_EQ(settings::SetSetting(id, phase, value, settings::Origin::kRemote),
                  settings::SetResult::kWritten)
            << "id " << id << " L" << p + 1;
}

void SetInstrumentSettings(const Settings& s) {
    for (const auto& [id, value] :
         {std::pair{kParamBalance2, s.angleL2}, std::pair{kParamBalance3, s.angleL3}})
        ASSERT_EQ(settings::SetSetting(id, 0, value, settings::Origin::kRemote),
                  settings::SetResult::kWritten)
            << "id " << id;
}

// Every phase's settings and the instrument's, as one message sets them.
void SetAll(const Settings& s) {
    for (uint32_t p = 0; p < 3; ++p)
        SetPhaseSettings(p, s.phase[p]);
    SetInstrumentSettings(s);
}

// As remote commands set them: a line selected, its settings set, each command taken by the control task
// before the next; L1 selected again at the end.
void SetByCommands(const Settings& s) {
    for (uint32_t p = 0; p < 3; ++p) {
        SelectRemoteLine(p);
        ASSERT_NO_FATAL_FAILURE(SetPhaseSettings(p, s.phase[p]));
        ASSERT_NO_FATAL_FAILURE(Settle());
    }
    SelectRemoteLine(0);
    ASSERT_NO_FATAL_FAILURE(SetInstrumentSettings(s));
    ASSERT_NO_FATAL_FAILURE(Settle());
}

// Each wiring keeps its settings in its own blocks of the non-volatile memory: the present wiring's are
// saved, the new wiring's loaded, as the wiring dialog and the remote wiring command do.
void ChangeWiring(uint32_t to) {
    BackupSavePhaseSettings(GetPhaseMode());
    SetPhaseMode(static_cast<int32_t>(to));
    BackupLoadPhaseSettings(0);
    SetVoltRange(GetVoltRangeCode());
}

class PlayedSettings : public CtrlTest {
  protected:
    void SetUp() override {
        // The settings blocks of the wirings, on an erased memory.
        ASSERT_NO_FATAL_FAILURE(testsupport::OpenErasedNv());
    }
    void TearDown() override { testsupport::CloseNv(); }
    // A fresh stage and the factory default, with the output mode, wiring and range as loaded settings would
    // leave them.
    static void PowerOn(uint32_t mode, uint32_t wiring = kWiring3P4W, uint32_t rangeCode = kRange100V) {
        ResetPowerStage();
        Rebuild();
        g_OutputModeIdx = mode;
        g_PhaseMode = wiring;
        g_ParamStore.rangeCode[mode] = rangeCode;
    }
    static void Start(uint32_t mode) {
        PowerOn(mode);
        ASSERT_LT(RunUntilReady(), 2000);
    }
};

TEST_F(PlayedSettings, EveryPathLeavesTheStagePlayingTheSettings) {
    const struct {
        const char* path;
        void (*run)();
    } paths[] = {
        {"set by commands",
         [] {
             Start(kModeAcDcInt);
             SetByCommands(kTarget);
         }},
        {"preset recall within its mode",
         [] {
             Start(kModeAcDcInt);
             SetByCommands(kTarget);
             ASSERT_EQ(core::PresetRunForOutput(1, 1), 0);
             SetByCommands(kOther);
             ASSERT_EQ(core::PresetRunForOutput(0, 1), 0);
             Settle();
         }},
        // The keys, the scanner and *RCL all recall through the one preset recall of the output.
        {"preset recall from another mode",
         [] {
             Start(kModeAcDcInt);
             SetByCommands(kTarget);
             ASSERT_EQ(core::PresetRunForOutput(1, 1), 0);
             SetByCommands(kOther);
             SetOutputMode(kModeDcInt);
             Settle();
             ASSERT_EQ(core::PresetRunForOutput(0, 1), 0);
             Settle();
         }},
        {"wiring change back to another mode",
         [] {
             Start(kModeAcDcInt);
             SetByCommands(kTarget);
             ChangeWiring(kWiring1P2W);
             Settle();
             // The single phase's own peak limits are higher: its waveform and duty change.
             ASSERT_EQ(SetWaveform(kSin, 0), kSin);
             ASSERT_EQ(
                 settings::SetSetting(kParamWaveDuty, 0, kOther.phase[0].duty, settings::Origin::kRemote),
                 settings::SetResult::kWritten);
             Settle();
             SetOutputMode(kModeDcInt);
             Settle();
             ChangeWiring(kWiring3P4W);
             Settle();
         }},
        {"range change with new settings",
         [] {
             PowerOn(kModeAcDcInt, kWiring3P4W, kRange200V);
             ASSERT_LT(RunUntilReady(), 2000);
             SetByCommands(kOther);
             SetVoltRange(static_cast<int32_t>(kRange100V));
             SetAll(kTarget);
             Settle();
         }},
        // MODE ACDC-INT;:FUNC SQU;:SQU:DCYC ... in one message.
        {"mode change with new settings",
         [] {
             Start(kModeAcInt);
             SetByCommands(kOther);
             SetOutputMode(kModeAcDcInt);
             SetAll(kTarget);
             Settle();
         }},
        {"settings loaded at power-on",
         [] {
             PowerOn(kModeAcDcInt);
             SetAll(kTarget);
             RunUntilReady();
             Settle();
         }},
    };
    for (const auto& path : paths) {
        SCOPED_TRACE(path.path);
        ASSERT_NO_FATAL_FAILURE(path.run());
        ExpectPlayed(kTarget);
    }
}

}  // namespace
