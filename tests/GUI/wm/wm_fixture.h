#pragma once
// A fresh graphics library on a recording display (800x480, class 0) and a paint callback that logs
// every message it gets with the clip rectangle of that moment.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "GUI/gui.h"
#include "GUI/wm/wm.h"

namespace guitest {

struct Event {
    WM_HWINDOW h;
    int32_t id;
    GUI_BOX clip;
};
extern std::vector<Event> g_log;
// Runs inside the logging callback after the message was logged.
extern std::function<void(WM_MSG_RECORD*)> g_onMessage;
extern const GUI_DEV_API kRecordingDisplay;

void LogMessages(WM_MSG_RECORD* msg);
// Pool of poolBytes, recording display, window manager with its desktop painted; the log emptied.
void FreshGui(uint32_t poolBytes = 0x200000);
// A test on a fresh library with the recording display.
struct GuiTest : ::testing::Test {
    void SetUp() override { FreshGui(); }
};
// The log entries of one window with one message id.
std::vector<Event> Logged(WM_HWINDOW h, int32_t id);

}  // namespace guitest
