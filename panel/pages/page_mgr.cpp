#include "panel/pages/page_mgr.h"

#include <bit>
#include <iterator>

#include "GUI/wm/wm.h"
#include "core/control/measure/meas_records.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "engine/seqsim/seqsim_mode.h"
#include "platform/panel_channel/panel_sync.h"

std::atomic<uint8_t> g_PagesCreated{0};
uint32_t g_PagePassCount = 0;
uint32_t g_MeasGroupSel = 0;

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// A page not registered: nothing on screen, but its bit is set so the build goes on.
template <uint8_t Bit>
void MarkOnly() {
    g_PagesCreated.fetch_or(Bit, kRelaxed);
}
void Nothing() {}
template <uint8_t Bit>
constexpr PageDesc kBlank{MarkOnly<Bit>, Nothing, Nothing, Nothing, Nothing};

PageSet g_pages{&kBlank<kPageBitHome>, &kBlank<kPageBitSimple>, &kBlank<kPageBitOverlay>,
                &kBlank<kPageBitCal>,  &kBlank<kPageBitMenu>,   &kBlank<kPageBitSeqSim>};

// Rows 0, 3, 4 and 5 do nothing; row 1 is the idle handler, row 2 the active one.
#define PAGE_ROWS(idle, active)                                                                      \
    {{0, 0, StepRowIdle}, {0, 0, idle}, {0, 0, active}, {0, 0, StepRowIdle}, {0, 0, StepRowIdle}, \
     {0, 0, StepRowIdle}}

StepRow g_mainRows[kStepRows] = PAGE_ROWS(PageMgr_Start, PageMgr_Run);
StepRow g_homeRows[kStepRows] = PAGE_ROWS(HomePageFsm_Idle, HomePageFsm_Active);
StepRow g_simpleRows[kStepRows] = PAGE_ROWS(SimplePageFsm_Idle, SimplePageFsm_Active);
StepRow g_calRows[kStepRows] = PAGE_ROWS(CalPageFsm_Idle, CalPageFsm_Active);
StepRow g_menuRows[kStepRows] = PAGE_ROWS(MenuPageFsm_Idle, MenuPageFsm_Active);
StepRow g_seqSimRows[kStepRows] = PAGE_ROWS(SeqSimPageFsm_Idle, SeqSimPageFsm_Active);
#undef PAGE_ROWS

StepObj g_mainFsm{1, 1, g_mainRows};
StepObj g_homeFsm{1, 1, g_homeRows};
StepObj g_simpleFsm{1, 1, g_simpleRows};
StepObj g_calFsm{1, 1, g_calRows};
StepObj g_menuFsm{1, 1, g_menuRows};
StepObj g_seqSimFsm{1, 1, g_seqSimRows};

bool IsPageId(uint32_t id) {
    return id == kPageIdHome || id == kPageIdSimple || id == kPageIdMenu || id == kPageIdCal ||
           id == kPageIdSeq || id == kPageIdSim || id == kPageIdSeqSimAlt;
}
// The page a menu state names: its own id, or the calibration page for a point or the default
// confirmation, which a remote calibration start can enter straight from another page; a state the
// manager saw pass by too quickly (the list, then a point) must not leave the calibration without its page.
uint32_t PageOfState(uint32_t state) {
    return IsCalibrationState(state) && state != kMenuCalibration ? kPageIdCal : state;
}
bool IsSeqSimId(uint32_t id) {
    return id == kPageIdSeq || id == kPageIdSim || id == kPageIdSeqSimAlt;
}

bool MeterFrozen() {
    return (g_ParamFlags.load(kRelaxed) & core::kFlagMeterHold) != 0;
}

uint32_t Bits(float v) {
    return std::bit_cast<uint32_t>(v);
}

// Copies the cache words from the live words (record by record) when any of them differs; 1 when none did.
int32_t CopyWords(int cacheRec, const int* cacheWords, int liveRec, const int* liveWords, int n) {
    bool differs = false;
    for (int i = 0; i < n; ++i)
        differs |= Bits(g_DispCache[cacheRec].Get(cacheWords[i])) != Bits(g_MeasLive[liveRec].Get(liveWords[i]));
    if (!differs) return 1;
    for (int i = 0; i < n; ++i)
        g_DispCache[cacheRec].Set(cacheWords[i], g_MeasLive[liveRec].Get(liveWords[i]));
    return 0;
}

