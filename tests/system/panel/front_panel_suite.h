#pragma once
// A suite's controller with --text-log on a fresh root: keys and the knob through the panel channel, one
// SCPI client on the LAN socket, and what the panel drew (the text log and ROOT/dev/fb0). Every wait is
// bounded and polls.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/controller_process.h"
#include "tests/support/tcp_client.h"
#include "tests/system/controller_fixture.h"

namespace testsupport {

// Key events a panel line makes: one per key or long press, one per 127 knob detents; other lines none.
inline int KeyEventsOf(const std::string& line) {
    std::istringstream in(line);
    std::string verb, arg;
    in >> verb >> arg;
    if (verb == "key" || verb == "hold") return 1;
    if (verb != "knob") return 0;
    const int detents = std::abs(std::atoi(arg.c_str()));
    return (detents + 126) / 127;
}

// Field n (0 first) of a comma-separated reply, "" when it has fewer.
inline std::string Field(const std::string& reply, size_t n) {
    std::istringstream in(reply);
    std::string field;
    for (size_t i = 0; i <= n; ++i)
        if (!std::getline(in, field, ',')) return "";
    return field;
}

// Types a line into a controller's panel channel. A key or knob line returns once the menu/control thread
// has taken all its events (it reports each as "MenuThread: key code"), and not before 250 ms: the panel
// holds one key event at a time and drops a key pressed while it is full, which a slow controller would
// otherwise see. A key the key thread refuses is not taken: its wait ends at the bound, and the caller's own
// checks tell.
inline bool TypeLine(const ControllerProcess& p, const std::string& line, int boundMs = 10000) {
    const auto start = std::chrono::steady_clock::now();
    const auto taken = [&p] { return CountOf(p.Output(), "MenuThread: key code "); };
    const size_t want = taken() + static_cast<size_t>(KeyEventsOf(line));
    if (!PanelLine(p.root(), line)) return false;
    for (int waited = 0; waited <= boundMs && taken() < want; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_until(start + std::chrono::milliseconds(250));
    return true;
}

class FrontPanelSuite : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        controller_ = std::make_unique<ControllerProcess>(std::vector<std::string>{"--text-log"});
        ASSERT_TRUE(controller_->WaitForOutput("GuiThread: system ready", kStartupTimeoutMs))
            << controller_->Output();
        ASSERT_TRUE(controller_->WaitForOutput(
            "LAN: SCPI socket listening on port " + std::to_string(5025 + controller_->portOffset()),
            kStartupTimeoutMs))
            << controller_->Output();
        client_ = std::make_unique<TcpClient>(5025 + controller_->portOffset());
    }
    static void TearDownTestSuite() {
        client_.reset();
        EXPECT_EQ(controller_->Stop(SIGTERM), 0) << controller_->Output();
        controller_.reset();
    }
    // Each scene starts with the panel caught up with the scene before it (a remote mode change's page,
    // its popups): a key pressed meanwhile can find the old page.
    void SetUp() override {
        ASSERT_TRUE(c().Running()) << c().Output();
        ASSERT_TRUE(Sync()) << c().Output();
    }
    static ControllerProcess& c() { return *controller_; }

