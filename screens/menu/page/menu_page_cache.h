#pragma once
// What the MENU page last saw: the list on screen, the state and edit words of the last update, the
// interface and setting copies it compares against, and the preview pane's delay. GUI thread only.
#include <cstdint>

#include "GUI/wm/wm.h"
#include "panel/pages/page_mgr.h"

// The MISC settings, the seven Output Impedance values, Position, Enable and the four fieldbus settings.
inline constexpr int kMenuWatchedSettings = 34;

// Bits of MenuPageCache::flagBits.
enum MenuCacheFlag : uint32_t {
    kCacheLanLink = 1u << 3,
    kCacheDhcp = 1u << 4,
    kCacheUsbBit0 = 1u << 5,  // the three watched USB status bits
    kCacheRs232Enable = 1u << 15,
};

struct MenuPageCache {
    uint32_t flagBits;
    const WM_HWINDOW* lastRowWindow;  // the row value window shown last, null for none
    uint32_t currentList;             // 0-13
    uint32_t cachedState;
    double cachedKeypadValue;
    uint32_t cachedKeypadState;
    uint32_t cachedDigitCursor;
    uint32_t cachedChoiceValue;
    int32_t cachedWorkValue;
    uint32_t cachedEditCursor;
    uint32_t cachedLcdWord;
    uint32_t cachedGpibAddress;
    uint32_t previewPending;  // 1: the preview pane still has to be drawn with content
    uint32_t previewDelay;    // update passes left before the preview shows content
    uint32_t watched[kMenuWatchedSettings];
    uint32_t cachedPreviewPage;
    int32_t cachedArbType;  // the builder's type the waveform editor's labels were drawn for
};
extern MenuPageCache g_MenuPageCache;

// The special-function sub-page's five operations, which the page calls at the points it hands drawing
// over; the sub-page's own unless replaced (tests count the calls).
// Tests count the sub-page's calls through it.
void MenuPage_SetSpecialPage(const PageDesc* page);
const PageDesc& MenuPage_SpecialPage();
