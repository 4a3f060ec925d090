#pragma once
// What the overlay last painted, and the once-per-main-pass bringing up to date of its layout, soft keys
// and value windows. GUI thread only.
#include <atomic>
#include <cstdint>

#include "panel/overlay/overlay_layout.h"

inline constexpr uint32_t kOverlayStateUnset = 0xFFFFFFFFu;

struct OverlayTrack {
    const OverlayLayoutRow* row = nullptr;  // current layout row, null for none
    uint32_t state = kOverlayStateUnset;    // tracked menu state
    // The edit words as last painted.
    uint32_t editValue = 0;    // g_EditBuf.choiceValue
    uint32_t cursor = 0;       // g_EditParam.cursor
    int32_t workValue = 0;     // g_EditParam.workValue
    uint32_t typedCursor = 0;  // g_EditBuf.choiceCursor
    uint32_t entryState = 0;   // g_EditBuf.entryState
    float entryNumber = 0;     // g_EditBuf.entryValue
    // Copies of the change checks.
    int32_t def1 = 0;
    int32_t def2 = 0;
    uint32_t rangeCode = 0;
    uint32_t cfgChoice = 0;
    uint32_t dialogChoice = 0;
    int32_t ipkMode = 0;
    int32_t irmsMode = 0;
    int32_t phaseState = 0;
    int32_t balanceMode = 0;
    int32_t relock = 0;
};
extern OverlayTrack g_OverlayTrack;

// The edit buffer's one-shot word: an editor sets it above 0 to have the typed-digit cursor cleared on the
// next paint of the settings-panel item. The GUI thread clears the cursor of its copy (g_EditShown) only: the
// buffer's own is the editor's to clear, on its own thread.
extern std::atomic<uint32_t> g_EditCursorResetWord;
void EditCursorResetOnce();

void Overlay_CheckDefaults();
void Overlay_CheckStateValues();
void Overlay_CheckRange();

namespace panel {
// Switches the layout when the menu state changed, else repaints what the checks and the edit words
// show changed.
void OverlayLayoutStep();
// The tracked state unset again and no row (a fresh overlay).
void OverlayTrackReset();
}  // namespace panel