// The word groups of the rotating refresh, numbered alike in the live record and its display copy.
struct WordGroup {
    const int* words;
    int n;
};
constexpr int kGroup0[] = {18};
constexpr int kGroup1[] = {30, 31, 32, 43, 44, 45};
constexpr int kGroup2[] = {34, 35, 37, 38, 42};
constexpr int kGroup3[] = {25, 47, 48, 51, 52, 53, 54};
constexpr int kGroup3b[] = {61, 62, 63};

void RefreshGroup(int rec, const int* words, int n) {
    bool differs = false;
    for (int i = 0; i < n; ++i)
        differs |= g_DispCache[rec].Get(words[i]) != g_MeasLive[rec].Get(words[i]);
    if (!differs) return;
    for (int i = 0; i < n; ++i)
        g_DispCache[rec].Set(words[i], g_MeasLive[rec].Get(words[i]));
}

// Refreshes of the display copy before a page's show and before its update.
enum Refresh { kRefreshNone, kRefreshAll, kRefreshAC, kRefreshA, kRefreshMeas };
void RunRefresh(Refresh r) {
    switch (r) {
        case kRefreshAll:
            Chg_CacheWordsA();
            Chg_CacheWordsC();
            Chg_MeasBlock();
            break;
        case kRefreshAC:
            Chg_CacheWordsA();
            Chg_CacheWordsC();
            break;
        case kRefreshA:
            Chg_CacheWordsA();
            break;
        case kRefreshMeas:
            Chg_MeasBlock();
            break;
        case kRefreshNone:
            break;
    }
}

// The machines of home, simple, calibration and menu differ only in id, page and refreshes.
int32_t PlainIdle(StepRow* row, uint32_t event, uint32_t id, const PageDesc* page, Refresh beforeShow) {
    if (event == 1 && g_PageId.load() == id) {
        RunRefresh(beforeShow);
        page->show();
        StepObjPostState(2, 2, row);
    }
    return static_cast<int32_t>(event);
}

int32_t PlainActive(StepRow* row, uint32_t event, uint32_t id, const PageDesc* page, Refresh beforeUpdate) {
    if (event == 2) {
        RunRefresh(beforeUpdate);
        page->update();
        if (g_PageId.load() != id) StepObjPostMsg(3, row);
    } else if (event == 3) {
        page->hide();
        StepObjPostState(1, 1, row);
    }
    return static_cast<int32_t>(event);
}

// One probe per page bit (bits 0-5).
std::atomic<int32_t (*)()> g_queuedProbe[6]{};

bool PagesQueuedNothing() {
    for (auto& probe : g_queuedProbe) {
        int32_t (*queued)() = probe.load(std::memory_order_acquire);
        if (queued != nullptr && queued() != 0) return false;
    }
    return true;
}

// Nothing on its way to the screen: no key event waiting, no window invalid, nothing queued by a page.
bool PanelQuiet() {
    return KeyEventWaiting() == 0 && WM_State.numInvalid == 0 && PagesQueuedNothing();
}

bool HidePosted(const StepObj& fsm) {
    return fsm.rows[2].msg.load(std::memory_order_acquire) == 3;
}

// The page machines in order; one that has hidden its page, or has its hide posted, ends the pass.
void RunPages() {
    if (HomePageFsm_Run() == 3 || HidePosted(g_homeFsm)) return;
    if (SimplePageFsm_Run() == 3 || HidePosted(g_simpleFsm)) return;
    if (CalPageFsm_Run() == 3 || HidePosted(g_calFsm)) return;
    if (MenuPageFsm_Run() == 3 || HidePosted(g_menuFsm)) return;
    SeqSimPageFsm_Run();
}

// The order pages are built in after home, with their bits.
struct BuildStep {
    uint8_t bit;
    const PageDesc* PageSet::*page;
};
constexpr BuildStep kBuildOrder[] = {{kPageBitHome, &PageSet::home},
                                     {kPageBitSimple, &PageSet::simple},
                                     {kPageBitCal, &PageSet::cal},
                                     {kPageBitMenu, &PageSet::menu},
                                     {kPageBitSeqSim, &PageSet::seqsim}};

}  // namespace

