// One setting by its two ways in: a value set by a SCPI command on the LAN socket and the same value set
// on the panel (typed on the keypad, turned with the knob) end in the same setting and the same stage
// register; a value beyond the setting's bound is refused by both and changes neither. A preset recalled by
// each of its ways (*RCL, the preset keys, a scanned code) reaches the stage whole.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class SettingPaths : public FrontPanelSuite {
  protected:
    // The stage's last answer for register reg, as it printed the value ("" when it gave none).
    static std::string RegText(int reg) {
        const std::string head = "reg " + std::to_string(reg) + " = ";
        if (!Panel("reg " + std::to_string(reg))) return "";
        const std::string out = c().Output();
        const size_t at = out.rfind(head);
        if (at == std::string::npos) return "";
        const size_t end = out.find(" written", at);
        return end == std::string::npos ? "" : out.substr(at + head.size(), end - at - head.size());
    }
    // The register's text once the stage shows another than `was` (bounded; "" when it does not).
    static std::string RegTextOtherThan(int reg, const std::string& was) {
        for (int tries = 0; tries < 40; ++tries) {
            const std::string now = RegText(reg);
            if (!now.empty() && now != was) return now;
        }
        return "";
    }
    // A number as the keypad keys that type it: '@' and 'A'-'I' are 0-9, 'J' the point.
    static void TypeNumber(const std::string& number) {
        for (char ch : number)
            ASSERT_TRUE(Panel(std::string("key ") + (ch == '.' ? 'J' : static_cast<char>('@' + (ch - '0')))))
                << number;
    }
    // The setting's field opened by its key, the number typed and entered.
    static void TypeInto(const char* fieldKey, const std::string& number) {
        Keys({"key T"});
        ASSERT_TRUE(Panel(std::string("key ") + fieldKey));
        TypeNumber(number);
        ASSERT_TRUE(Panel("key U"));
    }
};

// The AC voltage and the frequency of L1: the remote set, the typed number and the knob give the same
// setting and the same register.
TEST_F(SettingPaths, RemoteKeypadAndKnobSetTheSameSettingAndRegister) {
    ASSERT_EQ(Ask("MODE AC-INT;:VOLT:RANG 200;:SYST:ACV:UNIT VRMS;:FUNC SIN;:VOLT 0;:FREQ 50;*OPC?"), "1");

    // Each setting by the remote command and by its typed number, from a value of its own between them.
    struct Path {
        const char* header;  // the SCPI header, its query with '?'
        int reg;             // the stage register the control task writes
        const char* key;     // the setting field's key
        const char* value;   // the value set both ways
        const char* other;   // the value set before the typed one
    };
    for (const Path& p : {Path{"VOLT", 2384, "O", "12.34", "0"}, Path{"FREQ", 2414, "P", "55.55", "50"}}) {
        const std::string value = p.value, shown = "+" + value + "00";
        ASSERT_EQ(Ask(std::string(p.header) + " " + value + ";*OPC?"), "1");
        EXPECT_EQ(Query(std::string(p.header) + "?"), shown);
        EXPECT_TRUE(StageHas(p.reg, value)) << c().Output();
        SendLocal(std::string(p.header) + " " + p.other);
        ASSERT_TRUE(StageHas(p.reg, p.other));
        TypeInto(p.key, value);
        EXPECT_EQ(Query(std::string(p.header) + "?"), shown) << "typed";
        EXPECT_TRUE(StageHas(p.reg, value)) << "typed " << c().Output();
    }

    // The knob changes the last digit shown (0.01 V) and applies each turn at once.
    SendLocal("VOLT 12.3");
    ASSERT_TRUE(StageHas(2384, "12.3"));
    Keys({"key T", "key O", "knob 4"});
    EXPECT_EQ(Query("VOLT?"), "+12.3400") << "knob";
    EXPECT_TRUE(StageHas(2384, "12.34")) << "knob " << c().Output();
    Keys({"key T"});
    SendLocal("FREQ 50;:VOLT 0");
}

