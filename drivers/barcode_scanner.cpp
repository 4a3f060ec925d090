#include "drivers/barcode_scanner.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/control/barcode_table.h"
#include "platform/devices/hid.h"

namespace {

constexpr const char* kHidPath = "/dev/hidraw0";
constexpr uint8_t kSlotHeld = 1;
constexpr uint8_t kSlotNew = 2;
constexpr int kReportLen = 8;
constexpr int kLineMax = 15;  // characters; the row keeps its terminating zero

struct KeySlot {
    uint8_t flags;
    uint8_t code;
};

// Touched by the key thread only.
struct HidDev {
    int32_t open;
    int32_t data;
    int32_t fd;
    KeySlot slots[6];
    uint8_t report[kReportLen];
    hidraw_devinfo info;
};
HidDev g_HidDev{0, 0, -1, {}, {}, {}};

// Set once at start-up, before any thread runs.
BarcodeFileHooks g_FileHooks{nullptr, nullptr};

int32_t TableLoad() {
    return g_FileHooks.load ? g_FileHooks.load() : 0;
}

// Called without g_BarcodeLock: the save takes it to copy the texts.
void TableSave() {
    if (g_FileHooks.save) g_FileHooks.save();
}

void HidClear() {
    g_HidDev = HidDev{0, 0, -1, {}, {}, {}};
}

void HidCloseDevice() {
    if (g_HidDev.fd >= 0) plat::HidClose(g_HidDev.fd);
    HidClear();
}

// The character of a key value (modifier x 256 + usage code), or 0 when it types none.
char CharOf(uint32_t value) {
    uint32_t mod = value >> 8;
    uint32_t usage = value & 0xFF;
    if (mod == 0) {
        if (usage >= 4 && usage <= 29) return static_cast<char>('a' + (usage - 4));
        if (usage >= 30 && usage <= 38) return static_cast<char>('1' + (usage - 30));
        switch (usage) {
            case 39:
                return '0';
            case 40:
                return '\r';
            case 44:
                return ' ';
            case 45:
                return '-';
            case 49:
                return '\\';
            case 51:
                return ';';
            case 52:
                return '\'';
            case 54:
                return ',';
            case 55:
                return '.';
            case 56:
                return '/';
            default:
                return 0;
        }
    }
    if (mod == 2) {
        if (usage >= 4 && usage <= 29) return static_cast<char>('A' + (usage - 4));
        switch (usage) {
            case 33:
                return '$';
            case 34:
                return '%';
            case 37:
                return '*';
            case 46:
                return '+';
            case 49:
                return '|';
            case 51:
                return ':';
            case 52:
                return '"';
            case 54:
                return '<';
            case 55:
                return '>';
            case 56:
                return '?';
            default:
                return 0;
        }
    }
    if (mod == 1 && usage == 13) return '\n';
    return 0;
}

// Caller holds g_BarcodeLock.
void FeedLine(char c) {
    BarcodeTable& t = g_BarcodeTable;
    if (c == '\r' || c == '\n') {
        if (t.lineLength > 0) {
            t.lineComplete = 1;
        } else {
            BarcodeLineClear();
        }
        return;
    }
    // A completed line waits for its match; characters typed meanwhile do not change it.
    if (t.lineComplete) return;
    if (t.lineLength < kLineMax) t.rows[0][t.lineLength++] = c;
    t.activity = 1;
}

// The keys of the report: the usage code of one newly pressed key, or 0.
int32_t KeyStep(const uint8_t* r) {
    KeySlot* s = g_HidDev.slots;
    if (r[2] == 0) {
        std::memset(g_HidDev.slots, 0, sizeof g_HidDev.slots);
        return 0;
    }
    if (r[2] == 1) return 0;  // roll-over error: the keys are unknown, keep the slots
    bool consumed[6] = {};
    for (int i = 0; i < 6; ++i) {
        if (s[i].code != 0) {
            bool held = false;
            for (int j = 0; j < 6 && !held; ++j) {
                if (!consumed[j] && r[2 + j] == s[i].code) held = consumed[j] = true;
            }
            if (!held) s[i] = KeySlot{0, 0};
            continue;
        }
        for (int j = 0; j < 6; ++j) {
            if (consumed[j] || r[2 + j] < 4) continue;  // 0 empty, 1-3 error codes
            s[i] = KeySlot{static_cast<uint8_t>(kSlotHeld | kSlotNew), r[2 + j]};
            consumed[j] = true;
        }
    }
    int n = 0;
    for (int i = 0; i < 6; ++i) {
        if (s[i].code != 0) s[n++] = s[i];
    }
    for (int i = n; i < 6; ++i)
        s[i] = KeySlot{0, 0};
    for (int i = 0; i < n; ++i) {
        if (s[i].flags & kSlotNew) {
            s[i].flags = static_cast<uint8_t>(s[i].flags & ~kSlotNew);
            return s[i].code;
        }
    }
    return 0;
}

int32_t ReportStep() {
    uint8_t* r = g_HidDev.report;
    uint32_t value = static_cast<uint32_t>(r[0]) * 256u + r[2];
    {
        std::lock_guard<std::mutex> g(g_BarcodeLock);
        // Enter with no scanned characters pending is the keypad's accept key, not a line end.
        if (!(value == 40 && !g_BarcodeTable.activity)) {
            char c = CharOf(value);
            if (c != 0) {
                FeedLine(c);
                r[0] = 0;
                r[2] = 0;
            }
        }
    }
    return KeyStep(r);
}

// Caller holds g_BarcodeLock.
int32_t TeachLocked(int32_t slot) {
    BarcodeTable& t = g_BarcodeTable;
    if (!t.lineComplete || t.lineLength <= 0) return -1;
    std::memcpy(t.rows[slot + 1], t.rows[0], kBarcodeTextLen);
    BarcodeLineClear();
    t.activity = 0;
    return slot;
}

}  // namespace

