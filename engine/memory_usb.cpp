#include "engine/memory_usb.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/control/alarms/alarms.h"
#include "core/regbus/reg_write.h"
#include "core/system/links/usb_state.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "engine/seqsim/seqsim_file.h"
#include "platform/host/clock.h"
#include "storage/brand_dir.h"
#include "storage/file_result.h"
#include "storage/file_util.h"
#include "storage/files/arb_file.h"
#include "storage/files/memory_data.h"
#include "storage/files/preset_file.h"
#include "storage/image_hold.h"
#include "storage/raw_file.h"

namespace {

constexpr int32_t kArbLast = kArbWaves;

std::string Format(const char* format, int32_t n) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<int>(n));
    return text;
}

std::string FileName(int32_t kind, int32_t n, bool wdb = false) {
    switch (kind) {
        case kMemPreset:
            return Format("Preset%d.Set", n);
        case kMemSeq:
            return Format("SEQ%d.SEQ", n);
        case kMemSim:
            return Format("SIM%d.SIM", n);
        default:
            return Format(wdb ? "ARB%d.wdb" : "ARB%d.ARB", n);
    }
}

bool NumberOk(int32_t kind, int32_t n) {
    return kind == kMemArb ? n >= 1 && n <= kArbLast : n >= 0 && n <= 9;
}

// Texts holding file names are composed here: the popup's formatter knows only %d and %f.
void Show(const std::string& text) {
    ShowMessage(2, text.c_str());
}

// A SEQ or SIM memory's internal file, checked, written to the USB memory as it is.
int32_t CopyToUsb(int32_t kind, int32_t n) {
    const bool seq = kind == kMemSeq;
    const uint32_t size = seq ? kSeqFileSize : kSimFileSize;
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(static_cast<uint8_t*>(AlignedAlloc(size)),
                                                          std::free);
    if (!buffer) return kFileBadArgument;
    const int32_t r = seq ? SeqFileReadChecked(n, buffer.get()) : SimFileReadChecked(n, buffer.get());
    if (r <= 0) return r == 0 ? kFileMissing : r;
    return FileWriteRaw(0, BrandDir(), FileName(kind, n).c_str(), buffer.get(), size);
}

int32_t SaveItem(int32_t kind, int32_t n) {
    switch (kind) {
        case kMemPreset:
            return PresetSaveToUsb(n);
        case kMemSeq:
        case kMemSim:
            return CopyToUsb(kind, n);
        default: {
            const storage::ImageHold held(g_ArbFileImgLock);
            if (!held.owns_lock() || ArbBuildFile(n - 1) != 0) return kFileBadArgument;
            return FileWriteRaw(0, BrandDir(), FileName(kind, n).c_str(), g_ArbFileImg, kArbFileBytes);
        }
    }
}

// The model text at the start of a refused SEQ or SIM file on the USB memory.
std::string UsbFileModel(int32_t kind, int32_t n) {
    const uint32_t size = kind == kMemSeq ? kSeqFileSize : kSimFileSize;
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(static_cast<uint8_t*>(AlignedAlloc(size)),
                                                          std::free);
    if (!buffer || FileReadRaw(0, BrandDir(), FileName(kind, n).c_str(), buffer.get(), size) < 12) return "";
    return std::string(reinterpret_cast<const char*>(buffer.get()),
                       strnlen(reinterpret_cast<char*>(buffer.get()), 12));
}

struct Recalled {
    int32_t result;
    bool ok;
    bool wdb;
};

Recalled RecallItem(int32_t kind, int32_t n) {
    switch (kind) {
        case kMemPreset: {
            const int32_t r = PresetLoadFromUsb(n);
            return {r, r == 1, false};
        }
        case kMemSeq:
        case kMemSim: {
            const int32_t r = kind == kMemSeq ? SeqImportFromUsb(n) : SimImportFromUsb(n);
            return {r, r > 0, false};
        }
        default: {
            const int32_t r = ArbLoadFromUsb(n - 1);
            if (r > 0) {
                BusReg_SetArbUpdate(1);
                plat::SleepUs(5);
            }
            return {r, r > 0, g_ArbImportWasWdb.load(std::memory_order_relaxed) == 1};
        }
    }
}

