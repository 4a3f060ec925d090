#include "tests/panel/popup/popup_fixture.h"

#include "core/system/messaging/msg_ring.h"
#include "panel/popup/msg_popup_fsm.h"

namespace popuptest {

void ResetPopup() {
    MsgQueue_Clear();
    for (auto& id : g_MsgRing.ids)
        id.store(0);
    g_MsgFreeText[0] = '\0';
    g_MsgPopup.flags.store(0);
    g_MsgPopup.hold.store(0);
    g_MsgPopup.id.store(0);
    core::MsgPopupWriteText("");
    StepObjRewind(&g_MsgPopup.fsm, 1, kPopupStart);
}

bool StepUntilShown(int passes) {
    for (int i = 0; i < passes && !MsgPopup_IsShown(); ++i)
        MsgPopupFsm_Step();
    return MsgPopup_IsShown() != 0;
}

std::string PopupText() {
    char text[1024];
    MsgPopup_Text(text, sizeof text);
    return text;
}

}  // namespace popuptest
