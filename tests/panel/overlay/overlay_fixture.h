#pragma once
// A fresh model-1 store and screen with the overlay made over a grey page, stepped by the page manager's
// passes, with every text a paint draws recorded with its screen anchor in drawn::g_texts.
#include <cstdint>

#include "tests/GUI/text_observer.h"
#include "tests/support/default_store.h"

namespace overlaytest {

class OverlayScreen {
  public:
    OverlayScreen();
    ~OverlayScreen();
    // One main pass: four GUI passes of the page manager, the window manager painting after each.
    void MainPass(int n = 1);
    // Enters the state (the edit words primed from its record, as its key does) and runs a main pass.
    void Enter(uint32_t state);
};

}  // namespace overlaytest