std::string RecallText(int32_t kind, int32_t n, const Recalled& r, bool all) {
    const std::string name = FileName(kind, n, r.wdb);
    if (r.ok) return name + " \nRecalled Success";
    if (r.result == kFileMissing) return name + " Recall Fail\n(No File in " + BrandDir() + ")";
    if (kind != kMemArb && r.result == kFileBadModel) {
        return name + " Recall Fail\n(Model(" +
               (kind == kMemPreset ? g_RejectedModelText : UsbFileModel(kind, n)) + ") Error)";
    }
    if (r.result == kFileBadRecord && (kind == kMemPreset || (!all && kind != kMemArb)))
        return name + " Recall Fail\n(File Data Error)";
    return name + " Recall Fail\n(File Format Error)";
}

bool OutputOnRefused() {
    if (!OutputFlagTest(kOutFlagOutputOn)) return false;
    ShowMessage(2, "Invalid with Output ON");
    return true;
}

// Every transfer needs the USB memory: without it nothing is tried and no file is named.
bool UnmountedRefused() {
    if (UsbMemoryMounted()) return false;
    ShowMessage(2, "USB Memory Unconnected");
    return true;
}

// The stage's alarm words read afresh before each item of "all": an alarm the stage raised since the
// monitor's last pass latches here and stops the work at once.
bool AlarmLatchedNow() {
    AlarmStatusUpdate();
    return SysStatusTest(kSysAlarmLatched);
}

// The items of "all" in order, with the progress dot each one is followed by.
template <typename Item>
int32_t ForAll(const char* start, Item item) {
    std::string text = start;
    ShowMessageHold(text.c_str());
    struct Group {
        int32_t kind, first, last;
    } groups[] = {{kMemPreset, 0, 9}, {kMemSeq, 0, 9}, {kMemSim, 0, 9}, {kMemArb, 1, kArbLast}};
    for (const Group& g : groups) {
        for (int32_t n = g.first; n <= g.last; ++n) {
            const int32_t r = item(g.kind, n);
            if (r <= 0) return r;
            const bool dot =
                g.kind == kMemArb ? n % 16 == 0 : n == g.last || (g.kind == kMemSeq && (n == 3 || n == 6));
            if (dot) MsgPopup_SetText((text += ".").c_str());
        }
    }
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    return 1;
}

void FailAll(const std::string& text) {
    if (MsgPopup_IsPersistent()) MsgPopup_Close();
    ShowMessageHold(text.c_str());
}

}  // namespace

int32_t SaveMemoryToUsb(int32_t kind, int32_t number) {
    if (UnmountedRefused()) return 0;
    if (kind == kMemAll) {
        const int32_t r = ForAll("Save All Data\n", [](int32_t k, int32_t n) {
            const int32_t saved = AlarmLatchedNow() ? kFileShortWrite : SaveItem(k, n);
            if (saved <= 0) FailAll(FileName(k, n) + " Save Fail");
            return saved;
        });
        if (r > 0) ShowMessage(2, "All Data Saved Success");
        return r;
    }
    if (kind < 0 || kind > kMemAll || (kind != kMemPreset && !NumberOk(kind, number))) return 0;
    const int32_t r = SaveItem(kind, number);
    if (kind == kMemArb && r <= 0) SysStatusSet(kSysStorageError);
    Show(FileName(kind, number) + (r > 0 ? " Saved Success" : " Save Fail"));
    return r;
}

int32_t RecallMemoryFromUsb(int32_t kind, int32_t number) {
    if (UnmountedRefused()) return 0;
    if (kind == kMemAll) {
        if (OutputOnRefused()) return 0;
        const int32_t r = ForAll("Recall All Data\n", [](int32_t k, int32_t n) {
            const Recalled got =
                AlarmLatchedNow() ? Recalled{kFileShortRead, false, false} : RecallItem(k, n);
            if (!got.ok) FailAll(RecallText(k, n, got, true));
            return got.ok ? 1 : (got.result > 0 ? 0 : got.result);
        });
        if (r > 0) ShowMessage(2, "All Data Recall Success");
        return r;
    }
    if (kind < 0 || kind > kMemAll || !NumberOk(kind, number)) return 0;
    if (kind == kMemArb && OutputOnRefused()) return 0;
    const Recalled got = RecallItem(kind, number);
    Show(RecallText(kind, number, got, false));
    return got.result;
}
