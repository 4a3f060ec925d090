#include <cstdio>

#include "core/system/messaging/msg_ring.h"
#include "platform/host/clock.h"
#include "sysadmin/firmware/fw_update.h"

std::atomic<uint32_t> fwPercent{0};
std::atomic<uint32_t> fwThreshold{0};
std::atomic<uint32_t> fwDots{0};

namespace {

enum Kind { kHold, kError };

struct StatusText {
    Kind kind;
    const char* text;
};

// Codes 0-5, 7, 9, 10 and 12; 6, 8 and 11 are built from their arguments; 13 shows nothing.
constexpr StatusText kStatusTexts[] = {
    {kHold, "Update Firmware\nPlease Wait..."},
    {kHold, "Update Firmware\nPlease Wait..."},
    {kHold, "Update DSP\nPlease Wait..."},
    {kHold, "Update FPGA\nPlease Wait..."},
    {kHold, "Update Success\nReboot"},
    {kHold, "Update Fail\nPlease Output Off"},
    {kError, nullptr},
    {kError, "Update Zynq Error\nPlease Wait Retry..."},
    {kError, nullptr},
    {kError, "Recall Calibration U,V,W\nFail"},
    {kHold, "Saved Calibration U,V,W\nSuccess"},
    {kError, nullptr},
    {kError, "Zynq State Error"},
};

constexpr const char* kDotTexts[2][3] = {
    {"Update Firmware\nPlease Wait.   %d%%", "Update Firmware\nPlease Wait..  %d%%",
     "Update Firmware\nPlease Wait...%d%%"},
    {"Update FPGA\nPlease Wait.   %d%%", "Update FPGA\nPlease Wait..  %d%%",
     "Update FPGA\nPlease Wait...%d%%"},
};

void ShowDots(int which, uint32_t dots, uint32_t percent) {
    char text[64];
    std::snprintf(text, sizeof text, kDotTexts[which][(dots + 2) % 3], static_cast<int>(percent));
    MsgPopup_SetText(text);
}

// The pass and fail entries of the calibration texts: a set bit puts its phase into the fail entry.
void Phases(int32_t bits, char pass[3][3], char fail[3][3]) {
    const char* names[3] = {"U,", "V,", "W,"};
    for (int i = 0; i < 3; ++i) {
        std::snprintf(pass[i], 3, "%s", (bits >> i) & 1 ? "" : names[i]);
        std::snprintf(fail[i], 3, "%s", (bits >> i) & 1 ? names[i] : "");
    }
}

void ShowText(int32_t code, int32_t a, int32_t b) {
    char pass[3][3], fail[3][3];
    Phases(a, pass, fail);
    if (code == 6) {
        if (a == 0) ShowErrorMessageHold(2, "Update Max10 Fail\nPlease Try again");
        if (a == 1) ShowErrorMessageHold(2, "Update Zynq Fail(%d)\nPlease Try again", b);
        if (a == 2) ShowErrorMessageHold(2, "Update DSP Fail\nPlease Try again");
    } else if ((code == 8 || code == 11) && (a & 7) == 7) {
        ShowErrorMessageHold(2, "Saved Calibration U,V,W\nFail");
    } else if (code == 8 && (a & 7) == 0) {
        ShowMessageHold("Saved Calibration U,V,W\nSuccess");
    } else if (code == 8 || code == 11) {
        // The popup's formatter knows no %s: the entries are put in first (they hold no '%').
        char text[96];
        std::snprintf(text, sizeof text,
                      code == 8 ? "Recall Cal Pass %s%s%s\n Recall Cal Fail %s%s%s"
                                : "Saved Cal Pass %s%s%s\n Saved Cal Fail %s%s%s",
                      pass[0], pass[1], pass[2], fail[0], fail[1], fail[2]);
        ShowErrorMessageHold(2, text);
    } else if (code != 13) {
        const StatusText& row = kStatusTexts[code];
        if (row.kind == kHold)
            ShowMessageHold(row.text);
        else
            ShowErrorMessageHold(2, row.text);
    }
}

// Codes 14 and 15: the percentage grows with the bytes done, in steps that slow down near the end.
bool SizeProgress(uint32_t done, uint32_t step, uint32_t fastBelow, uint32_t stopFrom, bool advanceAtZero) {
    bool changed = false;
    if (done == 0) {
        fwThreshold.store(step, std::memory_order_relaxed);
        if (!advanceAtZero) return false;
        fwPercent.fetch_add(1, std::memory_order_relaxed);
        return true;
    }
    if (done < fwThreshold.load(std::memory_order_relaxed)) return false;
    const uint32_t percent = fwPercent.load(std::memory_order_relaxed);
    if (percent < stopFrom) {
        fwPercent.store(percent + (percent < fastBelow ? 2 : 1), std::memory_order_relaxed);
        changed = true;
    }
    fwThreshold.fetch_add(step, std::memory_order_relaxed);
    return changed;
}

}  // namespace

void FwUpd_ShowStatus(int32_t code, int32_t a, int32_t b) {
    if (code >= 0 && code <= 13) {
        if (MsgPopup_IsPersistent()) MsgPopup_Close();
        ShowText(code, a, b);
        plat::SleepMs(1000);
        return;
    }
    if (code == 17 || code == 18) {
        const uint32_t dots = fwDots.load(std::memory_order_relaxed) % 3 + 1;
        fwDots.store(dots == 3 ? 0 : dots, std::memory_order_relaxed);
        ShowDots(code == 18 ? 1 : 0, dots, static_cast<uint32_t>(a));
        plat::SleepMs(200);
        return;
    }
    bool changed = false;
    if (code == 16 || code == 19) {
        fwPercent.store(code == 16 ? 1 : 2, std::memory_order_relaxed);
        changed = true;
    } else if (code == 14) {
        changed = SizeProgress(static_cast<uint32_t>(a), 780, 81, 91, false);
    } else if (code == 15) {
        changed = SizeProgress(static_cast<uint32_t>(a), 2330, 86, 96, true);
    } else {
        return;
    }
    if (!changed) return;
    const uint32_t dots = fwDots.load(std::memory_order_relaxed) % 3 + 1;
    fwDots.store(dots, std::memory_order_relaxed);
    ShowDots(0, dots, fwPercent.load(std::memory_order_relaxed));
    plat::SleepMs(200);
}
