// Protection on a running controller: an alarm bit injected through the panel channel shows in the
// QUEStionable condition register on the LAN socket, and *CLS clears the event it latched once the bit is
// gone.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/support/tcp_client.h"
#include "tests/system/controller_fixture.h"

namespace {

using testsupport::TcpClient;

constexpr int kScpiPort = 5025;

class AlarmStatus : public testsupport::SharedController {
  protected:
    static void SetUpTestSuite() {
        SharedController::SetUpTestSuite();
        // The bring-up downloads every waveform table first: under a sanitizer that takes a while.
        ASSERT_TRUE(c().WaitForOutput("LAN: SCPI socket listening on port " + std::to_string(Port(kScpiPort)),
                                      testsupport::kStartupTimeoutMs))
            << c().Output();
    }
    // Asks STAT:QUES:COND? until it answers `want` (at most 3 s); the last answer.
    static std::string WaitForCondition(TcpClient& t, const std::string& want) {
        std::string got;
        for (int i = 0; i < 60 && got != want; ++i) {
            if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            t.Send("STAT:QUES:COND?\n");
            got = t.ReadLine();
        }
        return got;
    }
};

// The condition follows the alarm; the event it latched outlasts it until it is read or *CLS clears it.
TEST_F(AlarmStatus, InjectedOverRmsCurrentShowsInQuestionableConditionUntilCleared) {
    TcpClient t(Port(kScpiPort));
    ASSERT_TRUE(t.Connected());
    t.Send("STAT:PRES;:STAT:QUES:EVEN?\n");  // every rising condition latches into the event
    t.ReadLine();
    EXPECT_EQ(WaitForCondition(t, "+0\n"), "+0\n");
    for (const bool clear : {false, true}) {
        SCOPED_TRACE(clear ? "*CLS" : "no *CLS");
        ASSERT_TRUE(Panel("alarm 2087 2"));
        EXPECT_EQ(WaitForCondition(t, "+2\n"), "+2\n");  // bit 1: over rms current
        ASSERT_TRUE(Panel("alarm 2087 2 off"));
        EXPECT_EQ(WaitForCondition(t, "+0\n"), "+0\n");
        if (clear) {
            t.Send("*CLS;*OPC?\n");
            EXPECT_EQ(t.ReadLine(), "1\n");
        }
        t.Send("STAT:QUES:EVEN?\n");
        EXPECT_EQ(t.ReadLine(), clear ? "+0\n" : "+2\n");
    }
}

TEST_F(AlarmStatus, PanelChannelRefusesRegistersThatAreNoAlarmWords) {
    ASSERT_TRUE(Panel("alarm 2340 1"));
    ASSERT_TRUE(c().WaitForOutput("alarm needs a register 2085-2088 or 2091")) << c().Output();
}

}  // namespace
