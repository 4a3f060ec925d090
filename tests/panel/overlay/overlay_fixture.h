#pragma once
// A fresh model-1 store and screen with the overlay made over a grey page, stepped by the page manager's
// passes, with every text a paint draws recorded with its screen anchor.
#include <cstdint>
#include <string>
#include <vector>

#include "GUI/wm/wm.h"
#include "tests/support/default_store.h"

namespace overlaytest {

struct DrawnText {
    std::string text;
    int x;
    int y;
};

class OverlayScreen {
  public:
    OverlayScreen();
    ~OverlayScreen();
    // One main pass: four GUI passes of the page manager, the window manager painting after each.
    void MainPass(int n = 1);
    // Enters the state (the edit words primed from its record, as its key does) and runs a main pass.
    void Enter(uint32_t state);
    // Texts drawn since the last clear.
    const std::vector<DrawnText>& Texts() const;
    bool Drew(const std::string& text, int x, int y) const;
    bool DrewStartingWith(const std::string& prefix, int x, int y) const;
    void ClearTexts();
};

}  // namespace overlaytest