int32_t HidInit() {
    {
        std::lock_guard<std::mutex> g(g_BarcodeLock);
        BarcodeSetDefaultTexts();
        BarcodeLineClear();
        g_BarcodeTable.activity = 0;
    }
    // A missing or damaged file is replaced by the defaults, so that the next start finds a sound one.
    if (TableLoad() != 1) TableSave();
    g_BarcodeTable.loaded.store(1, std::memory_order_release);
    HidCloseDevice();
    return 0;
}

void Barcode_SetFileHooks(const BarcodeFileHooks& hooks) {
    g_FileHooks = hooks;
}

int32_t HidPoll() {
    g_HidDev.data = 0;
    if (!plat::HidPathExists(kHidPath)) {
        if (g_HidDev.fd >= 0) HidCloseDevice();
        return 0;
    }
    if (!g_HidDev.open) {
        int fd = plat::HidOpen(kHidPath);
        if (fd < 0) return 0;
        g_HidDev.fd = fd;
        if (plat::HidGetInfo(fd, &g_HidDev.info) != 0) {
            std::fprintf(stderr, "HIDIOCGRAWINFO_Get dev->info Fail: %s\n", std::strerror(errno));
            HidCloseDevice();
            return 0;
        }
        {
            std::lock_guard<std::mutex> g(g_BarcodeLock);
            g_BarcodeTable.activity = 0;
            BarcodeLineClear();
        }
        g_HidDev.open = 1;
        return 0;
    }
    std::memset(g_HidDev.report, 0, sizeof g_HidDev.report);
    errno = 0;
    int n = plat::HidRead(g_HidDev.fd, g_HidDev.report, kReportLen);
    if (n < 0) {
        // No report waiting (EAGAIN) or a passing failure keeps the device and its partial line.
        if (errno == ENODEV) HidCloseDevice();
        return 0;
    }
    if (n == 0) {
        HidCloseDevice();
        return 0;
    }
    g_HidDev.data = 1;
    // hidraw hands over whole reports: a short one is not a boot-keyboard report.
    if (n != kReportLen) return 0;
    return ReportStep();
}

int32_t HidIsOpen() {
    return g_HidDev.open;
}

int32_t HidHadData() {
    return g_HidDev.data;
}

int32_t BarcodeLineMatch(int32_t op, int32_t slot) {
    if (slot < 0) slot = 0;
    if (slot > kBarcodeActions - 1) slot = kBarcodeActions - 1;
    int32_t result = -1;
    bool changed = false;
    {
        std::lock_guard<std::mutex> g(g_BarcodeLock);
        BarcodeTable& t = g_BarcodeTable;
        if (op == 0) {
            result = TeachLocked(slot);
            changed = result >= 0;
        } else if (op == 1) {
            if (t.reloadDefaults.exchange(0, std::memory_order_acquire) != 0) {
                BarcodeSetDefaultTexts();
                changed = true;
            }
            if (t.lineComplete) {
                char line[kBarcodeTextLen];
                std::memcpy(line, t.rows[0], sizeof line);
                BarcodeLineClear();
                t.activity = 0;
                // A 16-character text from a remote teach fills its row without a terminating zero.
                for (int a = 0; a < kBarcodeActions && result < 0; ++a) {
                    if (std::strncmp(line, t.rows[a + 1], kBarcodeTextLen) == 0) result = a;
                }
            }
        }
    }
    if (changed) TableSave();
    if (op == 0 && result >= 0) g_BarcodeTable.tableChanged.store(1, std::memory_order_release);
    return result;
}

int32_t BarcodeRemoteTeach(int32_t slot, const char* text) {
    size_t len = text ? std::strlen(text) : 0;
    if (len < 1 || len > static_cast<size_t>(kBarcodeTextLen) || slot < 0 || slot >= kBarcodeActions)
        return -1;
    int32_t r;
    {
        std::lock_guard<std::mutex> g(g_BarcodeLock);
        BarcodeTable& t = g_BarcodeTable;
        std::memset(t.rows[0], 0, kBarcodeTextLen);
        std::memcpy(t.rows[0], text, len);
        t.lineLength = static_cast<int32_t>(len);
        t.lineComplete = 1;
        r = TeachLocked(slot);
    }
    TableSave();
    g_BarcodeTable.tableChanged.store(2, std::memory_order_release);
    return r;
}
