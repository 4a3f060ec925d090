// The AC voltage in force across preset recalls and waveform changes, on a controller whose stored records
// differ from its presets: every ordered pair of a SIN, SQU, TRI and ARB preset recalled by *RCL, by the
// preset keys and by the scanner plays and shows the later preset's waveform and voltage; in Vrms a
// waveform change takes the voltage set just before it. And in 1P2W the synchronisation alarm waits for an
// output that is switched on.
#include <string>

#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

struct Preset {
    int n;
    const char* wave;
    const char* unit;   // SYST:ACV:UNIT when it was saved
    const char* volts;  // in that unit
};
// AC-INT, 200 V range. The units alternate, so that half the recalls change the unit.
constexpr Preset kPresets[] = {
    {1, "SIN", "VRMS", "50"}, {2, "SQU", "VPP", "120"}, {3, "TRI", "VRMS", "80"}, {4, "ARB1", "VPP", "250"}};
// A walk that takes every ordered pair of the four once.
constexpr int kWalk[] = {0, 1, 0, 2, 0, 3, 1, 2, 1, 3, 2, 3, 0};

class VoltageInForce : public FrontPanelSuite {
  protected:
    // The stage plays the preset's voltage on L1 (bounded wait), and the settings are the preset's.
    static void ExpectRecalled(const Preset& p, const std::string& how) {
        EXPECT_TRUE(StageHas(2384, p.volts)) << how << " M" << p.n;
        const std::string unit = std::string(p.unit) == "VPP" ? "+1" : "+0";
        EXPECT_EQ(Query("FUNC?;:VOLT?;:SYST:ACV:UNIT?"),
                  std::string(p.wave) + ";+" + p.volts + ".0000;" + unit)
            << how << " M" << p.n;
    }
};

TEST_F(VoltageInForce, EveryWaveformPairRecalledInBothOrdersByRclKeysAndScanner) {
    ASSERT_EQ(Ask("MODE AC-INT;:VOLT:RANG 200;*OPC?"), "1");
    for (const Preset& p : kPresets)
        ASSERT_EQ(Ask(std::string("SYST:ACV:UNIT ") + p.unit + ";:FUNC " + p.wave + ";:VOLT " + p.volts +
                      ";*SAV " + std::to_string(p.n) + ";*OPC?"),
                  "1");
    // The records in force now hold 150 V for every waveform, none of the presets' voltages.
    ASSERT_EQ(Ask("SYST:ACV:UNIT VRMS;:FUNC SIN;:VOLT 150;*OPC?"), "1");
    ASSERT_TRUE(StageHas(2384, "150"));

    for (int k : kWalk) {
        ASSERT_EQ(Ask("*RCL " + std::to_string(kPresets[k].n) + ";*OPC?"), "1");
        ExpectRecalled(kPresets[k], "*RCL");
    }
    Mark();
    ASSERT_TRUE(Panel("key N"));
    ASSERT_TRUE(Popup("Preset Mode")) << TextLog();
    for (int k : kWalk) {
        ASSERT_TRUE(Panel(std::string("key ") + static_cast<char>('@' + kPresets[k].n)));
        ExpectRecalled(kPresets[k], "key");
    }
    Mark();
    ASSERT_TRUE(Panel("key N"));
    ASSERT_TRUE(Popup("Exit Preset Mode")) << TextLog();
    for (int k : kWalk) {
        ASSERT_TRUE(Panel("scan Recall M" + std::to_string(kPresets[k].n)));
        ExpectRecalled(kPresets[k], "scan");
    }
}

// A voltage set in the message of the change, or in the one before it, goes with the waveform; so does
// the DC voltage.
TEST_F(VoltageInForce, WaveformChangeInVrmsTakesTheVoltageSetBeforeIt) {
    ASSERT_EQ(Ask("MODE AC-INT;:VOLT:RANG 200;:SYST:ACV:UNIT VRMS;:FUNC SIN;:VOLT 100;*OPC?"), "1");
    struct Step {
        const char* send;
        const char* reply;  // FUNC?;:VOLT? after it
        const char* stage;  // the L1 AC voltage played
    };
    const Step steps[] = {
        {"VOLT 60;:FUNC TRI", "TRI;+60.0000", "60"},   {"VOLT 80;:FUNC SIN", "SIN;+80.0000", "80"},
        {"VOLT 90;:FUNC ARB1", "ARB1;+90.0000", "90"}, {"VOLT 110;:FUNC SQU", "SQU;+110.0000", "110"},
        {"VOLT 70;:FUNC SQU", "SQU;+70.0000", "70"},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(Ask(std::string(s.send) + ";:FUNC?;:VOLT?"), s.reply) << s.send;
        EXPECT_TRUE(StageHas(2384, s.stage)) << s.send;
    }
    Send("VOLT 75");
    EXPECT_EQ(Ask("FUNC TRI;:FUNC?;:VOLT?"), "TRI;+75.0000");
    ASSERT_EQ(Ask("MODE ACDC-INT;*OPC?"), "1");
    EXPECT_EQ(Ask("VOLT:OFFS 5;:FUNC SIN;:VOLT:OFFS?"), "+5.0000");
    EXPECT_TRUE(StageHas(2387, "5"));
    EXPECT_EQ(Ask("SYST:ERR?"), "+0,\"No error\"");
}

// Without a signal at the synchronisation input: choosing AC-SYNC in 1P2W with the output off, and a wiring
// change into that 1P2W, show no alarm; the output-on it refuses shows it once.
TEST_F(VoltageInForce, SyncAlarmOnlyForAnOutputSwitchedOn) {
    const size_t shown = Count("popup: External Sync Frequency");
    for (const char* step :
         {"OUTP OFF;:SYST:CONF:PHAS 1", "MODE AC-SYNC", "SYST:CONF:PHAS 0", "SYST:CONF:PHAS 1"})
        ASSERT_EQ(Ask(std::string(step) + ";*OPC?"), "1") << step;
    Send("OUTP ON");
    EXPECT_EQ(Ask("SYST:ERR?"), "-200,\"Execution error;No sync signal\"");
    ASSERT_TRUE(Shown("External Sync Frequency ", shown + 1)) << c().Output();
    EXPECT_EQ(Count("popup: External Sync Frequency"), shown + 1) << c().Output();
    EXPECT_EQ(Ask("SYST:CONF:PHAS 0;*OPC?"), "1");
}

}  // namespace
