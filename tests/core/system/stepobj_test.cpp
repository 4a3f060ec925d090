#include <gtest/gtest.h>

#include <vector>

#include "core/system/step_obj.h"

namespace {

struct Call {
    int row;
    uint32_t msg;
};
std::vector<Call> g_calls;
int32_t g_result = 0;

StepRow g_rows[kStepRows];

int RowOf(StepRow* row) {
    return static_cast<int>(row - g_rows);
}

int32_t Record(StepRow* row, uint32_t msg) {
    g_calls.push_back({RowOf(row), msg});
    return g_result;
}

int32_t RecordError(StepRow* row, uint32_t msg) {
    g_calls.push_back({100 + RowOf(row), msg});
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
        obj.state.store(1);
        obj.msg.store(1);
        obj.rows = g_rows;
    }
    StepObj obj{{1}, {1}, g_rows};
};

TEST_F(StepObjTest, MessageStaysInEffectUntilReplaced) {
    EXPECT_EQ(StepObjRun(&obj), 1);
    StepObjPostMsg(9001, &g_rows[1]);
    EXPECT_EQ(StepObjRun(&obj), 9001);
    EXPECT_EQ(StepObjRun(&obj), 9001);
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[2].row, 1);
    EXPECT_EQ(g_calls[2].msg, 9001u);
    EXPECT_EQ(g_rows[1].msg.load(), 0u);  // taken
}

TEST_F(StepObjTest, ErrorMessageReachesRowFiveOnEveryStepUntilReplaced) {
    StepObjPostMsg(10001, &g_rows[1]);
    EXPECT_EQ(StepObjRun(&obj), 0);
    EXPECT_EQ(StepObjRun(&obj), 0);
    ASSERT_EQ(g_calls.size(), 2u);
    // The error handler gets the row the message was pending in; the normal handler is not called.
    EXPECT_EQ(g_calls[0].row, 101);
    EXPECT_EQ(g_calls[0].msg, 10001u);
    EXPECT_EQ(g_calls[1].row, 101);
    EXPECT_EQ(obj.msg.load(), 1u);
    // 10000 itself is an ordinary message.
    StepObjPostMsg(10000, &g_rows[1]);
    EXPECT_EQ(StepObjRun(&obj), 10000);
    EXPECT_EQ(g_calls.back().row, 1);
}

TEST_F(StepObjTest, TransitionRunsNewStateWithPostedMessage) {
    StepObjPostState(2, 9100, &g_rows[1]);
    EXPECT_EQ(StepObjRun(&obj), 9100);
    EXPECT_EQ(obj.state.load(), 2u);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].row, 2);
    EXPECT_EQ(g_calls[0].msg, 9100u);
}

TEST_F(StepObjTest, ReenteredStateIsNotLeftByItsStaleRequest) {
    // State 1 leaves for 2 with a request that stays in row 1; state 2 sends the object back to 1.
    StepObjPostState(2, 0, &g_rows[1]);
    StepObjRun(&obj);
    ASSERT_EQ(obj.state.load(), 2u);
    EXPECT_EQ(g_rows[1].next_state.load(), 2u);
    StepRowSetNext(1, &g_rows[2]);
    StepObjRun(&obj);
    EXPECT_EQ(obj.state.load(), 1u);
    EXPECT_EQ(g_rows[1].next_state.load(), 0u);  // cleared on entry
    StepObjRun(&obj);
    StepObjRun(&obj);
    EXPECT_EQ(obj.state.load(), 1u);
}

TEST_F(StepObjTest, HandlerResult9003RaisesOne) {
    obj.msg.store(7);
    g_result = kStepRaiseResult;
    EXPECT_EQ(StepObjRun(&obj), 1);
    g_result = 0;
    EXPECT_EQ(StepObjRun(&obj), 7);
}

TEST_F(StepObjTest, StateOutsideTheTableStaysIdle) {
    obj.state.store(42);
    EXPECT_EQ(StepObjRun(&obj), 1);
    EXPECT_TRUE(g_calls.empty());
}

}  // namespace
