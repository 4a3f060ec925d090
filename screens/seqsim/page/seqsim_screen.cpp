#include "screens/seqsim/page/seqsim_screen.h"

#include <cstring>

#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "core/system/state/edit_state.h"
#include "engine/seqsim/seqsim_data.h"
#include "screens/seqsim/page/seqsim_paint.h"
#include "screens/seqsim/page/seqsim_view.h"
#include "screens/seqsim/seqsim_words.h"

using namespace seqsim;

namespace {

uint8_t g_pageSim = 0;  // the mode of the page on screen: 0 SEQUENCE, 1 SIMULATE
View g_next{};

// The SEQUENCE page asks for its preparation; the SIMULATE page for its download.
void EnterMode(uint8_t sim) {
    g_pageSim = sim;
    if (sim != 0) {
        SimPrepRequest.store(1, std::memory_order_release);
    } else {
        SeqScreenReady.store(0, std::memory_order_release);
        SeqPrepStage.store(kSeqPrepRequested, std::memory_order_release);
    }
}

// Leaving a page: the SIMULATE request goes; a SEQUENCE preparation under way is given up (a stage 0 the
// keys asked for meanwhile stays).
void LeaveMode(uint8_t sim) {
    if (sim != 0) {
        SimPrepRequest.store(0, std::memory_order_release);
        return;
    }
    uint32_t stage = SeqPrepStage.load(std::memory_order_acquire);
    while (stage != kSeqPrepRequested &&
           !SeqPrepStage.compare_exchange_weak(stage, kSeqPrepIdle, std::memory_order_acq_rel))
    {
    }
}

// One tick of the SEQUENCE preparation: 0 -> 1 -> ... -> 5, never over a stage set meanwhile.
void TickPreparation() {
    uint32_t stage = SeqPrepStage.load(std::memory_order_acquire);
    while (stage < kSeqPrepDownload) {
        if (SeqPrepStage.compare_exchange_weak(stage, stage + 1, std::memory_order_acq_rel)) {
            stage = stage + 1;
            break;
        }
    }
    if (stage == kSeqPrepDownload) SeqScreenReady.store(1, std::memory_order_release);
}

void Invalidate(int win) {
    if (g_Win[win] != 0) WM_Invalidate(g_Win[win]);
}

// Repaints the parts of the page whose view differs from what is shown, and those a request asks for. With
// the tables busy nothing is taken: the requests wait for the next update.
void Refresh(bool force) {
    if (!BuildView(&g_next)) return;
    bool fields = force;
    for (auto& request : g_SeqSimScreen.fieldRedraw) fields |= request.exchange(0, std::memory_order_acq_rel) != 0;
    // A recall or save done: the memory list shows its outcome.
    const bool notice = g_SeqSimBlock[0].notices.exchange(0, std::memory_order_acq_rel) != 0;
    const bool unit = g_SeqSimScreen.acvUnitRedraw.exchange(0, std::memory_order_acq_rel) != 0 || notice;
    if (fields || std::memcmp(&g_next.title, &g_Shown.title, sizeof g_next.title) != 0) Invalidate(kWinTitle);
    if (fields || unit || std::memcmp(&g_next.body, &g_Shown.body, sizeof g_next.body) != 0) Invalidate(kWinBody);
    for (int k = 0; k < kSoftKeys; ++k)
        if (force || std::memcmp(&g_next.keys[k], &g_Shown.keys[k], sizeof g_next.keys[k]) != 0)
            Invalidate(kWinKey0 + k);
    g_Shown = g_next;
}

}  // namespace

void SeqSimScreen_Create() {
    g_Win[kWinRoot] = WM_CreateTop(0, 0, 800, 480, 0, PaintRoot, 0);
    if (g_Win[kWinRoot] != 0) {
        g_Win[kWinTitle] = WM_CreateChild(0, 0, 720, kBodyTop, g_Win[kWinRoot], WM_CF_SHOW, PaintTitle, 0);
        g_Win[kWinBody] = WM_CreateChild(0, kBodyTop, 720, 480 - kBodyTop, g_Win[kWinRoot], WM_CF_SHOW, PaintBody, 0);
        for (int k = 0; k < kSoftKeys; ++k)
            g_Win[kWinKey0 + k] = WM_CreateChild(720, 60 * k, 80, 60, g_Win[kWinRoot], WM_CF_SHOW, PaintKey, 0);
    }
    g_PagesCreated.fetch_or(kPageBitSeqSim, std::memory_order_relaxed);
    g_PageId.store(g_MenuState.load(std::memory_order_relaxed));
}

void SeqSimScreen_Enter() {
    EnterMode(PageIsSim(g_PageId.load()));
}

void SeqSimScreen_Show() {
    Refresh(true);
    if (g_Win[kWinRoot] != 0) WM_Show(g_Win[kWinRoot]);
}

void SeqSimScreen_Hide() {
    LeaveMode(g_pageSim);
    if (g_Win[kWinRoot] != 0) WM_Hide(g_Win[kWinRoot]);
}

void SeqSimScreen_Update() {
    const uint8_t sim = PageIsSim(g_PageId.load());
    if (sim != g_pageSim) {
        LeaveMode(g_pageSim);
        EnterMode(sim);
    }
    if (sim == 0) {
        // An entry's request reaches a page that was already showing SEQUENCE as well.
        uint32_t entered = kSeqPrepEntered;
        SeqPrepStage.compare_exchange_strong(entered, kSeqPrepRequested, std::memory_order_acq_rel);
        TickPreparation();
    }
    Refresh(false);
}

const PageDesc SeqSimPageDesc{SeqSimScreen_Create, SeqSimScreen_Enter, SeqSimScreen_Show, SeqSimScreen_Hide,
                              SeqSimScreen_Update};
