// The parallel link objects against peers on the simulated link, in accelerated time: the master's
// hand-shake with two slaves, a missing slave, a version mismatch, a lost link, and a slave that answers
// only frames for its own address or for all slaves.
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "core/control/alarms/alarm_state.h"
#include "core/control/calibration/cal_state.h"
#include "core/control/hooks/screen_request.h"
#include "core/control/parallel/parallel_frame.h"
#include "core/control/parallel/parallel_objects.h"
#include "core/params/defaults/param_init.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/fw_update_state.h"
#include "core/system/state/menu_state_ids.h"
#include "platform/host/clock.h"
#include "tests/core/ctrl_fixture.h"
#include "tests/support/popup_passes.h"

namespace {

using test::PopupText;
using test::Stage;

int g_retries = 0;

class ParallelTest : public test::CtrlTest {
  protected:
    void SetUp() override {
        g_retries = 0;
        ScreenRequestRunners runners{};
        runners.parallelRetry = [] { ++g_retries; };
        ScreenRequest_SetRunners(runners);
        ParallelLink_Step();  // the link object starts and idles
        ParallelLink_Step();
        test::ClearTrace();
    }
    void TearDown() override {
        ScreenRequest_SetRunners({});
        ScreenRequest_RunPending();
    }
    static void Master(uint32_t units, uint32_t peers) {
        SetParallelNumber(static_cast<int32_t>(units));
        SetParallelPosition(1);
        SetParallelEnable(1);
        Stage().SetLinkPeers(peers);
        ASSERT_EQ(ParallelWaitConnect(1), 9002);
    }
    // A slave at address 2 with `peers` on the link, stepped until its object takes message `msg`.
    static void Slave(uint32_t peers, uint32_t msg) {
        SetParallelPosition(0);
        Stage().SetLinkOwnAddress(2);
        Stage().SetLinkPeers(peers);
        ASSERT_EQ(ParallelWaitConnect(0), 9002);
        ASSERT_TRUE(StepUntil([msg] { return g_ParallelSlaveObj.msg.load() == msg; }));
    }
    // Steps the link object (20 ms each) until `done`; false when it does not get there.
    static bool StepUntil(const std::function<bool()>& done, int most = 400) {
        for (int i = 0; i < most && !done(); ++i)
            ParallelLink_Step();
        return done();
    }
    static bool Active() { return g_ParallelActive.load() == 1; }
};

TEST_F(ParallelTest, MasterWithTwoSlavesJoinsThemAndSupervises) {
    test::HoldPopup("Held");
    Master(3, 2);
    ASSERT_TRUE(StepUntil(Active));
    testsupport::PopupPasses(1);
    EXPECT_EQ(MsgPopup_IsPersistent(), 0) << "the join closes a held popup";
    EXPECT_EQ(g_ParallelMasterObj.msg.load(), 9109u);
    EXPECT_EQ(g_ParallelLink.joined.load(), 2u);
    EXPECT_FALSE(SysStatusTest(kSysParallelMismatch));
    // A single unit's master writes the peak-current limits of every phase again (high 2405+, low 2408+).
    for (uint16_t reg = 2405; reg <= 2410; ++reg)
        EXPECT_EQ(test::WritesTo(reg).size(), 1u) << reg;
    // The version request to every slave, then to each slave the model request, the variant request and
    // the join, each answering what the slave sent.
    const auto frames = test::RawsTo(2481);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames[0], core::LinkFrame(7, 0, 0));
    for (uint32_t n = 1; n <= 2; ++n) {
        std::vector<uint32_t> own;
        for (uint32_t f : frames)
            if (core::LinkFrameAddress(f) == n) own.push_back(f);
        EXPECT_EQ(own, (std::vector<uint32_t>{core::LinkFrame(n, 1, 0), core::LinkFrame(n, 36, 0),
                                              core::LinkFrame(n, 2, 1)}))
            << "slave " << n;
    }
}

TEST_F(ParallelTest, MissingSlaveEndsWithError7AfterThreeSeconds) {
    Master(3, 1);
    const uint64_t start = plat::NowMs();
    ASSERT_TRUE(StepUntil([] { return g_ParallelLink.errorNumber.load() == 7; }));
    EXPECT_GE(plat::NowMs() - start, 3000u);
    EXPECT_EQ(PopupText(), "Parallel Communication \nError(7)");
    ScreenRequest_RunPending();  // the menu/control thread's next pass
    EXPECT_EQ(g_retries, 1);
    EXPECT_EQ(core::g_ParallelMostSeen.load(), 1u) << "the one slave that answered";
    EXPECT_FALSE(Active());
    EXPECT_TRUE(StepUntil([] { return g_ParallelLinkObj.msg.load() == 9002; }));
    for (uint16_t reg = 2405; reg <= 2410; ++reg)  // the stand-alone peak-current limits back
        EXPECT_EQ(test::WritesTo(reg).size(), 1u) << reg;
}

