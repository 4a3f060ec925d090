#include "storage/files/memory_data.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "core/control/alarms/alarms.h"
#include "core/params/presets/preset_store.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "storage/files/arb_file.h"
#include "storage/file_result.h"
#include "storage/nv/nv_power_on.h"
#include "storage/nv/nv_settings_convert.h"

namespace {

std::mutex g_lock;
MemoryDeleteRequest g_last{};
MemoryDeleteHooks g_hooks{};

constexpr int32_t kArbLast = kArbWaves;

std::string Text(const char* format, int32_t n) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<int>(n));
    return text;
}

bool OutputOnRefused() {
    if (!OutputFlagTest(kOutFlagOutputOn)) return false;
    ShowMessage(2, "Invalid with Output ON");
    return true;
}

// ARB n back to its default and saved; the limits that depend on it are rebuilt unless all waves follow.
int32_t DeleteArb(int32_t n, bool all) {
    ArbResetToDefault(n - 1);
    return ArbSaveFile(n - 1, all ? 0 : 1);
}

int32_t DeleteOne(int32_t kind, int32_t n) {
    const MemoryDeleteHooks& h = g_hooks;
    switch (kind) {
        case kMemPreset:
            if (n < 0 || n > 9) return 0;
            PresetClear(n);
            ShowMessage(2, Text("Preset M%d Deleted", n).c_str());
            return 1;
        case kMemSeq:
        case kMemSim: {
            int32_t (*del)(int32_t) = kind == kMemSeq ? h.seq : h.sim;
            if (n < 0 || n > 9 || del == nullptr) return 0;
            const int32_t r = del(n);
            if (r <= 0) return r;
            ShowMessage(2, Text(kind == kMemSeq ? "SEQ%d Deleted" : "SIM%d Deleted", n).c_str());
            return 1;
        }
        case kMemArb: {
            if (n < 1 || n > kArbLast || OutputOnRefused()) return 0;
            const int32_t r = DeleteArb(n, false);
            if (r <= 0) {
                SysStatusSet(kSysStorageError);
                return r;
            }
            ShowMessage(2, Text("ARB%d Deleted", n).c_str());
            return 1;
        }
        default:
            return 0;
    }
}

// Delete all: the popup text with its dots, and the first failure.
struct Progress {
    std::string text = "Delete All Data\n";
    void Dot() {
        text += ".";
        MsgPopup_SetText(text.c_str());
    }
    int32_t Fail(const char* format, int32_t n) {
        if (MsgPopup_IsPersistent()) MsgPopup_Close();
        ShowMessageHold(Text(format, n).c_str());
        return 0;
    }
};

// The stage's alarm words are read afresh before each item; an item met while an alarm is latched is not
// touched and fails as a short write would.
template <typename Delete>
int32_t Item(Delete del) {
    AlarmStatusUpdate();
    return SysStatusTest(kSysAlarmLatched) ? kFileShortWrite : del();
}

int32_t DeleteAll() {
    const MemoryDeleteHooks& h = g_hooks;
    if (h.seq == nullptr || h.sim == nullptr) return 0;
    if (OutputOnRefused()) return 0;
    Progress p;
    ShowMessageHold(p.text.c_str());
    PresetClearAll();
    SpecialDataPack();
    BackupSettingsPackAll();
    for (int32_t n = 9; n >= 0; --n) {
        if (Item([&] { return h.seq(n); }) <= 0) return p.Fail("SEQ%d Deleted Fail", n);
        if (n == 6 || n == 3 || n == 0) p.Dot();
    }
    for (int32_t n = 9; n >= 0; --n) {
        if (Item([&] { return h.sim(n); }) <= 0) return p.Fail("SIM%d Deleted Fail", n);
    }
    p.Dot();
    for (int32_t n = 1; n <= kArbLast; ++n) {
        if (Item([&] { return DeleteArb(n, true); }) <= 0) return p.Fail("ARB%d Deleted Fail", n);
        if (n % 16 == 0) p.Dot();
    }
    storage::ArbLimitRebuild();
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    ShowMessage(2, "All Data Deleted");
    return 1;
}

}  // namespace

void MemoryData_SetDeleteHooks(const MemoryDeleteHooks& hooks) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_hooks = hooks;
}

int32_t DeleteMemoryData(int32_t kind, int32_t number) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_last = {g_last.count + 1, kind, number};
    return kind == kMemAll ? DeleteAll() : DeleteOne(kind, number);
}

MemoryDeleteRequest MemoryDeleteLastRequest() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_last;
}

void MemoryDeleteReset() {
    std::lock_guard<std::mutex> hold(g_lock);
    g_last = {};
}
