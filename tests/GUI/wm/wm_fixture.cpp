#include "tests/GUI/wm/wm_fixture.h"

namespace guitest {

std::vector<Event> g_log;
std::function<void(WM_MSG_RECORD*)> g_onMessage;

namespace {

alignas(8) uint8_t g_pool[0x200000];

void ScreenRect(GUI_DEV*, GUI_BOX* rect) {
    *rect = {0, 0, 799, 479};
}

}  // namespace

const GUI_DEV_API kRecordingDisplay = [] {
    GUI_DEV_API api{};
    api.devClass = kGuiDevClassDriver;
    api.GetRect = ScreenRect;
    return api;
}();

void LogMessages(WM_MSG_RECORD* msg) {
    g_log.push_back({msg->hWin, msg->MsgId, GUI_Context.clipRect});
    if (g_onMessage) g_onMessage(msg);
    if (msg->MsgId != WM_MSG_PAINT) WM_DefaultHandler(msg);
}

void FreshGui(uint32_t poolBytes) {
    GUI_ALLOC_AssignPool(g_pool, poolBytes);
    GUI_ALLOC_SetBlockSizeHint(128);
    GUI_Context = GUI_DRAWCTX{};
    WM_State = WM_STATE{};
    GUI_DEV_NewAndInsert(&kRecordingDisplay, nullptr, 0, 0);
    GUI_InitContextDefaults(&GUI_Context);
    WM_Setup();
    WM_Run();
    g_log.clear();
    g_onMessage = nullptr;
}

std::vector<Event> Logged(WM_HWINDOW h, int32_t id) {
    std::vector<Event> out;
    for (const Event& e : g_log)
        if (e.h == h && e.id == id) out.push_back(e);
    return out;
}

}  // namespace guitest
