#pragma once
// What the SEQUENCE Step Preview and RUN Preview graphs show: a private copy of the active step table,
// the order in which its steps execute when jumps are followed, and the values a "KP" step inherits.
#include <atomic>
#include <cstdint>

#include "engine/seqsim/seqsim_data.h"

struct SeqPreview {
    SeqStepRecord steps[kSeqSlices][kSeqSteps];  // the active table of the current kind and range
    uint32_t order[kSeqSteps];
    uint32_t count;
    // The RUN preview's words, written by its keys and read by the screen: the 1-based position in the
    // order, the position being typed or turned to in the position entry, and 1 once a key was pressed
    // there.
    std::atomic<uint32_t> position;
    std::atomic<uint32_t> editedPosition;
    std::atomic<uint32_t> edited;
};
extern SeqPreview g_SeqPreview;

// 1 while the menu state is one of the preview states 435-437.
int SeqIsPreviewState();
// Copies the active table and computes the execution order from step 0: it ends after an "END" step,
// when the program comes back to step 0, after step 999 or at 1000 entries. A jump with a Jump Cnt of 0
// in the live table repeats without end; otherwise the copy's count is spent. A Jump To target outside
// the table is not followed. Returns the count.
uint32_t SeqBuildPreview();
// The value carried into the selected position: that of the nearest earlier entry whose type for the
// quantity is not "KP", in whole volts or hertz; 0.0 with none, for a position before 2 and for a phase
// outside 0-2 (a position past the order counts from its end). In 1P3W, L2 reads L1 (its DCV negated).
// Tests read the values the preview carried from the previous step through these.
float SeqPreviewPrevAcv(int phase);
float SeqPreviewPrevDcv(int phase);
