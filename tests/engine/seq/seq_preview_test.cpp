// The execution order of the SEQ preview and the values a "KP" step carries.
#include "engine/seq/seq_preview.h"

#include <vector>

#include "engine/seqsim/seqsim_defaults.h"
#include "tests/engine/seqsim_fixture.h"

namespace {

class SeqPreviewTest : public ::testing::Test {
  protected:
    static SeqStepRecord& Step(int s) { return g_SeqSimBlock[0].seqTable[0][s]; }
    static void Jump(int s, uint32_t to, uint32_t count) {
        Step(s).flags |= kSeqEnJumpto;
        Step(s).jumpTo = to;
        Step(s).jumpCnt = count;
    }
    static void End(int s) { Step(s).flags |= kTermEnd << kSeqTermShift; }
    static std::vector<uint32_t> Order() {
        const uint32_t n = SeqBuildPreview();
        return {g_SeqPreview.order, g_SeqPreview.order + n};
    }
    test::SeqSimEnv env_;
};

TEST_F(SeqPreviewTest, ExecutionOrder) {
    struct Row {
        const char* name;
        void (*program)();
        std::vector<uint32_t> head;  // the first entries
        uint32_t count, last;
    } rows[] = {
        {"END at 3", [] { End(3); }, {0, 1, 2, 3}, 4, 3},
        {"counted jump", [] { Jump(2, 1, 2), End(4); }, {0, 1, 2, 1, 2, 1, 2, 3, 4}, 9, 4},
        {"back to 0", [] { Jump(1, 0, 0); }, {0, 1, 0}, 3, 0},
        {"no END", [] {}, {0, 1, 2}, 1000, 999},
        {"endless self jump", [] { Jump(5, 5, 0); }, {0, 1, 2, 3, 4, 5, 5}, 1000, 5},
        {"target outside", [] { Jump(1, 5000, 0), End(2); }, {0, 1, 2}, 3, 2},
    };
    for (const Row& row : rows) {
        SeqMem_ResetToSlotDefaults(0);
        row.program();
        const std::vector<uint32_t> order = Order();
        ASSERT_EQ(order.size(), row.count) << row.name;
        EXPECT_EQ(std::vector<uint32_t>(order.begin(), order.begin() + row.head.size()), row.head)
            << row.name;
        EXPECT_EQ(order.back(), row.last) << row.name;
    }
    SeqMem_ResetToSlotDefaults(0);
    Jump(2, 1, 2);
    End(4);
    Order();
    EXPECT_EQ(Step(2).jumpCnt, 2u) << "the live Jump Cnt is unchanged";
}

}  // namespace
