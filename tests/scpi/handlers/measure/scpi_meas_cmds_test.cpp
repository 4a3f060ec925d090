// The measurement commands through the real execution loop in states the LAN socket cannot reach on a
// fresh root: the other wirings, a parallel slave, the READ? pattern of every output mode, a negative
// power, and 100 V on all three phases into 10 ohm on the simulated stage.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/control/measure/harmonics.h"
#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "scpi/handlers/measure/scpi_meas_snapshot.h"
#include "scpi/parser/scpi_tree.h"
#include "tests/core/control/measure/meas_fixture.h"
#include "tests/scpi/channel_test_fixture.h"

namespace {

using scpitest::kSystem;

class MeasCommands : public scpitest::ChannelTest {
  protected:
    // Which fields of each READ? group read "Invalid" ('1'), three groups of 18 joined by spaces.
    std::string ReadPattern() {
        std::string reply = ch.Exec("READ?\n"), s;
        int field = 0;
        for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1, ++field) {
            end = reply.find_first_of(",\n", start);
            if (field > 0 && field % 18 == 0) s += ' ';
            s += reply.compare(start, end - start, "Invalid") == 0 ? '1' : '0';
            if (end + 1 == reply.size()) break;
        }
        return s;
    }
};

// An alternate-set alias runs as its main-set command, whose id the handler puts in the command block.
TEST_F(MeasCommands, AlternateSetAliasAndAParallelSlave) {
    g_ScpiCmdSetSel.store(1);
    EXPECT_EQ(ch.Run("MEAS:VOLT:AVER?"), "+0.0000|");
    EXPECT_EQ(ch.cmd->cmdId, 112u);
    // The alias of the peak clear has no parameter: it clears every peak.
    SetPeakClearItem(2);
    EXPECT_EQ(ch.Run("MEAS:CURR:PEAK:CLE"), "|");
    EXPECT_EQ(GetPeakClearItem(), 0);
    g_ScpiCmdSetSel.store(0);
    // A slave's measurement settings are its master's, in every form.
    SetParallelPosition(0);
    for (const char* message : {"MEAS:AVER:COUN 16", "MEAS:AVER:COUN?", "MEAS:CONF:SENS 0", "MEAS:CONF:SENS?",
                                "MEAS:PEAK:CLE ALL", "MEAS:UPD:RATE 2", "MEAS:UPD:RATE?"})
        EXPECT_EQ(ch.Run(message), "|" + kSystem) << message;
    EXPECT_EQ(ch.Run("MEAS:VOLT?"), "+0.0000|");  // readings are the slave's own
    SetParallelPosition(1);
    EXPECT_EQ(ch.Run("MEAS:AVER:COUN 16;COUN?"), "+16|");
}

// {output mode, Invalid fields of the three groups}.
TEST_F(MeasCommands, ReadFieldsByOutputMode) {
    const std::string acdc = "000000000000000111";
    const struct {
        uint32_t mode;
        std::string group;
    } cases[] = {
        {0, acdc}, {1, "000000000000000001"}, {2, "000000000001111111"}, {3, acdc},
        {6, acdc}, {7, "000000000000000110"}, {8, "000000000000000110"}, {9, acdc},
    };
    for (const auto& c : cases) {
        g_OutputModeIdx.store(c.mode);
        EXPECT_EQ(ReadPattern(), c.group + " " + c.group + " " + c.group) << c.mode;
    }
}

// Powers in W, VA and var with their signs, on L2's group; a small negative active power reads 0.
TEST_F(MeasCommands, ReadPrintsSignedPowersInBaseUnits) {
    g_DispCache[1].Set(kMfPower, -0.03f);
    g_DispCache[1].Set(kMfApparent, 20000.0f);
    g_DispCache[1].Set(kMfReactive, -0.03f);
    g_DispCache[1].Set(kMfPF, -0.5f);
    const std::string reply = ch.Exec("READ?\n");
    EXPECT_NE(reply.find(",+0.0000,+20000.0000,-0.0300,-0.5000,"), std::string::npos) << reply;
    g_DispCache[1].Set(kMfPower, -1.5f);
    EXPECT_NE(ch.Exec("READ?\n").find(",-1.5000,+20000.0000,"), std::string::npos);
}

// {reply item, expected value}: within 0.5 % and in "%+.4f" shape.
::testing::AssertionResult Near(const std::string& item, double expect) {
    char* end = nullptr;
    const double got = std::strtod(item.c_str(), &end);
    const size_t point = item.find('.');
    if (item.empty() || item[0] != '+' || *end != '\0' || point == std::string::npos ||
        item.size() - point != 5)
        return ::testing::AssertionFailure() << "shape of " << item;
    if (std::abs(got - expect) > expect * 0.005) return ::testing::AssertionFailure() << item;
    return ::testing::AssertionSuccess();
}

std::vector<std::string> Split(std::string line, char separator) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t at; (at = line.find(separator, start)) != std::string::npos; start = at + 1)
        out.push_back(line.substr(start, at - start));
    out.push_back(line.substr(start));
    return out;
}

