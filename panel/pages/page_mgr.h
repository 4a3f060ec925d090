#pragma once
// The page manager: builds the front-panel pages one per main pass, then shows the page the menu state
// asks for, refreshes the display copy of the measurements it draws and hides it again, each page through
// its own state machine. Runs on the GUI thread only; a main pass is every fourth GUI pass.
#include <atomic>
#include <cstdint>

#include "core/system/state/home_screens.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/util/step_obj.h"

// The five operations of a page, in slot order. create builds the hidden window tree once, sets the page's
// created bit and writes its page id; enter readies the page before show (SEQ/SIM only); show and hide
// switch its root windows; update invalidates what differs from the display copy. An operation a page does
// not need is an empty function.
struct PageDesc {
    void (*create)();
    void (*enter)();
    void (*show)();
    void (*hide)();
    void (*update)();
};

// Created bits of g_PagesCreated.
enum PageCreatedBit : uint8_t {
    kPageBitHome = 1,
    kPageBitSimple = 2,
    kPageBitOverlay = 4,
    kPageBitCal = 8,
    kPageBitMenu = 16,
    kPageBitSeqSim = 32,
};

// Page ids (the menu states that name a page).
enum PageIdValue : uint32_t {
    kPageIdHome = kScreenAdvanced,
    kPageIdSimple = kScreenSimple,
    kPageIdMenu = kMenuSystemInfo,
    kPageIdCal = kMenuCalibration,
    kPageIdSeq = kMenuSeqSetStepIndex,
    kPageIdSim = kSimSelStep,
    kPageIdSeqSimAlt = kMenuSelSequenceMode,
};

extern std::atomic<uint8_t> g_PagesCreated;
extern uint32_t g_PagePassCount;  // 0..3, GUI passes within a main pass
extern uint32_t g_MeasGroupSel;   // 0..3, the next word group of Chg_MeasBlock

// The pages the manager drives. A null slot stands for a page with nothing on screen: its create only
// sets its bit (the overlay until its layer is built, and the unit tests).
struct PageSet {
    const PageDesc* home;
    const PageDesc* simple;
    const PageDesc* overlay;
    const PageDesc* cal;
    const PageDesc* menu;
    const PageDesc* seqsim;
};
void PageMgr_SetPages(const PageSet& pages);
// What a page still has waiting for its next updates (repaints it found due, a preview still to come); 0
// when nothing. A page with such work of its own sets its probe, by its page bit, when it is built; the
// panel counts as caught up only when every probe gives 0.
void PageMgr_SetQueuedProbe(uint8_t pageBit, int32_t (*queued)());

// One GUI pass of the manager: every fourth runs the main machine. Returns 0.
int32_t PageMgr_Tick();
int32_t PageMgr_Start(StepRow* row, uint32_t event);
int32_t PageMgr_Run(StepRow* row, uint32_t event);

int32_t HomePageFsm_Idle(StepRow* row, uint32_t event);
int32_t HomePageFsm_Active(StepRow* row, uint32_t event);
int32_t HomePageFsm_Run();
int32_t SimplePageFsm_Idle(StepRow* row, uint32_t event);
int32_t SimplePageFsm_Active(StepRow* row, uint32_t event);
int32_t SimplePageFsm_Run();
int32_t CalPageFsm_Idle(StepRow* row, uint32_t event);
int32_t CalPageFsm_Active(StepRow* row, uint32_t event);
int32_t CalPageFsm_Run();
int32_t MenuPageFsm_Idle(StepRow* row, uint32_t event);
int32_t MenuPageFsm_Active(StepRow* row, uint32_t event);
int32_t MenuPageFsm_Run();
int32_t SeqSimPageFsm_Idle(StepRow* row, uint32_t event);
int32_t SeqSimPageFsm_Active(StepRow* row, uint32_t event);
int32_t SeqSimPageFsm_Run();

// Display-copy refreshers: A and C give 1 when nothing had to be copied (C also while the meter is
// frozen), 0 when something was; MeasBlock gives 1.
int32_t Chg_CacheWordsA();
int32_t Chg_MeasBlock();
int32_t Chg_CacheWordsC();
void Chg_All();

namespace panel {
// Every machine back at its start, no page built, the counters at 0 (tests; the registered pages stay).
// Tests start each case from a clean state through it.
void PageMgrReset();
}  // namespace panel