// The link does not come up after every slave was seen: five tries with their retry line, then error 6. A
// slave drops out between the link coming up and the recount: error 9. Both show the wait before.
TEST_F(ParallelTest, LinkUpWaitAndRecountEndWithErrors6And9) {
    const struct {
        uint32_t step, error;
        void (*fault)();
    } cases[] = {{9102, 6, [] { Stage().SetLinkLost(true); }}, {9103, 9, [] { Stage().SetLinkPeers(1); }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        Stage().SetLinkOwnAddress(3);
        Master(3, 2);
        ASSERT_TRUE(StepUntil([&c] { return g_ParallelMasterObj.msg.load() == c.step; }));
        c.fault();
        const std::string out = test::Console(
            [&c] { ASSERT_TRUE(StepUntil([&c] { return g_ParallelLink.errorNumber.load() == c.error; })); });
        const std::string error = "Parallel Communication \nError(" + std::to_string(c.error) + ")";
        EXPECT_LT(out.find("popup: Master Wait Connecting.."), out.find(error)) << out;
        EXPECT_EQ(PopupText(), error);
        for (int t = 0; t < 6; ++t) {
            const bool printed = out.find("ID:3 retry:" + std::to_string(t) + "\n") != std::string::npos;
            EXPECT_EQ(printed, c.error == 6 && t < 5) << t << "\n" << out;
        }
        Stage().SetLinkLost(false);
        ASSERT_TRUE(StepUntil([] { return g_ParallelLinkObj.msg.load() == 9002; }));
    }
}

// While the start-up update check is still to come the popup stays.
TEST_F(ParallelTest, LeavingSlaveClosesItsWaitPopupAfterTheUpdateCheck) {
    for (const uint32_t checked : {2u, 0u}) {
        SCOPED_TRACE(checked);
        MsgQueue_Clear();
        MsgPopup_Close();
        c2000Checked = checked;
        ASSERT_NO_FATAL_FAILURE(Slave(0, 9208));  // no master: the slave waits for the link
        EXPECT_EQ(PopupText(), "Slave Wait Connecting..");
        testsupport::PopupPasses();
        EXPECT_EQ(MsgPopup_IsPersistent(), 1);
        ASSERT_EQ(MsgQueue_PostId(11), 0);  // waits behind the held popup until the ring is emptied
        ParallelSlave_RequestRestart();
        ASSERT_TRUE(StepUntil([] { return g_ParallelLinkObj.msg.load() == 9002; }));
        EXPECT_EQ(MsgQueue_Count() == 0, checked == 2);
        testsupport::PopupPasses(1);
        EXPECT_EQ(MsgPopup_IsPersistent(), checked == 2 ? 0 : 1);
    }
    c2000Checked = 0;
    MsgPopup_Close();
    testsupport::PopupPasses(1);
}

TEST_F(ParallelTest, JoiningSlaveClosesItsWaitPopup) {
    ASSERT_NO_FATAL_FAILURE(Slave(0, 9208));
    testsupport::PopupPasses();
    ASSERT_EQ(MsgPopup_IsPersistent(), 1);
    Stage().SetLinkPeers(1);  // the master comes up
    ASSERT_TRUE(StepUntil([] { return g_ParallelSlaveObj.msg.load() == 9207; }));
    Stage().LinkSendToUnit(core::LinkFrame(2, 2, 1));  // item 2, value 1: the master takes the slave in
    ASSERT_TRUE(StepUntil(Active));
    testsupport::PopupPasses(1);
    EXPECT_EQ(MsgPopup_IsPersistent(), 0) << "the join closes the wait";
}

// A slave that never completes the handshake while parallel operation is enabled: the master checks for
// 200 passes, then offers the retry and stops.
TEST_F(ParallelTest, SlaveThatNeverJoinsEndsInTheRetry) {
    Master(2, 1);
    ASSERT_TRUE(StepUntil(Active));
    g_ParallelActive = 0;  // as before the join: the slave has not answered its join request
    g_ParallelLink.joined = 0;
    const std::string out =
        test::Console([] { ASSERT_TRUE(StepUntil([] { return g_ParallelLinkObj.msg.load() == 9002; })); });
    EXPECT_NE(out.find("popup: Parallel Version Check.."), std::string::npos) << out;
    ScreenRequest_RunPending();
    EXPECT_EQ(g_retries, 1);
    EXPECT_FALSE(Active());
}

// A link event while a calibration is in progress (a point up, the list shown) leaves the calibration page
// alone: the retry prompt of a failed attempt and the home page of a join wait for the calibration to end,
// then show. Taken over the page, they left the calibration mode standing on the home page, the output
// refused, until the password and EXIT were given again.
TEST_F(ParallelTest, LinkScreensWaitForTheCalibrationToEnd) {
    static int homes = 0;
    homes = 0;
    ScreenRequestRunners runners{};
    runners.parallelRetry = [] { ++g_retries; };
    runners.advanceScreen = [] { ++homes; };
    ScreenRequest_SetRunners(runners);
    const uint32_t state = g_MenuState.load();
    const struct {
        uint32_t peers;  // of the two slaves a three-unit master waits for
        const int* shown;
    } cases[] = {{1, &g_retries}, {2, &homes}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.peers);
        core::ParallelObjectsReset();
        ParallelLink_Step();
        ParallelLink_Step();
        g_retries = homes = 0;
        g_MenuState.store(kMenuCalVoltR100P1);
        g_CalState.mode.store(0x11);
        Master(3, c.peers);
        ASSERT_TRUE(StepUntil([] { return g_ParallelLink.errorNumber.load() == 7 || Active(); }));
        ScreenRequest_RunPending();
        EXPECT_EQ(g_retries + homes, 0) << "over the point";
        g_MenuState.store(kMenuCalibration);
        g_CalState.mode.store(0);
        ScreenRequest_RunPending();
        EXPECT_EQ(g_retries + homes, 0) << "over the list";
        g_MenuState.store(1);  // the calibration's exit went home
        ScreenRequest_RunPending();
        EXPECT_EQ(*c.shown, 1);
        EXPECT_EQ(g_retries + homes, 1);
        SetParallelEnable(0);
        g_ParallelLink.errorNumber.store(0);
    }
    g_MenuState.store(state);
}

