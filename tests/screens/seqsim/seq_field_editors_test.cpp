// The mode-type, waveform and duty editors of a SEQUENCE step, driven with key events.
#include "core/params/access/param_access.h"
#include "core/system/state/service_flags.h"
#include "drivers/panel_link.h"
#include "engine/seq/seq_access.h"
#include "engine/seq/seq_internal.h"
#include "engine/seq/seq_limits.h"
#include "engine/seq/seq_setters.h"
#include "engine/seqsim/seqsim_data.h"
#include "screens/seqsim/seqedit/seq_edit_type_wave.h"
#include "tests/screens/seqsim/seq_edit_fixture.h"

namespace {
using namespace seqedit;

constexpr const char* kLimited = "Voltage out of range\n(Setting Voltage Limited)";

// The refusal of a mode pair out of the limits has its test through the dispatcher.
const SeqTypeRow kAcvType = {SeqGetAcvMode, [](int32_t, int) { return false; }, SeqSetAcvMode};
template <int P>
void AcvType(uint32_t* ev) {
    SeqEdit_TypeKey(kAcvType, P, Back, ev);
}
template <int P>
void Wave(uint32_t* ev) {
    SeqEdit_WaveKey(P, Back, ev);
}
template <int P>
void Duty(uint32_t* ev) {
    SeqEdit_DutyKey(P, Back, ev);
}

class SeqFieldEditors : public SeqEditTest {
  protected:
    ~SeqFieldEditors() override { g_ServiceFlags.rdTestMode = 0; }
};

TEST_F(SeqFieldEditors, ModeTypeKeepIsNotOfferedOnStep0) {
    Open(0);
    Press(AcvType<0>, kClassSoft, kKeySoft2);
    EXPECT_EQ(Working(), 0) << "KP needs a step before it";
    Turn(AcvType<0>, 1);
    EXPECT_EQ(Working(), 2) << "a right turn gives SP";
    Turn(AcvType<0>, -1);
    EXPECT_EQ(Working(), 0);
    Turn(AcvType<0>, 1);
    Press(AcvType<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetAcvMode(0), 2);
    EXPECT_EQ(g_backs, 1);
    EXPECT_EQ(test::WritesTo(2340).size(), 1u) << "checked, and strobed on step 0";

    GoToStep(1);
    Open(0);
    Press(AcvType<0>, kClassSoft, kKeySoft2);
    EXPECT_EQ(Working(), 1);
    Turn(AcvType<0>, 1);
    Turn(AcvType<0>, 1);
    EXPECT_EQ(Working(), 2) << "the knob stops at SP";
    Press(AcvType<0>, kClassSoft, kKeySoft1);
    EXPECT_EQ(Working(), 0);
}

TEST_F(SeqFieldEditors, ModeOfL1In1P3WSetsL2Too) {
    GoToStep(1);
    SetPhaseMode(2);
    Open(0);
    Press(AcvType<0>, kClassSoft, kKeySoft2);
    Press(AcvType<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetAcvMode(0), 1);
    EXPECT_EQ(SeqGetAcvMode(1), 1) << "L1 in 1P3W sets L2 too";
}

TEST_F(SeqFieldEditors, WaveformKnobAndWrite) {
    Open(kWaveCodeSin);
    Turn(Wave<0>, 1);
    EXPECT_EQ(Working(), kWaveCodeSqu);
    Turn(Wave<0>, 127);
    Turn(Wave<0>, 127);
    EXPECT_EQ(Working(), 256);
    Press(Wave<0>, kClassCursor, kKeyLeft);
    EXPECT_EQ(g_EditParam.cursor, 0u) << "no cursor";
    Open(kWaveCodeSin);
    Turn(Wave<0>, 1);
    Press(Wave<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetWave(0), kWaveCodeSqu);
    EXPECT_EQ(g_backs, 1);
    EXPECT_TRUE(Posted().empty());
}

TEST_F(SeqFieldEditors, AVppWaveformLowersTheVoltageAndRepaintsIt) {
    SetAcvUnit(1);
    engine::SeqRecAt(0, 0).acvVpp = 60000;
    g_SeqSimScreen.redraw = 0;
    Open(1);  // ARB1, held in Vpp
    Press(Wave<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetWave(0), 1);
    EXPECT_EQ(SeqGetAcv(0), SeqGetAcvVppMax(0));
    EXPECT_LT(SeqGetAcv(0), 60000);
    EXPECT_EQ(Posted(), std::vector<std::string>{kLimited});
    EXPECT_NE(g_SeqSimScreen.redraw.load() & kRedrawUnit, 0u) << "the voltage field changes to Vpp";

    FreshRing();
    g_ServiceFlags.rdTestMode = 1;
    SeqSetWave(kWaveCodeSin, 1, 1);
    engine::SeqRecAt(0, 1).acvVpp = 60000;
    Open(1);
    Press(Wave<1>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetAcv(1), 60000) << "the R&D test mode lifts the Vpp ceiling";
}

TEST_F(SeqFieldEditors, AnRmsVoltageAboveTheNewMaximumComesDown) {
    SeqSetWave(kWaveCodeTri, 0, 1);
    const int32_t triMax = SeqGetStepAcvMax(0);
    SeqSetWave(kWaveCodeSin, 0, 1);
    const int32_t sinMax = SeqGetStepAcvMax(0);
    ASSERT_LT(triMax, sinMax) << "the triangle's crest factor allows less";
    ASSERT_EQ(SeqSetAcv(sinMax, 0), sinMax);
    test::ClearTrace();
    Open(kWaveCodeTri);
    Press(Wave<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetAcv(0), triMax);
    EXPECT_EQ(Posted(), std::vector<std::string>{kLimited}) << "and no read-back error of the lowered value";
    EXPECT_EQ(g_SeqSimErrors.seqCount.load(), 0);
}

TEST_F(SeqFieldEditors, WaveformOfL1In1P3WReappliesL2WithTheOppositeDcv) {
    SetPhaseMode(2);
    ASSERT_EQ(SeqSetDcv(1000, 0), 1000);
    Open(kWaveCodeSqu);
    Press(Wave<0>, kClassKeypad, kKeyEnter);
    EXPECT_EQ(SeqGetWave(1), kWaveCodeSqu);
    EXPECT_EQ(SeqGetDcv(1), -1000);
}

TEST_F(SeqFieldEditors, DutyFollowsTheFrequency) {
    ASSERT_EQ(SeqSetFset(120000, 0), 120000);
    struct Case {
        const char* typed;
        int32_t want;
        const char* message;
    } cases[] = {{"33.3", 300, nullptr},
                 {"95", 300, "27"},
                 {"12", 100, nullptr},
                 {"5", 100, "27"},
                 {"999999999", 100, "27"}};
    for (const Case& c : cases) {
        FreshRing();
        Open(SeqGetDuty(0));
        Type(c.typed);
        Press(Duty<0>, kClassKeypad, kKeyEnter);
        EXPECT_EQ(SeqGetDuty(0), c.want) << c.typed;
        EXPECT_EQ(Posted(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{})
            << c.typed;
    }
    FreshRing();
    Open(900);
    Turn(Duty<0>, 1);
    EXPECT_EQ(Working(), 900);
    EXPECT_EQ(Posted(), std::vector<std::string>{"27"}) << "the knob at 90 % above 999.99 Hz";
    Press(Duty<0>, kClassCursor, kKeyLeft);
    EXPECT_EQ(g_EditParam.cursor, 0u) << "one position";

    ASSERT_EQ(SeqSetFset(20000, 0), 20000);
    Open(500);
    Turn(Duty<0>, 1);
    EXPECT_EQ(Working(), 510) << "whole percent above 99.99 Hz";
    Press(Duty<0>, kClassCursor, kKeyLeft);
    Press(Duty<0>, kClassCursor, kKeyLeft);
    EXPECT_EQ(g_EditParam.cursor, 0u) << "two positions";
    FreshRing();
    Open(980);
    Turn(Duty<0>, 1);
    Turn(Duty<0>, 1);
    EXPECT_EQ(Working(), 990) << "99 % is the top above 99.99 Hz";
    EXPECT_EQ(Posted(), std::vector<std::string>{"27"});
    ASSERT_EQ(SeqSetFset(5000, 0), 5000);
    Open(998);
    Turn(Duty<0>, 1);
    EXPECT_EQ(Working(), 999);
    FreshRing();
    Turn(Duty<0>, 1);
    EXPECT_EQ(Posted(), std::vector<std::string>{"27"});
}

}  // namespace
