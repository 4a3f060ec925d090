#pragma once
// The MENU page's own words that the list keys below the screens act on: the Save/Recall selections and
// the page of the MISC list on show. The menu page's editors set them; the page reads them to draw.
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> SaveRecallType;  // 0 PRESET, 1 SEQUENCE, 2 SIMULATE, 3 ARB, 4 All Data
extern std::atomic<uint32_t>
    SaveRecallAction;  // 0 save to USB, 1 recall from USB, 2 delete, 3 save, 4 recall
extern std::atomic<uint32_t> SaveRecallMemory;   // 0..9, or 1..253 for ARB
extern std::atomic<uint32_t> g_MenuPreviewPage;  // page of the MISC list: 0 first, 1 second