TEST_F(ParallelTest, OldSlaveVersionMarksAMismatchAndTheHandshakeGoesOn) {
    Stage().SetLinkPeerVersion(2, 1059);
    Master(3, 2);
    ASSERT_TRUE(StepUntil(Active));
    EXPECT_TRUE(SysStatusTest(kSysParallelMismatch));
    EXPECT_EQ(PopupText(), "Parallel Version or\n Model Mismatch");
}

TEST_F(ParallelTest, LinkLostWhileActiveGivesError8AndDisablesParallel) {
    Master(3, 2);
    ASSERT_TRUE(StepUntil(Active));
    Stage().SetLinkLost(true);
    ASSERT_TRUE(StepUntil([] { return !Active(); }));
    EXPECT_EQ(g_ParallelLink.errorNumber.load(), 8u);
    EXPECT_EQ(PopupText(), "Parallel Communication \nError(8)");
    EXPECT_EQ(GetParallelEnable(), 0);
}

// A slave at address 2 answers the frames for its own address or for all slaves (7), item by item: the
// version, its model type, its hardware variant, and the join (value 1 only) with its serial number two
// characters a frame, after a "System Error(1)" flag when it was active with a phase fault already.
TEST_F(ParallelTest, SlaveAnswersEachRequestForItsAddress) {
    ASSERT_NO_FATAL_FAILURE(Slave(1, 9207));  // the master on the link
    const auto frame = [](uint32_t item, uint32_t value) { return core::LinkFrame(2, item, value); };
    const std::vector<uint32_t> joined = {frame(2, 0), frame(26, 6566), frame(27, 4950)};
    std::vector<uint32_t> joinedWithFault = joined;
    joinedWithFault.insert(joinedWithFault.begin() + 1, frame(20, 1));
    const struct {
        const char* what;
        uint32_t address, item, value;
        bool activeWithFault;
        std::vector<uint32_t> answer;
    } cases[] = {
        {"version, other slave", 3, 0, 0, false, {}},
        {"version, all slaves", 7, 0, 0, false, {frame(0, 1060)}},
        {"version", 2, 0, 0, false, {frame(0, 1060)}},
        {"model", 2, 1, 0, false, {frame(1, 5)}},
        {"variant", 7, 36, 0, false, {frame(36, 1)}},
        {"join with value 0", 2, 2, 0, false, {}},
        {"join", 2, 2, 1, false, joined},
        {"join, active with a phase fault", 2, 2, 1, true, joinedWithFault},
        {"an alarm item is not a request", 2, 3, 1, false, {}},
    };
    const uint32_t model = g_ModelId.load();
    IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, "AB12", 4);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        g_ModelId = 5;
        core::g_HwVariant = 1;
        g_ParallelActive = c.activeWithFault ? 1 : 0;
        g_PhaseFault = c.activeWithFault ? 1 : 0;
        test::ClearTrace();
        Stage().LinkSendToUnit(core::LinkFrame(c.address, c.item, c.value));
        for (int i = 0; i < 5; ++i)
            ParallelLink_Step();
        g_ModelId = model;
        g_PhaseFault = 0;
        EXPECT_EQ(test::RawsTo(2481), c.answer);
    }
    core::g_HwVariant = 0;
}

