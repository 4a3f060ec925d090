// The state objects: a message stays in effect until replaced, a state change runs the new state with its
// message, an error message goes to the error row.
#include <gtest/gtest.h>

#include <vector>

#include "core/system/util/step_obj.h"

namespace {

std::vector<std::pair<int, uint32_t>> g_calls;  // {row (100 + row for the error row), message}
int32_t g_result = 0;
StepRow g_rows[kStepRows];

int32_t Record(StepRow* row, uint32_t msg) {
    g_calls.emplace_back(static_cast<int>(row - g_rows), msg);
    return g_result;
}
int32_t RecordError(StepRow* row, uint32_t msg) {
    g_calls.emplace_back(100 + static_cast<int>(row - g_rows), msg);
    return 0;
}

class StepObjTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_calls.clear();
        g_result = 0;
        for (auto& r : g_rows) {
            r.next_state.store(0);
            r.msg.store(0);
            r.handler = Record;
        }
        g_rows[0].handler = StepRowIdle;
        g_rows[5].handler = RecordError;
    }
    StepObj obj{{1}, {1}, g_rows};
};

TEST_F(StepObjTest, MessageStaysInEffectUntilReplacedAndATransitionCarriesItsMessage) {
    EXPECT_EQ(StepObjRun(&obj), 1);
    StepObjPostMsg(9001, &g_rows[1]);
    EXPECT_EQ(StepObjRun(&obj), 9001);
    EXPECT_EQ(StepObjRun(&obj), 9001);
    EXPECT_EQ(g_rows[1].msg.load(), 0u);  // taken
    StepObjPostState(2, 9100, &g_rows[1]);
    EXPECT_EQ(StepObjRun(&obj), 9100);
    EXPECT_EQ(obj.state.load(), 2u);
    EXPECT_EQ(g_calls, (std::vector<std::pair<int, uint32_t>>{{1, 1}, {1, 9001}, {1, 9001}, {2, 9100}}));
    // A handler's result 9003 raises message 1 for one step.
    obj.msg.store(7);
    g_result = kStepRaiseResult;
    EXPECT_EQ(StepObjRun(&obj), 1);
    g_result = 0;
    EXPECT_EQ(StepObjRun(&obj), 7);
}

// Above 10000 (not 10000 itself).
TEST_F(StepObjTest, ErrorMessageReachesRowFiveOnEveryStepUntilReplaced) {
    StepObjPostMsg(10001, &g_rows[1]);
    EXPECT_EQ(StepObjRun(&obj), 0);
    EXPECT_EQ(StepObjRun(&obj), 0);
    EXPECT_EQ(g_calls, (std::vector<std::pair<int, uint32_t>>{{101, 10001}, {101, 10001}}));
    EXPECT_EQ(obj.msg.load(), 1u);
    StepObjPostMsg(10000, &g_rows[1]);
    EXPECT_EQ(StepObjRun(&obj), 10000);
    EXPECT_EQ(g_calls.back().first, 1);
}

TEST_F(StepObjTest, ReenteredStateIsNotLeftByItsStaleRequest) {
    // State 1 leaves for 2 with a request that stays in row 1; state 2 sends the object back to 1.
    StepObjPostState(2, 0, &g_rows[1]);
    StepObjRun(&obj);
    ASSERT_EQ(obj.state.load(), 2u);
    StepRowSetNext(1, &g_rows[2]);
    StepObjRun(&obj);
    EXPECT_EQ(obj.state.load(), 1u);
    EXPECT_EQ(g_rows[1].next_state.load(), 0u);  // cleared on entry
    StepObjRun(&obj);
    StepObjRun(&obj);
    EXPECT_EQ(obj.state.load(), 1u);
}

TEST_F(StepObjTest, StateOutsideTheTableStaysIdle) {
    obj.state.store(42);
    EXPECT_EQ(StepObjRun(&obj), 1);
    EXPECT_TRUE(g_calls.empty());
}

}  // namespace
