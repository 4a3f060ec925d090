// The DISPlay, INPut and INSTrument commands in states the LAN socket of a fresh unit cannot reach: the
// other wirings and output modes, balance, SEQ/SIM active, and the screens the view commands enter.
#include <gtest/gtest.h>

#include <string>

#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/service_flags.h"
#include "tests/scpi/channel_test_fixture.h"

namespace {

using scpitest::kParameter, scpitest::kExecution;

class DisplayCommands : public scpitest::ChannelTest {
  protected:
    void TearDown() override {
        core::ServiceFlagsReset();
        ScreenRequest_SetRunners({});
    }
};

// {output mode, program message, reply|errors}: each item has its own list, shorter in DC-INT; THD only
// in AC-INT, the frequency only in the SYNC modes; a slot outside the list reads VRMS.
TEST_F(DisplayCommands, MeasurementItemsFollowTheOutputMode) {
    const struct {
        uint32_t mode;
        const char* message;
        std::string expect;
    } cases[] = {
        {1, "DISP:MEAS:SOUR1 THDV;SOUR1?", "THDV|"},
        {1, "DISP:MEAS:SOUR3 FREQ", "|" + kParameter},
        {8, "DISP:MEAS:SOUR3 FREQ;SOUR3?", "FREQ|"},
        {7, "DISP:MEAS:SOUR2 THDI", "|" + kParameter},
        {2, "DISP:MEAS:SOUR1 THDV", "|" + kParameter},
        {2, "DISP:MEAS:SOUR3 SPOW", "|" + kParameter},
        {2, "DISP:MEAS:SOUR4 IPKH;SOUR4?", "IPKH|"},
        {1, "DISP:WIND:MEAS:SOUR4 CFAC;:DISP:MEAS:SOUR4?", "CFAC|"},
        {1, "DISP:MEAS:SOUR2 LRMS", "|" + kParameter},
    };
    for (const auto& c : cases) {
        SetOutputMode(c.mode);
        EXPECT_EQ(ch.Run(c.message), c.expect) << c.mode << " " << c.message;
    }
    // The items are kept per output mode.
    EXPECT_EQ(paramGetValue(kParamMeasItem1 + 3, 0), 8);  // CFAC is slot 8 of item 4
    SetOutputMode(8);
    EXPECT_EQ(paramGetValue(kParamMeasItem1 + 2, 0), 6);  // FREQ is slot 6 of item 3
    SetOutputMode(1);
    paramPutValue(kParamMeasItem1 + 3, 9, 0);
    EXPECT_EQ(ch.Run("DISP:MEAS:SOUR4?"), "VRMS|");
}

// NORMal and TOTal set the home view and enter the advanced screen, SIMPle the simple one; nothing while
// SEQ/SIM is active. The view has no query form.
TEST_F(DisplayCommands, ViewEntersItsScreen) {
    static int advanced, simple;
    advanced = simple = 0;
    ScreenRequestRunners hooks{};
    hooks.advanceScreen = [] { ++advanced; };
    hooks.simpleScreen = [] { ++simple; };
    ScreenRequest_SetRunners(hooks);
    EXPECT_EQ(ch.Run("DISP:DES:MODE?"), "|-113,\"Undefined header\"");
    EXPECT_EQ(ch.Run("DISP:DES:MODE TOT"), "|");
    EXPECT_EQ(g_HomePage.viewSel.load(), 1u);
    EXPECT_EQ(ch.Run("DISP:DES:MODE SIMP"), "|");
    EXPECT_EQ(ch.Run("DISP:DES:MODE NORM"), "|");
    EXPECT_EQ(g_HomePage.viewSel.load(), 0u);
    EXPECT_EQ(advanced, 2);
    EXPECT_EQ(simple, 1);
    OutputFlagSet(kOutFlagSeqSimActive);
    EXPECT_EQ(ch.Run("DISP:DES:MODE TOT"), "|" + kExecution);
    OutputFlagClear(kOutFlagSeqSimActive);
    EXPECT_EQ(g_HomePage.viewSel.load(), 0u);
}

// Balance edits all phases together: EACH is stored as ALL. The external inputs exist only in the modes
// that use them.
TEST_F(DisplayCommands, EditModeAndExternalInputs) {
    SetPhaseBalanceMode(1);
    EXPECT_EQ(ch.Run("INST:EDIT EACH;EDIT?"), "All|");
    SetPhaseBalanceMode(0);
    EXPECT_EQ(ch.Run("INST:EDIT 0;EDIT?"), "Each|");
    EXPECT_EQ(ch.Run("INP:SOUR?"), "|" + kExecution);
    SetOutputMode(4);
    EXPECT_EQ(ch.Run("INST:SEL L2;:INP:SOUR L3EX;SOUR?"), "L3Ext|");
    EXPECT_EQ(GetMainSrc(0), 0);
    EXPECT_EQ(ch.Run("INP:SOUR 3"), "|-222,\"Data out of range\"");
    EXPECT_EQ(ch.Run("INP:SYNC:SOUR EXT"), "|" + kExecution);
    SetOutputMode(8);
    EXPECT_EQ(ch.Run("INP:SYNC:SOUR EXT;SOUR?"), "EXT|");
    EXPECT_EQ(GetMainSig(), 3);
}

}  // namespace