// The answer (item 11) is read under the record's lock: ThreadSanitizer reports a read that is not.
TEST_F(ParallelTest, SlaveAnswersItsAddressWhileAFactoryDefaultRewritesTheLanSettings) {
    ASSERT_NO_FATAL_FAILURE(Slave(1, 9207));
    LanSetDefault();
    std::atomic<bool> stop{false};
    std::thread supervisor([&stop] {
        while (!stop.load())
            LanSetDefault();
    });
    const uint32_t ip[4] = {172, 16, 28, 120};
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        test::ClearTrace();
        Stage().LinkSendToUnit(core::LinkFrame(2, 11, 0));
        for (int i = 0; i < 5; ++i)
            ParallelLink_Step();
        const auto frames = test::WritesTo(2481);
        EXPECT_EQ(frames.size(), 4u);  // no ASSERT: the supervisor thread is joined below
        for (uint32_t k = 0; k < 4 && k < frames.size(); ++k)
            EXPECT_EQ(frames[k].raw, core::LinkFrame(2, 11 + k, ip[k])) << k;
    }
    stop.store(true);
    supervisor.join();
}

// The master waits once a second as long as the update kind allows, then asks for a reboot.
TEST_F(ParallelTest, SlaveUpdateWaitTriesByUpdateKind) {
    const uint32_t tries[5] = {0, 420, 120, 280, 180};
    for (uint32_t kind = 1; kind <= 4; ++kind) {
        SCOPED_TRACE(kind);
        Stage().SetLinkLost(false);
        Master(3, 2);
        ASSERT_TRUE(StepUntil(Active));
        g_ParallelLink.updateKind = kind;
        test::HoldPopup("Held");
        Stage().SetLinkLost(true);
        const uint64_t start = plat::NowMs();
        const std::string out = test::Console(
            [] { ASSERT_TRUE(StepUntil([] { return g_ParallelLink.updateKind.load() == 0; })); });
        EXPECT_GE(plat::NowMs() - start, 1000u * tries[kind]) << "a try a second";
        size_t shown = 0;
        for (size_t at = out.find("popup: Slave is currently updating."); at != std::string::npos;
             at = out.find("popup: Slave is currently updating.", at + 1))
            ++shown;
        EXPECT_EQ(shown, tries[kind]);
        EXPECT_EQ(PopupText(), "Slave update failed.\n Please reboot and try again.");
        testsupport::PopupPasses(1);
        EXPECT_EQ(MsgPopup_IsPersistent(), 0) << "the update wait closes a held popup";
        MsgQueue_Clear();
        EXPECT_EQ(g_ParallelLink.updateKind.load(), 0u);
        EXPECT_TRUE(SysStatusTest(kSysParallelLinkFault));
        ASSERT_TRUE(StepUntil([] { return g_ParallelLinkObj.msg.load() == 9002; }));
        SysStatusClear(kSysParallelLinkFault);
    }
}

}  // namespace

