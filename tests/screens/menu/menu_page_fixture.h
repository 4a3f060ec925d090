#pragma once
// The MENU page built on the test framebuffer over a factory-default store, stepped one update at a time
// as the page manager drives it, with the text log of what it draws.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "tests/screens/screen_text.h"

namespace menutest {

// A fresh screen, store and LAN record (no addresses in effect), the page created and shown on state 94 and
// left to settle.
void StartPage();
void StopPage();
// One update pass on the state given (the edit words published as the menu/control thread leaves them),
// then the window manager's pass.
void Step(uint32_t state, int passes = 1);
// The text log from its start, and the part written since the last call of TakeLog.
std::string TakeLog();
// What the passes on `state` drew, and nothing logged before them.
inline std::string StepLog(uint32_t state, int passes) {
    TakeLog();
    Step(state, passes);
    return TakeLog();
}
// True when the log text holds the line "x y align colour font text" with this anchor, colour and text.
inline bool Logged(const std::string& log, int x, int y, const char* colour, const char* text) {
    return screentext::Logged(log, x, y, text, colour);
}
// A line the log must hold, and why when it is not plain.
struct LogLine {
    int x, y;
    const char* colour;
    const char* text;
    const char* why = "";
};
inline void ExpectLogged(const std::string& log, std::initializer_list<LogLine> lines) {
    for (const LogLine& l : lines)
        EXPECT_TRUE(Logged(log, l.x, l.y, l.colour, l.text)) << l.text << " " << l.why << "\n" << log;
}
// The whole page compared with a golden picture.
void ExpectPage(const char* golden);
// Stores a value as an older store or a file may hold it, past the setters' checks.
void SetParam(uint32_t id, int32_t value);

}  // namespace menutest
