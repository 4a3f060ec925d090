#pragma once
// The popup machine stepped as the GUI thread steps it, for tests below the panel that look at whether a
// popup held until closed is on screen.
#include "panel/popup/msg_popup_fsm.h"

namespace testsupport {

// Enough main passes for a posted message to come up, or for a close to take effect.
inline void PopupPasses(int passes = 5) {
    for (int i = 0; i < passes; ++i)
        MsgPopupFsm_Step();
}

}  // namespace testsupport
