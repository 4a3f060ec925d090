#include "screens/menu/page/menu_page.h"

#include <atomic>

#include "core/control/barcode_table.h"
#include "core/control/measure/meas_records.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "engine/arb/arb_builder.h"
#include "panel/menu/menu_page_words.h"
#include "screens/menu/page/menu_page_cache.h"
#include "screens/menu/page/menu_page_ops.h"
#include "screens/menu/page/menu_windows.h"
#include "screens/menu/service/special_page.h"

using namespace menu;

MenuPageCache g_MenuPageCache{};

namespace {

constexpr uint32_t kStatePreviewDelay = 50;
constexpr uint32_t kMiscTopRow = kMenuMisc;
constexpr uint32_t kBarcodeFirst = kMenuBarcodeFirst, kBarcodeLast = kMenuBarcodeLast;
constexpr uint32_t kArbFirst = kMenuArbTriangleEdit, kArbLast = kMenuArbType;
constexpr uint32_t kArbTypeView = kMenuArbType;  // the type row of the waveform editor

const PageDesc* g_special = &SpecialPageDesc;
std::atomic<bool> g_previewPendingShown{false};

void RepaintSoftKeys() {
    for (int k = 0; k < 6; ++k)
        MenuWin_Repaint(kWinKey0 + k);
}

void CacheChoice() {
    g_MenuPageCache.cachedChoiceValue = g_EditShown.buf.choiceValue;
    g_MenuPageCache.cachedDigitCursor = g_EditShown.buf.choiceCursor;
}

// The range hint of the waveform editor's field states and the readouts of their ripple and ring fields.
void ArbRangeHint(uint32_t state) {
    if (state >= kArbFirst && state <= kArbLast && state % 2 == 1) {
        MenuWin_Show(kWinRangeHint);
        if (state == kMenuArbRippleLevelEdit || state == kMenuArbRippleVdcEdit) MenuWin_Show(kWinRippleVpp);
        if (state == kMenuArbLfRingBaseFreqEdit || state == kMenuArbLfRingStartEdit ||
            state == kMenuArbLfRingEndEdit)
            MenuWin_Show(kWinLfRingTime);
    } else if (MenuWin_Visible(kWinRangeHint)) {
        MenuWin_Hide(kWinRangeHint);
        MenuWin_Hide(kWinRippleVpp);
        MenuWin_Hide(kWinLfRingTime);
    }
}

void StateChanged(uint32_t state) {
    MenuPageCache& c = g_MenuPageCache;
    if (state == kMiscTopRow) {
        g_MenuPreviewPage.store(0, std::memory_order_relaxed);
        c.cachedPreviewPage = 0;
    }
    c.previewDelay = kStatePreviewDelay;
    if (c.previewPending == 0) {
        MenuWin_Repaint(kWinPreview);
        c.previewPending = 1;
    }
    MenuWin_Repaint(kWinHint);
    // A list switch leaves the cached state old, so the next pass comes here again and finds the list set.
    if (MenuPage_SelectList() == 0) {
        MenuPage_ShowCurrentList();
        MenuPage_RepaintCurrentRow();
        c.cachedState = state;
    }
    CacheChoice();
    RepaintSoftKeys();
    ArbRangeHint(state);
    if (state >= kArbFirst && state <= kArbLast) MenuPage_RepaintCurrentRow();
}

// The row of the value being edited follows its working value, choice or typed number.
bool EditRefresh() {
    MenuPageCache& c = g_MenuPageCache;
    const panel::EditView& e = g_EditShown;
    if (e.workValue != c.cachedWorkValue || e.cursor != c.cachedEditCursor) {
    } else if (e.buf.choiceValue != c.cachedChoiceValue || e.buf.choiceCursor != c.cachedDigitCursor) {
    } else if (e.buf.entryValue != c.cachedKeypadValue || e.buf.entryState != c.cachedKeypadState) {
    } else {
        return false;
    }
    MenuPage_RepaintCurrentRow();
    c.cachedWorkValue = e.workValue;
    c.cachedEditCursor = e.cursor;
    CacheChoice();
    c.cachedKeypadValue = e.buf.entryValue;
    c.cachedKeypadState = e.buf.entryState;
    return true;
}

void BarcodeTaught(uint32_t state) {
    // A panel teach (1) and a remote teach (2) both change a text the list shows.
    if (g_BarcodeTable.tableChanged.exchange(0, std::memory_order_acq_rel) == 0) return;
    if (state >= kBarcodeFirst && state <= kBarcodeLast) MenuWin_Repaint(ColumnWin(kColBarcode));
    MenuPage_RepaintCurrentRow();
}

void StateSteady(uint32_t state) {
    MenuPageCache& c = g_MenuPageCache;
    MenuPage_PreviewTick();
    if (state == kMiscTopRow) {
        const uint32_t page = g_MenuPreviewPage.load(std::memory_order_relaxed);
        if (page != c.cachedPreviewPage) {
            c.cachedPreviewPage = page;
            MenuWin_Repaint(kWinPreview);
            MenuWin_Repaint(kWinKey0);
            MenuWin_Repaint(kWinKey0 + 1);
        }
    }
    MenuPage_WatchSettings();
    if (!EditRefresh()) BarcodeTaught(state);
    // A type set remotely while the editor's type row is current: its labels, fields and table follow.
    const int32_t arbType = ArbBuild_GetType();
    if (arbType != c.cachedArbType) {
        c.cachedArbType = arbType;
        if (state == kArbTypeView) MenuPage_RepaintCurrentRow();
    }
    if (ArbBuild_PreviewChanged() != 0) {
        ArbBuild_GeneratePreview();
        MenuWin_Repaint(kWinArbPreview);
        MenuPage_RepaintCurrentRow();
        ArbBuild_ClearPreviewChanged();
    }
}

void PublishPreviewPending() {
    const MenuPageCache& c = g_MenuPageCache;
    g_previewPendingShown.store(MenuWin_Visible(kWinMain) && (c.previewPending != 0 || c.previewDelay != 0),
                                std::memory_order_release);
}

}  // namespace

