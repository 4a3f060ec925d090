#include "platform/panel_channel/panel_channel.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sstream>
#include <vector>

#include "platform/devices/hid.h"
#include "platform/devices/panel_sim.h"
#include "platform/panel_channel/panel_alarm_verb.h"
#include "platform/panel_channel/panel_calstat_verb.h"
#include "platform/panel_channel/panel_sync.h"
#include "platform/panel_channel/panel_syncin_verb.h"

namespace plat {
namespace {

constexpr uint32_t kShortPressReads = 10;
constexpr uint32_t kLongPressReads = 450;

struct Verb {
    std::string name;
    PanelVerbHandler handler;
};
std::mutex g_verbLock;
std::vector<Verb> g_verbs;

bool ParseKey(const std::string& text, uint8_t* code) {
    if (text.size() == 1 && std::isprint(static_cast<unsigned char>(text[0]))) {
        *code = static_cast<uint8_t>(text[0]);
        return true;
    }
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < 1 || v > 255) return false;
    *code = static_cast<uint8_t>(v);
    return true;
}

int Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return -1;
}

void* ReaderThread(void* arg) {
    pthread_setname_np(pthread_self(), "PanelChannel");
    int fd = static_cast<int>(reinterpret_cast<intptr_t>(arg));
    std::string pending;
    char buf[256];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        pending.append(buf, static_cast<size_t>(n));
        size_t nl;
        while ((nl = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, nl);
            pending.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find_first_not_of(" \t") == std::string::npos) continue;
            std::string error;
            if (PanelChannelCommand(line, &error) != 0) {
                std::fprintf(stderr, "panel channel: %s: %s\n", line.c_str(), error.c_str());
            }
        }
        // A writer that never sends a line feed must not grow the buffer without bound.
        if (pending.size() > 4096) pending.clear();
    }
    close(fd);
    return nullptr;
}

}  // namespace

int PanelChannelCommand(const std::string& line, std::string* error) {
    std::istringstream in(line);
    std::string verb, arg, extra;
    in >> verb;
    std::getline(in, arg);
    size_t first = arg.find_first_not_of(" \t");
    arg = first == std::string::npos ? "" : arg.substr(first);
    while (!arg.empty() && (arg.back() == ' ' || arg.back() == '\t'))
        arg.pop_back();

    if (verb == "key" || verb == "hold" || verb == "down") {
        std::istringstream a(arg);
        std::string keyText;
        a >> keyText;
        uint8_t code = 0;
        if (!ParseKey(keyText, &code)) return Fail(error, "key must be one character or a code 1-255");
        uint32_t reads = verb == "key" ? kShortPressReads : kLongPressReads;
        std::string countText;
        if (a >> countText) {
            if (verb != "hold") return Fail(error, "unexpected argument '" + countText + "'");
            char* end = nullptr;
            long v = std::strtol(countText.c_str(), &end, 10);
            if (*end != '\0' || v < 1 || v > 100000) return Fail(error, "passes must be 1-100000");
            reads = static_cast<uint32_t>(v);
        }
        if (a >> extra) return Fail(error, "unexpected argument '" + extra + "'");
        if (verb == "down") {
            PanelSimHold(code);
        } else {
            PanelSimPress(code, reads);
        }
        return 0;
    }
    if (verb == "up" || verb == "release") {
        if (!arg.empty()) return Fail(error, "unexpected argument '" + arg + "'");
        PanelSimRelease();
        return 0;
    }
    if (verb == "knob") {
        char* end = nullptr;
        long v = std::strtol(arg.c_str(), &end, 10);
        if (arg.empty() || *end != '\0' || v == 0 || v < -1000 || v > 1000)
            return Fail(error, "knob needs a nonzero number of detents, -1000 to 1000");
        PanelSimKnob(static_cast<int>(v));
        return 0;
    }
    if (verb == "scan") {
        if (arg.empty()) return Fail(error, "scan needs a text");
        return HidSimTypeText(arg, error);
    }
    if (verb == "alarm") return PanelAlarmCommand(arg, error);
    if (verb == "calstat") return PanelCalStatCommand(arg, error);
    if (verb == "sync") return PanelSyncCommand(arg, error);
    if (verb == "syncin") return PanelSyncInCommand(arg, error);
    {
        std::lock_guard<std::mutex> g(g_verbLock);
        for (const Verb& v : g_verbs) {
            if (v.name == verb) return v.handler(arg, error);
        }
    }
    return Fail(error, "unknown command '" + verb + "'");
}

void PanelChannelAddVerb(const char* verb, PanelVerbHandler handler) {
    std::lock_guard<std::mutex> g(g_verbLock);
    g_verbs.push_back({verb, handler});
}

int PanelChannelStart(const std::string& hostPath) {
    struct stat st;
    if (lstat(hostPath.c_str(), &st) == 0 && !S_ISFIFO(st.st_mode)) unlink(hostPath.c_str());
    if (mkfifo(hostPath.c_str(), 0660) != 0 && errno != EEXIST) return -1;
    // Opened for reading and writing, so that the channel stays open between writers.
    int fd = open(hostPath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return -1;
    pthread_t reader;
    if (pthread_create(&reader, nullptr, ReaderThread, reinterpret_cast<void*>(static_cast<intptr_t>(fd))) !=
        0) {
        close(fd);
        return -1;
    }
    pthread_detach(reader);
    return 0;
}

}  // namespace plat