// In Vpp units a TRI waveform's AC voltage stops at the lower of its record's maximum and the waveform's
// peak-to-peak ceiling: the remote MAXimum. One shown step above it the command gets "-222" and the typed
// number the voltage limit message; neither changes the setting or the register. At it both take it
// (first, as keys typed under the limit message's popup would go to the popup).
TEST_F(SettingPaths, AValueBeyondTheBoundIsRefusedByBothAlike) {
    ASSERT_EQ(Ask("MODE AC-INT;:VOLT:RANG 200;:SYST:ACV:UNIT VRMS;:FUNC SIN;:VOLT 0;*OPC?"), "1");
    ASSERT_TRUE(StageHas(2384, "0"));
    ASSERT_EQ(Ask("SYST:ACV:UNIT VPP;:FUNC TRI;:VOLT 10;*OPC?"), "1");
    const std::string ten = RegTextOtherThan(2384, "0");
    ASSERT_FALSE(ten.empty()) << c().Output();
    const std::string maxText = Query("VOLT? MAX");
    const double max = std::atof(maxText.c_str());
    ASSERT_GT(max, 10.0) << maxText;
    char beyond[32], atMax[32];
    // One step of the field as it shows the maximum (0.1 V from 100 V up).
    std::snprintf(beyond, sizeof beyond, "%.1f", max + 0.1);
    std::snprintf(atMax, sizeof atMax, "%.1f", max);

    ASSERT_EQ(Ask(std::string("VOLT ") + atMax + ";*OPC?"), "1");
    EXPECT_EQ(Query("VOLT?"), maxText) << "remote " << atMax;
    const std::string atMaxReg = RegTextOtherThan(2384, ten);
    ASSERT_FALSE(atMaxReg.empty()) << c().Output();
    SendLocal("VOLT 10");
    ASSERT_TRUE(StageHas(2384, ten));
    TypeInto("O", atMax);
    EXPECT_EQ(Query("VOLT?"), maxText) << "typed " << atMax;
    EXPECT_TRUE(StageHas(2384, atMaxReg)) << "typed " << c().Output();
    SendLocal("VOLT 10");
    ASSERT_TRUE(StageHas(2384, ten));

    Send(std::string("VOLT ") + beyond);
    EXPECT_EQ(Query("SYST:ERR?"), "-222,\"Data out of range\"") << beyond;
    EXPECT_EQ(Query("VOLT?"), "+10.0000") << "remote " << beyond;
    EXPECT_EQ(RegText(2384), ten) << "remote " << beyond;

    Mark();
    TypeInto("O", beyond);
    EXPECT_TRUE(Popup("Setting Voltage Limited")) << TextLog();
    EXPECT_EQ(Query("VOLT?"), "+10.0000") << "typed " << beyond;
    EXPECT_EQ(RegText(2384), ten) << "typed " << beyond;

    SendLocal("SYST:ACV:UNIT VRMS;:FUNC SIN;:VOLT 0");
}

// A preset recalled from another output mode plays the square-wave duty it holds, whichever way it is
// recalled: 100 V of a 30 % square averages 100 V x (0.3 - 0.7) = -40 V, the 70 % set before it +40 V.
TEST_F(SettingPaths, APresetRecalledFromAnotherModePlaysItsDutyByEachWay) {
    const struct {
        const char* way;
        std::vector<std::string> lines;  // panel lines; none: *RCL over the socket
    } ways[] = {
        {"*RCL", {}},
        {"preset key M1", {"key N", "key A", "key N"}},
        {"scanned code", {"scan Recall M1"}},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        for (const char* m : {"MODE AC-INT;:VOLT:RANG 100;:SYST:ACV:UNIT VRMS;:FUNC SQU;:VOLT 100;:FREQ 50",
                              "SQU:DCYC 30", "*SAV 1", "SQU:DCYC 70", "MODE DC-INT"})
            ASSERT_EQ(Ask(std::string(m) + ";*OPC?"), "1") << m;
        if (w.lines.empty()) {
            ASSERT_EQ(Ask("*RCL 1;*OPC?"), "1");
        } else {
            Local();
            for (const std::string& line : w.lines)
                ASSERT_TRUE(Panel(line)) << line;
        }
        std::string mode;
        for (int tries = 0; tries < 100 && (mode = Query("MODE?")) != "AC-INT"; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_EQ(mode, "AC-INT");
        EXPECT_EQ(Query("SQU:DCYC?"), "+30.0000");
        // 30 % in 4096ths is 1228, which the stage shows in percent.
        EXPECT_TRUE(StageHas(2461, "29.9805")) << c().Output();
        ASSERT_EQ(Ask("OUTP ON;*OPC?"), "1");
        double average = 0.0;
        for (int tries = 0; tries < 100; ++tries) {
            average = std::atof(Query("MEAS:VOLT:AVER?").c_str());
            if (std::fabs(average + 40.0) < 0.5) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_NEAR(average, -40.0, 0.5);
        SendLocal("OUTP OFF");
    }
    SendLocal("SQU:DCYC 50;:FUNC SIN;:VOLT 0");
}

}  // namespace