void MenuPage_SetSpecialPage(const PageDesc* page) {
    g_special = page != nullptr ? page : &SpecialPageDesc;
}

const PageDesc& MenuPage_SpecialPage() {
    return *g_special;
}

void MenuPage_PreviewTick() {
    MenuPageCache& c = g_MenuPageCache;
    if (c.previewDelay != 0) {
        --c.previewDelay;
    } else if (c.previewPending == 1) {
        c.previewPending = 0;
        MenuWin_Repaint(kWinPreview);
    }
}

void MenuPage_Create() {
    g_MenuPageCache = MenuPageCache{};
    MenuWin_CreateAll([] { MenuPage_SpecialPage().create(); });
    // The panel is not caught up while a preview is still to come.
    PageMgr_SetQueuedProbe(kPageBitMenu, []() -> int32_t { return MenuPage_PreviewPending() ? 1 : 0; });
    g_PagesCreated.fetch_or(kPageBitMenu, std::memory_order_relaxed);
    g_PageId.store(kPageIdMenu);
}

void MenuPage_Enter() {
    MenuPageCache& c = g_MenuPageCache;
    c.cachedState = MenuPage_State();
    CacheChoice();
    c.previewPending = 1;
    MenuPage_ShowCurrentList();
}

void MenuPage_Show() {
    MenuPage_Enter();
    MenuPage_SelectList();
    MenuPage_ShowCurrentList();
    MenuPage_RepaintCurrentRow();
    MenuWin_Show(kWinMain);
    PublishPreviewPending();
}

void MenuPage_Hide() {
    g_MenuPageCache.cachedState = kMenuSystemInfo;
    MenuPage_SelectList();
    MenuPage_ShowCurrentList();
    MenuPage_RepaintCurrentRow();
    // A change to another page (a remote one) names no MENU list, so the selection above leaves the
    // special-function sub-page current: it goes with the page all the same.
    if (g_MenuPageCache.currentList == kMenuListSpecial) MenuPage_SpecialPage().hide();
    // Every window of the page that lies on the desktop itself, not only the main one.
    for (int w : {kWinMain, kWinArbTitle, kWinRangeHint, kWinArbBody})
        MenuWin_Hide(w);
    g_previewPendingShown.store(false, std::memory_order_release);
}

void MenuPage_Update() {
    MenuPage_WatchInterfaces();
    const uint32_t state = MenuPage_State();
    if (state != g_MenuPageCache.cachedState)
        StateChanged(state);
    else
        StateSteady(state);
    if (g_MenuPageCache.currentList == kMenuListSpecial) MenuPage_SpecialPage().update();
    PublishPreviewPending();
}

bool MenuPage_PreviewPending() {
    return g_previewPendingShown.load(std::memory_order_acquire);
}

const PageDesc MenuPageDesc{MenuPage_Create, MenuPage_Enter, MenuPage_Show, MenuPage_Hide, MenuPage_Update};
