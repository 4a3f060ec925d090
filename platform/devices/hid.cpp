#include "platform/devices/hid.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>
#include <mutex>
#include <vector>

#include "platform/host/root.h"

namespace plat {
namespace {

constexpr const char* kSimPath = "/dev/hidraw0";
constexpr int kSimHandle = 7;

struct Item {
    std::vector<uint8_t> bytes;
    int result;  // used when bytes is empty: 0 end of file, -errno a failure
};

std::mutex g_lock;
std::deque<Item> g_queue;
bool g_open = false;
bool g_failInfo = false;

bool IsSim(const char* path) {
    return path != nullptr && std::strcmp(path, kSimPath) == 0;
}

// Modifier and usage code of a character on a US keyboard layout; false when it has no key.
bool KeyOf(char c, uint8_t* mod, uint8_t* usage) {
    static const char kPlain[] = " -\\;',./";
    static const uint8_t kPlainCodes[] = {44, 45, 49, 51, 52, 54, 55, 56};
    static const char kShift[] = "$%*+|:\"<>?";
    static const uint8_t kShiftCodes[] = {33, 34, 37, 46, 49, 51, 52, 54, 55, 56};
    *mod = 0;
    if (c >= 'a' && c <= 'z') {
        *usage = static_cast<uint8_t>(4 + (c - 'a'));
    } else if (c >= 'A' && c <= 'Z') {
        *mod = 2;
        *usage = static_cast<uint8_t>(4 + (c - 'A'));
    } else if (c >= '1' && c <= '9') {
        *usage = static_cast<uint8_t>(30 + (c - '1'));
    } else if (c == '0') {
        *usage = 39;
    } else if (const char* p = c ? std::strchr(kPlain, c) : nullptr) {
        *usage = kPlainCodes[p - kPlain];
    } else if (const char* q = c ? std::strchr(kShift, c) : nullptr) {
        *mod = 2;
        *usage = kShiftCodes[q - kShift];
    } else {
        return false;
    }
    return true;
}

void Push(uint8_t mod, uint8_t usage) {
    g_queue.push_back({{mod, 0, usage, 0, 0, 0, 0, 0}, 0});
    g_queue.push_back({{0, 0, 0, 0, 0, 0, 0, 0}, 0});
}

}  // namespace

bool HidPathExists(const char* devicePath) {
    struct stat st {};
    // Without a root the node would be the host's own device: never the simulation's.
    return IsSim(devicePath) && !Root().empty() && ::stat(MapPath(devicePath).c_str(), &st) == 0;
}

int HidOpen(const char* devicePath) {
    if (!HidPathExists(devicePath)) {
        errno = ENOENT;
        return -1;
    }
    std::lock_guard<std::mutex> g(g_lock);
    g_open = true;
    return kSimHandle;
}

int HidGetInfo(int handle, hidraw_devinfo* info) {
    std::lock_guard<std::mutex> g(g_lock);
    if (handle != kSimHandle || !g_open) {
        errno = EBADF;
        return -1;
    }
    if (g_failInfo) {
        errno = EIO;
        return -1;
    }
    info->bustype = 3;  // BUS_USB
    info->vendor = 0x0c2e;
    info->product = 0x0b61;
    return 0;
}

int HidRead(int handle, uint8_t* buf, int capacity) {
    std::lock_guard<std::mutex> g(g_lock);
    if (handle != kSimHandle || !g_open) {
        errno = EBADF;
        return -1;
    }
    if (g_queue.empty()) {
        errno = EAGAIN;
        return -1;
    }
    Item it = g_queue.front();
    g_queue.pop_front();
    if (it.bytes.empty()) {
        if (it.result == 0) return 0;
        errno = -it.result;
        return -1;
    }
    int n = static_cast<int>(it.bytes.size()) < capacity ? static_cast<int>(it.bytes.size()) : capacity;
    std::memcpy(buf, it.bytes.data(), static_cast<size_t>(n));
    return n;
}

int HidClose(int handle) {
    std::lock_guard<std::mutex> g(g_lock);
    if (handle != kSimHandle || !g_open) {
        errno = EBADF;
        return -1;
    }
    g_open = false;
    return 0;
}

void HidSimPlug(bool plugged) {
    std::string file = MapPath(kSimPath);
    if (Root().empty()) {
    } else if (plugged) {
        ::mkdir(MapPath("/dev").c_str(), 0755);
        std::ofstream(file).flush();
    } else {
        ::unlink(file.c_str());
    }
    std::lock_guard<std::mutex> g(g_lock);
    g_queue.clear();
    g_failInfo = false;
}

void HidSimQueueReport(const uint8_t* report, int len) {
    std::lock_guard<std::mutex> g(g_lock);
    g_queue.push_back({std::vector<uint8_t>(report, report + (len > 0 ? len : 0)), 0});
}

void HidSimQueueResult(int result) {
    std::lock_guard<std::mutex> g(g_lock);
    g_queue.push_back({{}, result});
}

void HidSimFailInfo(bool fail) {
    std::lock_guard<std::mutex> g(g_lock);
    g_failInfo = fail;
}

int HidSimTypeText(const std::string& text, std::string* error) {
    uint8_t mod = 0, usage = 0;
    for (char c : text) {
        if (!KeyOf(c, &mod, &usage)) {
            if (error) *error = std::string("no scanner key for '") + c + "'";
            return -1;
        }
    }
    if (!HidPathExists(kSimPath)) HidSimPlug(true);
    std::lock_guard<std::mutex> g(g_lock);
    for (char c : text) {
        KeyOf(c, &mod, &usage);
        Push(mod, usage);
    }
    Push(0, 40);
    return 0;
}

int HidSimPending() {
    std::lock_guard<std::mutex> g(g_lock);
    return static_cast<int>(g_queue.size());
}

}  // namespace plat
