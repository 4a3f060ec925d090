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

TEST_F(SeqPreviewTest, KeepStepsCarryTheEarlierValue) {
    Step(0).dcv = 1234;
    Step(1).flags |= kTypeKP << kSeqDcvTypeShift;
    Step(1).dcv = 9999;
    End(3);
    Order();
    struct Row {
        uint32_t position;
        float dcv;
    };
    const float step2 = static_cast<float>(Step(2).dcv / 100);
    // A position past the order counts from its end.
    const Row rows[] = {{1, 0.0f}, {2, 12.0f}, {3, 12.0f}, {4, step2}, {99, step2}};
    for (const Row& row : rows) {
        g_SeqPreview.position = row.position;
        EXPECT_FLOAT_EQ(SeqPreviewPrevDcv(0), row.dcv) << row.position;
    }
    EXPECT_FLOAT_EQ(SeqPreviewPrevDcv(7), 0.0f);
    // ACV: the Vpp word (whole volts) where the unit is Vpp and the wave is neither SIN nor SQU, else the
    // rms word (whole volts) times the wave's factor.
    Step(0).acv = 12345;
    Step(0).acvVpp = 34567;
    for (uint32_t w = 16; w <= 18; ++w)
        core::ParamSetWaveFactor(w, 1.5f + 0.25f * static_cast<float>(w - 16));  // SIN 1.5, SQU 1.75, TRI 2.0
    struct Acv {
        int32_t unit;
        uint32_t wave;
        float shown;
    };
    for (const Acv& a : {Acv{0, kWaveCodeSin, 184.5f}, Acv{1, kWaveCodeSin, 184.5f}, Acv{1, kWaveCodeSqu, 215.25f},
                         Acv{0, kWaveCodeTri, 246.0f}, Acv{1, kWaveCodeTri, 345.0f}, Acv{1, 1, 345.0f}}) {
        paramPutValue(119, a.unit, 0);
        Step(0).wave = a.wave;
        Order();
        g_SeqPreview.position = 2;
        EXPECT_FLOAT_EQ(SeqPreviewPrevAcv(0), a.shown) << "unit " << a.unit << " wave " << a.wave;
    }
    paramPutValue(119, 0, 0);
    // 1P3W: L2 is L1's step with the DC voltage of opposite polarity, whatever L2's own slice holds.
    g_SeqSimBlock[1].seqTable[0][1].dcv = 555;
    Order();
    g_SeqPreview.position = 3;
    EXPECT_FLOAT_EQ(SeqPreviewPrevDcv(1), 5.0f) << "3P4W: L2's own slice";
    g_PhaseMode = 2;
    EXPECT_FLOAT_EQ(SeqPreviewPrevDcv(1), -12.0f);
    EXPECT_FLOAT_EQ(SeqPreviewPrevDcv(0), 12.0f);
    g_PhaseMode = 0;
}

}  // namespace