    static std::string ReadFile(const std::string& path) { return FileText(path); }
    // How often text stands in the controller's output so far.
    static size_t Count(const std::string& text) { return CountOf(c().Output(), text); }
    // Waits until the popup text has been shown n times in all, so that an earlier scene's popup of the
    // same text does not count as this one's.
    static bool Shown(const std::string& text, size_t n, int boundMs = 10000) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            if (Count("popup: " + text + "\n") >= n) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    static std::string TextLog() { return ReadFile(c().root() + "/var/log/gui-text.log"); }
    // What the log holds from here on is what WaitLogged looks at.
    static void Mark() { mark_ = TextLog().size(); }
    static std::string TextLogSinceMark() {
        const std::string log = TextLog();
        return log.size() > mark_ ? log.substr(mark_) : "";
    }
    // The text of a log line drawn at (x, y), or false. A line is "x y align colour font text".
    static bool TextAt(const std::string& line, int x, int y, std::string* text) {
        std::istringstream in(line);
        int lx = 0, ly = 0;
        std::string align, colour, font;
        if (!(in >> lx >> ly >> align >> colour >> font) || lx != x || ly != y) return false;
        std::getline(in, *text);
        if (!text->empty() && text->front() == ' ') text->erase(0, 1);
        return true;
    }
    // Waits until a text drawn at (x, y) since the mark is text ('\n' logged as "\\n"), or begins with it
    // when prefix is set.
    static bool WaitLogged(int x, int y, const std::string& text, bool prefix = false, int boundMs = 10000) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            std::istringstream lines(TextLogSinceMark());
            std::string drawn;
            for (std::string line; std::getline(lines, line);)
                if (TextAt(line, x, y, &drawn) && (prefix ? drawn.rfind(text, 0) == 0 : drawn == text)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // The popup's text, one line or two, since the mark.
    static bool Popup(const std::string& text, int boundMs = 10000) {
        return WaitLogged(365, text.find("\\n") == std::string::npos ? 190 : 175, text, false, boundMs);
    }

    static bool Panel(const std::string& line) { return TypeLine(c(), line); }
    // SHIFT then PRESET: the panel back in local after a SCPI message.
    static void Local() { Keys({"key S", "key N"}); }
    // Keys one after the other.
    static void Keys(std::initializer_list<const char*> lines) {
        for (const char* l : lines)
            ASSERT_TRUE(Panel(l)) << l;
    }

    // Sends "sync" and waits for its answer, "panel: synced", one more time in the output than before.
    static bool Sync(int boundMs = 10000) {
        auto answers = [] { return CountOf(c().Output(), "panel: synced\n"); };
        const size_t before = answers();
        if (!PanelLine(c().root(), "sync")) return false;
        for (int waited = 0; waited <= boundMs; waited += 20) {
            if (answers() > before) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    static void Send(const std::string& m) { client_->Send(m + "\n"); }
    // Sends a program message (no query, no error) and returns once it has run with the panel back in
    // local, so that keys after it are taken however slow the controller is.
    static void SendLocal(const std::string& m) { ASSERT_EQ(Ask(m + ";:SYST:COMM:RLST LOC;RLST?"), "LOC") << m; }
    static std::string Ask(const std::string& m) {
        Send(m);
        std::string line = client_->ReadLine(15000);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        return line;
    }
    // A query that hands the panel back to local, so that the keys after it are taken.
    static std::string Query(const std::string& q) { return Ask(q + ";:SYST:COMM:RLST LOC"); }

    // Asks the simulated stage until its last answer for register reg says it applied want (bounded).
    static bool StageHas(int reg, const std::string& want) {
        const std::string line = "reg " + std::to_string(reg) + " = " + want + " written ";
        for (int tries = 0; tries < 40; ++tries) {
            if (!Panel("reg " + std::to_string(reg))) return false;
            const std::string out = c().Output();
            const size_t last = out.rfind("reg " + std::to_string(reg) + " = ");
            if (last != std::string::npos && out.compare(last, line.size(), line) == 0) return true;
        }
        return false;
    }
    static uint16_t Pixel(int x, int y) { return FramebufferPixel(c().root(), x, y); }
    // The pixels of a box (corners included), row by row, all read from one copy of the screen.
    static std::vector<uint16_t> Box(int x0, int y0, int x1, int y1) {
        std::ifstream fb(c().root() + "/dev/fb0", std::ios::binary);
        std::vector<unsigned char> screen(800 * 480 * 2);
        fb.read(reinterpret_cast<char*>(screen.data()), static_cast<std::streamsize>(screen.size()));
        std::vector<uint16_t> box;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const size_t at = 2 * (800 * static_cast<size_t>(y) + static_cast<size_t>(x));
                box.push_back(static_cast<uint16_t>(screen[at] | screen[at + 1] << 8));
            }
        return box;
    }
    static int CountColour(int x0, int y0, int x1, int y1, uint16_t colour) {
        const std::vector<uint16_t> box = Box(x0, y0, x1, y1);
        return static_cast<int>(std::count(box.begin(), box.end(), colour));
    }
    // Waits until the box holds at least `least` pixels of the colour (least 0: until it holds none).
    static bool WaitColour(int x0, int y0, int x1, int y1, uint16_t colour, int least, int boundMs = 10000) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            const int n = CountColour(x0, y0, x1, y1, colour);
            if (least == 0 ? n == 0 : n >= least) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    static bool WaitPixel(int x, int y, uint16_t want, int boundMs = 10000) {
        return WaitFramebufferPixel(c().root(), x, y, want, boundMs);
    }
    // Waits until a file holds want (the whole text).
    static bool WaitFile(const std::string& path, const std::string& want, int boundMs = 10000) {
        for (int waited = 0; waited <= boundMs; waited += 20) {
            if (ReadFile(path) == want) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    // The lamp word the simulated panel controller was sent last, one line.
    static std::string Lamps() { return c().root() + "/var/run/panel-lamps"; }
    static bool WaitLamps(const std::string& word) { return WaitFile(Lamps(), word + "\n"); }

  private:
    static inline std::unique_ptr<ControllerProcess> controller_;
    static inline std::unique_ptr<TcpClient> client_;
    static inline size_t mark_ = 0;
};

}  // namespace testsupport