void PageMgr_SetPages(const PageSet& pages) {
    const PageSet blank{&kBlank<kPageBitHome>, &kBlank<kPageBitSimple>, &kBlank<kPageBitOverlay>,
                        &kBlank<kPageBitCal>,  &kBlank<kPageBitMenu>,   &kBlank<kPageBitSeqSim>};
    g_pages.home = pages.home ? pages.home : blank.home;
    g_pages.simple = pages.simple ? pages.simple : blank.simple;
    g_pages.overlay = pages.overlay ? pages.overlay : blank.overlay;
    g_pages.cal = pages.cal ? pages.cal : blank.cal;
    g_pages.menu = pages.menu ? pages.menu : blank.menu;
    g_pages.seqsim = pages.seqsim ? pages.seqsim : blank.seqsim;
}

void PageMgr_SetQueuedProbe(uint8_t pageBit, int32_t (*queued)()) {
    for (size_t i = 0; i < std::size(g_queuedProbe); ++i)
        if (pageBit == (1u << i)) g_queuedProbe[i].store(queued, std::memory_order_release);
}

int32_t PageMgr_Tick() {
    g_PagePassCount = (g_PagePassCount + 1) % 4;
    if (g_PagePassCount == 0) StepObjRun(&g_mainFsm);
    return 0;
}

int32_t PageMgr_Start(StepRow* row, uint32_t event) {
    if (event != 1) return static_cast<int32_t>(event);
    g_HomePage.eachAll.store(0, kRelaxed);
    SetLcdAdjust0(IfaceLcdByte(0));
    SetLcdAdjust1(IfaceLcdByte(1));
    SetLcdAdjust2(IfaceLcdByte(2));
    Chg_All();
    g_PagesCreated.store(0, kRelaxed);
    g_pages.home->create();
    g_pages.home->hide();
    g_pages.home->show();
    g_PagesCreated.fetch_or(kPageBitHome, kRelaxed);
    StepObjPostState(2, 2, row);
    return static_cast<int32_t>(event);
}

int32_t PageMgr_Run(StepRow* row, uint32_t event) {
    if (event == 2) {
        const uint8_t created = g_PagesCreated.load(kRelaxed);
        for (const BuildStep& step : kBuildOrder) {
            if ((created & step.bit) == 0) {
                (g_pages.*step.page)->create();
                return static_cast<int32_t>(event);
            }
        }
        if ((created & kPageBitOverlay) != 0)
            StepObjPostMsg(3, row);
        else
            g_pages.overlay->create();
    } else if (event == 3) {
        const uint32_t page = PageOfState(g_MenuState.load(kRelaxed));
        if (IsPageId(page) && page != g_PageId.load()) g_PageId.store(page);
        if ((g_PagesCreated.load(kRelaxed) & kPageBitOverlay) != 0) g_pages.overlay->update();
        // A machine that has hidden its page, or has its hide posted, ends the pass: the next page shows
        // only on the pass after the hide, never beside the page it replaces.
        RunPages();
        plat::PanelSyncPageUpdated(PanelQuiet());
    }
    return static_cast<int32_t>(event);
}

int32_t HomePageFsm_Idle(StepRow* row, uint32_t event) {
    return PlainIdle(row, event, kPageIdHome, g_pages.home, kRefreshAll);
}
int32_t HomePageFsm_Active(StepRow* row, uint32_t event) {
    return PlainActive(row, event, kPageIdHome, g_pages.home, kRefreshAll);
}
int32_t HomePageFsm_Run() {
    return StepObjRun(&g_homeFsm);
}

int32_t SimplePageFsm_Idle(StepRow* row, uint32_t event) {
    return PlainIdle(row, event, kPageIdSimple, g_pages.simple, kRefreshAll);
}
int32_t SimplePageFsm_Active(StepRow* row, uint32_t event) {
    return PlainActive(row, event, kPageIdSimple, g_pages.simple, kRefreshAll);
}
int32_t SimplePageFsm_Run() {
    return StepObjRun(&g_simpleFsm);
}