// The orders of the harmonic groups: group 0 value 0 alone, group g the 20 orders 20(g-1)+1 to 20g,
// MINimum group 1, MAXimum group 5, none all 101; the four lists are current rms, current ratio, voltage
// rms and voltage ratio, of the selected line.
TEST_F(MeasCommands, HarmonicGroupsListsAndTheirSnapshot) {
    for (uint32_t k = 0; k <= 100; ++k) {
        g_HarmResult[0].IMag[k] = 1000.0f + static_cast<float>(k);
        g_HarmResult[0].IPct[k] = 2000.0f + static_cast<float>(k);
        g_HarmResult[0].VMag[k] = 3000.0f + static_cast<float>(k);
        g_HarmResult[0].VPct[k] = 4000.0f + static_cast<float>(k);
        g_HarmResult[1].VMag[k] = 0.0f;
    }
    const auto orders = [](int base, int first, int last) {
        std::string s;
        char one[32];
        for (int k = first; k <= last; ++k) {
            std::snprintf(one, sizeof one, "%s%d.0000", k == first ? "" : ",", base + k);
            s += one;
        }
        return s + "|";
    };
    // Every MEASure query takes a snapshot, the harmonic lists too: a FETCh before one finds no valid copy.
    scpi::MeasSnapshotReset();
    EXPECT_EQ(ch.Run("FETC:VOLT?"), "|-230,\"Data corrupt or stale\"");
    EXPECT_EQ(ch.Run("FETC:VOLT:HARM? 0"), "|-230,\"Data corrupt or stale\"");
    EXPECT_EQ(ch.Run("MEAS:VOLT?;:FETC:VOLT?"), "+0.0000;+0.0000|");
    const struct {
        const char* group;
        int first, last;  // first > last: refused
    } groups[] = {
        {" 0", 0, 0},      {" 1", 1, 20}, {" 3", 41, 60}, {" 5", 81, 100}, {" MIN", 1, 20},
        {" MAX", 81, 100}, {"", 0, 100},  {" 6", 1, 0},   {" -1", 1, 0},
    };
    for (const char* source : {"MEAS", "FETC"}) {
        for (const auto& g : groups) {
            const std::string expect =
                g.first > g.last ? "|-220,\"Parameter error\"" : orders(3000, g.first, g.last);
            EXPECT_EQ(ch.Run(std::string(source) + ":VOLT:HARM?" + g.group), expect) << source << g.group;
        }
    }
    EXPECT_EQ(ch.Run("MEAS:CURR:HARM? 2"), orders(1000, 21, 40));
    EXPECT_EQ(ch.Run("MEAS:CURR:HARM:RAT? 2"), orders(2000, 21, 40));
    EXPECT_EQ(ch.Run("MEAS:VOLT:HARM:RAT? 4"), orders(4000, 61, 80));
    scpi::MeasSnapshotReset();
    g_HarmResult[0].VMag[0] = 1.5f;
    EXPECT_EQ(ch.Run("MEAS:VOLT:HARM? 0;:FETC:VOLT?;:FETC:VOLT:HARM? 0"), "1.5000;+0.0000;1.5000|");
    scpi::MeasSnapshotReset();
    const std::string reply = ch.Run("MEAS:CURR:HARM:RAT? 1;:FETC:CURR?");
    EXPECT_EQ(reply.substr(reply.find('|')), "|") << reply;
}

// The peaks of each line by name, live and in the READ? array: voltage maximum and minimum are fields 3
// and 4 of a group, current maximum and minimum fields 8 and 9.
TEST_F(MeasCommands, PeaksAreReadByTheirNames) {
    g_DispCache[0].Set(kMfVmax, 141.5f);
    g_DispCache[0].Set(kMfVmin, -140.25f);
    g_DispCache[0].Set(kMfImax, 12.5f);
    g_DispCache[0].Set(kMfImin, -11.75f);
    EXPECT_EQ(ch.Run("MEAS:VOLT:HIGH?;LOW?"), "+141.5000;-140.2500|");
    EXPECT_EQ(ch.Run("MEAS:CURR:HIGH?;LOW?"), "+12.5000;-11.7500|");
    EXPECT_EQ(ch.Run("FETC:CURR:HIGH?;LOW?;:FETC:VOLT:HIGH?;LOW?"), "+12.5000;-11.7500;+141.5000;-140.2500|");
    const std::vector<std::string> fields = Split(ch.Exec("READ?\n"), ',');
    ASSERT_EQ(fields.size(), 54u);
    EXPECT_EQ(fields[2], "+141.5000");
    EXPECT_EQ(fields[3], "-140.2500");
    EXPECT_EQ(fields[7], "+12.5000");
    EXPECT_EQ(fields[8], "-11.7500");
}

class MeasLoaded : public test::CtrlTest {};

// Live, from the snapshot the MEASure queries took, and as the READ? array (AC-INT: field 18 Invalid).
TEST_F(MeasLoaded, ThreePhasesIntoTenOhm) {
    ASSERT_TRUE(test::StartLoadedOutput(100.0f, 10.0f));
    scpitest::FakeChannel ch{kChanLan};
    const std::vector<std::string> live =
        Split(ch.Exec("MEAS:VOLT?;CURR?;POW?;POW:TOT?;:MEAS:LINE:VOLT?;:FETC:CURR?;POW:TOT?\n"), ';');
    const double expect[] = {100.0, 10.0, 1000.0, 3000.0, 173.2, 10.0, 3000.0};
    ASSERT_EQ(live.size(), std::size(expect));
    for (size_t i = 0; i < live.size(); ++i)
        EXPECT_TRUE(Near(live[i], expect[i])) << i;
    const std::vector<std::string> fields = Split(ch.Exec("READ?\n"), ',');
    ASSERT_EQ(fields.size(), 54u);
    for (size_t group = 0; group < 3; ++group) {
        EXPECT_TRUE(Near(fields[group * 18], 100.0)) << group;
        EXPECT_TRUE(Near(fields[group * 18 + 5], 10.0)) << group;
        EXPECT_TRUE(Near(fields[group * 18 + 10], 1000.0)) << group;
        EXPECT_EQ(fields[group * 18 + 17], "Invalid") << group;
    }
    EXPECT_EQ(ch.PopErrors(), "");
}

}  // namespace
