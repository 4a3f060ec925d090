#include "platform/devices/panel_sim.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>

#include "platform/host/root.h"

namespace plat {
namespace {

struct Press {
    uint16_t word;
    uint32_t reads;
};

struct PanelState {
    std::mutex lock;
    std::deque<Press> script;
    uint16_t heldWord = 0;
    uint8_t lamps = 0;
    uint8_t appRunning = 0;
    uint16_t status = 1;
    bool unresponsive = false;
    uint32_t keyReads = 0;
    uint32_t lampWrites = 0;
    uint32_t statusTries = 0;
};

PanelState& State() {
    static PanelState state;
    return state;
}

uint16_t NextKeyWord(PanelState& s) {
    while (!s.script.empty() && s.script.front().reads == 0)
        s.script.pop_front();
    if (s.script.empty()) return s.heldWord;
    Press& p = s.script.front();
    --p.reads;
    uint16_t word = p.word;
    if (p.reads == 0) s.script.pop_front();
    return word;
}

// A value as a person or a black-box test sees it: "0x.." in <root>/var/run/<name>, replaced whole so that a
// reader never sees half a write. Without the run folder (a unit test's bare root) nothing is written.
void PublishWord(const char* name, unsigned value) {
    const std::string path = MapPath(std::string("/var/run/") + name);
    if (path.empty()) return;
    const std::string tmp = path + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "w");
    if (f == nullptr) return;
    const bool ok = std::fprintf(f, "0x%X\n", value) > 0;
    if (std::fclose(f) != 0 || !ok || std::rename(tmp.c_str(), path.c_str()) != 0) std::remove(tmp.c_str());
}

// The status word a test sets through <root>/var/lib/sandbox/panel-status overrides the scripted one.
uint16_t StatusWord(const PanelState& s) {
    const std::string path = MapPath("/var/lib/sandbox/panel-status");
    FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "r");
    if (f == nullptr) return s.status;
    char text[32] = {};
    const size_t n = std::fread(text, 1, sizeof text - 1, f);
    std::fclose(f);
    text[n] = '\0';
    char* end = nullptr;
    const unsigned long v = std::strtoul(text, &end, 0);
    return end == text ? s.status : static_cast<uint16_t>(v);
}

}  // namespace

void PanelSimReset() {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    s.script.clear();
    s.heldWord = 0;
    s.lamps = 0;
    s.appRunning = 0;
    s.status = 1;
    s.unresponsive = false;
    s.keyReads = 0;
    s.lampWrites = 0;
    s.statusTries = 0;
}

void PanelSimPress(uint8_t code, uint32_t reads) {
    if (code == 0 || reads == 0) return;
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    s.script.push_back({static_cast<uint16_t>(code << 8), reads});
    // A release between two presses, so that two presses of one key are seen as two.
    s.script.push_back({0, 1});
}

void PanelSimKnob(int detents) {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    while (detents != 0) {
        int step = detents > 127 ? 127 : (detents < -127 ? -127 : detents);
        detents -= step;
        s.script.push_back({static_cast<uint16_t>((kKeyKnob << 8) | (static_cast<uint8_t>(step))), 1});
        s.script.push_back({0, 1});
    }
}

void PanelSimHold(uint8_t code) {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    s.heldWord = static_cast<uint16_t>(code << 8);
}

void PanelSimRelease() {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    s.heldWord = 0;
}

uint32_t PanelSimPending() {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    uint32_t n = 0;
    for (const Press& p : s.script)
        n += p.word != 0 && p.reads != 0;
    return n;
}

uint8_t PanelSimLamps() {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    return s.lamps;
}

uint8_t PanelSimAppRunning() {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    return s.appRunning;
}

void PanelSimSetStatus(uint16_t word) {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    s.status = word;
}

void PanelSimSetUnresponsive(bool on) {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    s.unresponsive = on;
}

uint32_t PanelSimLampWrites() {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    return s.lampWrites;
}

uint32_t PanelSimStatusTries() {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    return s.statusTries;
}

uint32_t PanelSimKeyReads() {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    return s.keyReads;
}

bool PanelSimTransfer(uint8_t* frame, uint32_t length) {
    PanelState& s = State();
    std::lock_guard<std::mutex> g(s.lock);
    if (frame == nullptr || length != 4) return false;
    // The controller speaks 32-bit words; on the little-endian host the word's byte 3 is the command.
    uint32_t word = frame[0] | (frame[1] << 8) | (frame[2] << 16) | (static_cast<uint32_t>(frame[3]) << 24);
    uint8_t command = static_cast<uint8_t>(word >> 24);
    s.statusTries += command == 0xF4;
    if (s.unresponsive) return false;
    uint16_t reply = 0;
    switch (command) {
        case 0xF0:
            ++s.keyReads;
            reply = NextKeyWord(s);
            break;
        case 0xF1:
            s.lamps = static_cast<uint8_t>(word & 0x0F);
            ++s.lampWrites;
            PublishWord("panel-lamps", s.lamps & 0x0Fu);
            break;
        case 0xF2:
            s.appRunning = static_cast<uint8_t>(word & 0x01);
            PublishWord("panel-aux", s.appRunning);
            break;
        case 0xF4:
            reply = StatusWord(s);
            break;
        default:
            break;
    }
    word = (word & 0xFFFF0000u) | reply;
    frame[0] = static_cast<uint8_t>(word);
    frame[1] = static_cast<uint8_t>(word >> 8);
    frame[2] = static_cast<uint8_t>(word >> 16);
    frame[3] = static_cast<uint8_t>(word >> 24);
    return true;
}

}  // namespace plat