// Two characters a frame while the panel thread copies it out; only slaves 1-5 have one.
TEST_F(ParallelTest, SlaveSerialReadWhileTheMasterWritesIt) {
    Master(3, 2);
    ASSERT_TRUE(StepUntil(Active));
    std::atomic<bool> stop{false};
    std::atomic<uint32_t> reads{0};
    std::thread panel([&stop, &reads] {
        char text[32];
        while (!stop.load()) {
            ParallelSlaveSerial(1, text, sizeof text);
            reads.fetch_add(1);
        }
    });
    // The frames go out only once the panel side reads, so that both sides overlap.
    for (int wait = 0; wait < 2000 && reads.load() == 0; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const char serial[] = "SN12345678ABCDEF";  // 16 characters, two a frame
    for (int round = 0; round < 5; ++round)
        for (uint32_t k = 0; k < 8; ++k) {
            const uint32_t value = static_cast<uint32_t>(serial[2 * k]) * 100 + serial[2 * k + 1];
            Stage().LinkSendFromPeer(1, core::LinkFrame(1, 26 + k, value));
            ParallelLink_Step();
        }
    stop.store(true);
    panel.join();
    char text[32];
    ParallelSlaveSerial(1, text, sizeof text);
    EXPECT_STREQ(text, serial);
    ParallelSlaveSerial(6, text, sizeof text);
    EXPECT_STREQ(text, "") << "slaves are 1-5";
}

// Model types 3-6 are parallel systems of 4.5 kVA units and 7-11 of 6 kVA units: a master takes a slave
// of its own model type or the single unit of its family (1 or 2); anything else is a mismatch.
TEST_F(ParallelTest, EachModelTypeTakesSlavesOfItsOwnFamily) {
    for (uint32_t model = 0; model < 13; ++model) {  // 12: no model
        const uint32_t family = model < 3 ? model : model <= 6 ? 1 : model <= 11 ? 2 : 0;
        const bool parallel = model >= 3 && model <= 11;
        g_ModelId = model;
        EXPECT_EQ(IsParallelModel4k5() + 2 * IsParallelModel6k(), parallel ? family : 0) << model;
        EXPECT_EQ(core::VaClassOfModel(model), family) << model;
        for (uint32_t slave : {1u, 2u, 4u, 8u, model}) {
            SysStatusClear(kSysParallelMismatch);
            Stage().LinkSendFromPeer(1, slave << 16 | 1u << 4 | 1u << 1);  // item 1: the slave's model
            ASSERT_TRUE(core::ParallelPollSlave(1));
            const bool fits = slave == model || (parallel && slave == family);
            EXPECT_EQ(SysStatusTest(kSysParallelMismatch), !fits) << "model " << model << ", slave " << slave;
        }
    }
}

// What a slave reports, item by item, lands in its own word of the master's copy: the alarm words in two
// halves (low first), the error flags and indexes, the raw fault word, the IP octets.
TEST_F(ParallelTest, EverySlaveReportItemLandsInItsWord) {
    constexpr int kSlave = 3;
    const auto send = [](uint32_t item, uint32_t value) {
        Stage().LinkSendFromPeer(kSlave, value << 16 | item << 4 | kSlave << 1);
        ASSERT_TRUE(core::ParallelPollSlave(kSlave)) << item;
    };
    const ParallelSlaveRec& rec = g_ParallelLink.slave[kSlave];
    const AlarmSlaveCopy& alarms = g_AlarmState.slave[kSlave];
    struct Word {
        uint32_t lowItem;
        const std::atomic<uint32_t>* word;
    };
    const Word words[] = {{4, &alarms.phase[0]}, {6, &alarms.phase[1]}, {8, &alarms.phase[2]},
                          {10, &alarms.system},  {24, &rec.rawFault}};
    for (uint32_t i = 0; i < std::size(words); ++i) {
        send(words[i].lowItem, 0x1000 + i);
        send(words[i].lowItem - 1, 0x20 + i);
        EXPECT_EQ(words[i].word->load(), (0x20u + i) << 16 | (0x1000u + i)) << "items " << words[i].lowItem;
    }
    struct Value {
        uint32_t item, value;
        int32_t (*read)(const ParallelSlaveRec&);
    };
    const Value values[] = {
        {20, 5, [](const ParallelSlaveRec& r) { return r.sysError1.load(); }},
        {21, 6, [](const ParallelSlaveRec& r) { return r.startupError.load(); }},
        {22, 7, [](const ParallelSlaveRec& r) { return r.sysError4.load(); }},
        {34, 8, [](const ParallelSlaveRec& r) { return int32_t{r.moduleError.load()}; }},
        {35, 9, [](const ParallelSlaveRec& r) { return int32_t{r.fwError.load()}; }},
        {11, 192, [](const ParallelSlaveRec& r) { return int32_t{r.ip[0].load()}; }},
        {14, 77, [](const ParallelSlaveRec& r) { return int32_t{r.ip[3].load()}; }},
    };
    for (const Value& v : values) {
        send(v.item, v.value);
        EXPECT_EQ(v.read(rec), static_cast<int32_t>(v.value)) << "item " << v.item;
    }
}

// A slave's next event ends the "Please Wait..." it held, whichever popup the event shows, none included.
TEST_F(ParallelTest, ASlaveEventClosesAHeldPopup) {
    for (const uint32_t code : {1u, 2u, 3u, 20u}) {
        SCOPED_TRACE(code);
        test::HoldPopup("Recall Calibration Slave4\nPlease Wait...");
        Stage().LinkSendFromPeer(4, core::LinkFrame(4, 19, code));
        ASSERT_TRUE(core::ParallelPollSlave(4));
        MsgQueue_Clear();
        testsupport::PopupPasses(1);
        EXPECT_EQ(MsgPopup_IsPersistent(), 0);
        testsupport::PopupPasses();
    }
}

// A slave's event (item 19) and its USB memory state (item 37) are shown with the slave's number, each
// code with its own text and popup: 5 timed, 6 held, 8 held in red; codes above 19 show nothing.
TEST_F(ParallelTest, EverySlaveEventShowsItsText) {
    constexpr uint32_t kTimed = 5, kHeld = 6, kRed = 8;
    const struct {
        uint32_t item, code;
        const char* text;
        uint32_t popup;
    } events[] = {
        {19, 0, "Slave4\nUSB Memory Access Error", kTimed},
        {19, 1, "Slave4\nUSB Memory Unconnected", kTimed},
        {19, 2, "Recall Calibration Slave4\nPlease Wait...", kHeld},
        {19, 3, "Recall Calibration Slave4\nU,V,W Data Error", kRed},
        {19, 4, "Slave4\nSaved Calibration U,V,W\nSuccess", kHeld},
        {19, 5, "Recall Slave4 Cal Pass V,W,\n Recall Cal Fail U", kRed},
        {19, 6, "Recall Slave4 Cal Pass U,W,\n Recall Cal Fail V", kRed},
        {19, 7, "Recall Slave4 Cal Pass W,\n Recall Cal Fail U,V", kRed},
        {19, 8, "Recall Slave4 Cal Pass U,V,\n Recall Cal Fail W", kRed},
        {19, 9, "Recall Slave4 Cal Pass V,\n Recall Cal Fail U,W", kRed},
        {19, 10, "Recall Slave4 Cal Pass U,\n Recall Cal Fail V,W", kRed},
        {19, 11, "Recall Slave4 \nCalibration U,V,WFail", kRed},
        {19, 12, "Saved Calibration Slave4\nPlease Wait...", kHeld},
        {19, 13, "Saved Slave4 Cal Pass V,W,\n Saved Cal Fail U", kRed},
        {19, 14, "Saved Slave4 Cal Pass U,W,\n Saved Cal Fail V", kRed},
        {19, 15, "Saved Slave4 Cal Pass W,\n Saved Cal Fail U,V", kRed},
        {19, 16, "Saved Slave4 Cal Pass U,V,\n Saved Cal Fail W", kRed},
        {19, 17, "Saved Slave4 Cal Pass V,\n Saved Cal Fail U,W", kRed},
        {19, 18, "Saved Slave4 Cal Pass U,\n Saved Cal Fail V,W", kRed},
        {19, 19, "Saved Slave4 \nCalibration U,V,W Fail", kRed},
        {19, 20, "", 0},
        {37, 1, "Slave 4 USB Memory \nConnected", kTimed},
        {37, 2, "Slave 4 USB Memory \nAccess Error", kTimed},
        {37, 3, "", 0},
    };
    for (const auto& e : events) {
        SCOPED_TRACE(testing::Message() << "item " << e.item << " code " << e.code);
        MsgQueue_Clear();
        MsgQueue_PostText("", 5);  // the free text emptied
        MsgQueue_Clear();
        Stage().LinkSendFromPeer(4, core::LinkFrame(4, e.item, e.code));
        ASSERT_TRUE(core::ParallelPollSlave(4));
        EXPECT_EQ(PopupText(), e.text);
        uint32_t id = 0;
        EXPECT_EQ(MsgQueue_Pop(&id), e.popup != 0 ? 0 : -1);
        EXPECT_EQ(id, e.popup);
        if (e.popup != 0) {
            EXPECT_EQ(g_MsgPopupLines.load(), 2u);
        }
    }
}