int32_t CalPageFsm_Idle(StepRow* row, uint32_t event) {
    return PlainIdle(row, event, kPageIdCal, g_pages.cal, kRefreshAC);
}
int32_t CalPageFsm_Active(StepRow* row, uint32_t event) {
    return PlainActive(row, event, kPageIdCal, g_pages.cal, kRefreshA);
}
int32_t CalPageFsm_Run() {
    return StepObjRun(&g_calFsm);
}

int32_t MenuPageFsm_Idle(StepRow* row, uint32_t event) {
    return PlainIdle(row, event, kPageIdMenu, g_pages.menu, kRefreshAC);
}
int32_t MenuPageFsm_Active(StepRow* row, uint32_t event) {
    return PlainActive(row, event, kPageIdMenu, g_pages.menu, kRefreshMeas);
}
int32_t MenuPageFsm_Run() {
    return StepObjRun(&g_menuFsm);
}

// The SEQ/SIM page shows only once its engine is ready, after its enter: its events run one higher.
int32_t SeqSimPageFsm_Idle(StepRow* row, uint32_t event) {
    if (event == 1) {
        if (IsSeqSimId(g_PageId.load()) && SeqSimRunStateIsStop() == 1) {
            g_pages.seqsim->enter();
            StepObjPostMsg(2, row);
        }
    } else if (event == 2) {
        g_pages.seqsim->show();
        StepObjPostState(2, 3, row);
    }
    return static_cast<int32_t>(event);
}
int32_t SeqSimPageFsm_Active(StepRow* row, uint32_t event) {
    if (event == 3) {
        if (IsSeqSimId(g_PageId.load())) {
            RunRefresh(kRefreshAll);
            g_pages.seqsim->update();
        } else {
            StepObjPostMsg(4, row);
        }
    } else if (event == 4) {
        g_pages.seqsim->hide();
        StepObjPostState(1, 1, row);
    }
    return static_cast<int32_t>(event);
}
int32_t SeqSimPageFsm_Run() {
    return StepObjRun(&g_seqSimFsm);
}

int32_t Chg_CacheWordsA() {
    static constexpr int kCache[] = {11, 12};
    static constexpr int kLive[] = {70, 71};
    return CopyWords(1, kCache, 1, kLive, 2);
}

int32_t Chg_CacheWordsC() {
    if (MeterFrozen()) return 1;
    static constexpr int kCache0[] = {19};
    static constexpr int kLive0[] = {3};
    static constexpr int kCache1[] = {14};
    static constexpr int kLive1[] = {73};
    const bool differs = Bits(g_DispCache[0].Get(19)) != Bits(g_MeasLive[1].Get(3)) ||
                         Bits(g_DispCache[1].Get(14)) != Bits(g_MeasLive[1].Get(73));
    if (!differs) return 1;
    CopyWords(0, kCache0, 1, kLive0, 1);
    CopyWords(1, kCache1, 1, kLive1, 1);
    return 0;
}

int32_t Chg_MeasBlock() {
    static constexpr WordGroup kGroups[4] = {{kGroup0, 1}, {kGroup1, 6}, {kGroup2, 5}, {kGroup3, 7}};
    for (int rec = 0; rec < kMeasRows; ++rec) {
        if (MeterFrozen()) return 1;
        const WordGroup& g = kGroups[g_MeasGroupSel];
        RefreshGroup(rec, g.words, g.n);
        if (g_MeasGroupSel == 3) RefreshGroup(rec, kGroup3b, 3);
        g_MeasGroupSel = (g_MeasGroupSel + 1) % 4;
    }
    return 1;
}

void Chg_All() {
    Chg_CacheWordsA();
    Chg_MeasBlock();
    Chg_CacheWordsC();
}

namespace panel {
void PageMgrReset() {
    for (StepObj* fsm : {&g_mainFsm, &g_homeFsm, &g_simpleFsm, &g_calFsm, &g_menuFsm, &g_seqSimFsm})
        StepObjRewind(fsm, 1, 1);
    g_PagesCreated.store(0, kRelaxed);
    g_PagePassCount = 0;
    g_MeasGroupSel = 0;
    g_PageId.store(kPageNone);
}
}  // namespace panel
