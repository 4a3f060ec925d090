// The AC voltage in force across preset recalls and waveform changes, on a controller whose stored records
// differ from its presets: every ordered pair of a SIN, SQU, TRI and ARB preset recalled by *RCL, by the
// preset keys and by the scanner plays and shows the later preset's waveform and voltage. (A waveform
// change taking the voltage in force: tests/core/params; the synchronisation alarm: tests/core/control.)
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

}  // namespace
