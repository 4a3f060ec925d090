#include "core/system/messaging/msg_ring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

MsgRing g_MsgRing;
char g_MsgFreeText[1024];
std::atomic<uint32_t> g_MsgPopupLines{2};
MsgPopupBlock g_MsgPopup{
    {0},
    {},
    {0},
    {0},
    {{{0}, {0}, StepRowIdle},
     {{0}, {0}, nullptr},
     {{0}, {0}, nullptr},
     {{0}, {0}, StepRowIdle},
     {{0}, {0}, StepRowIdle},
     {{0}, {0}, StepRowIdle}},
    {{1}, {kPopupStart}, g_MsgPopup.rows},
};

namespace {

constexpr uint32_t kRingSize = 32;
constexpr int32_t kHoldPasses = 100;
constexpr int32_t kMsgFirst = kMsgRearConnected, kMsgLast = kMsgBranchLimited;
constexpr size_t kFormatBuffer = 128;

// Guards the ring and the free text: posters run on every thread and the popup takes from a thread
// of its own, and a free text empties the ring under the taker's feet. Held only for a few stores.
std::mutex g_ringLock;
// The console's copy of the popups: the text of the popup on screen, while one is. A text is printed
// when it comes up, not again while it stays: a poster that repeats it (the alarm monitor at each of its
// passes) only has it drawn again. Under g_ringLock.
char g_consoleText[sizeof g_MsgPopup.text];
bool g_consoleUp = false;

bool Full() {
    return g_MsgRing.count.load(std::memory_order_relaxed) > kRingSize - 1;
}

// The caller holds g_ringLock and has checked that the ring is not full.
void Queue(uint32_t id) {
    const uint32_t head = g_MsgRing.head.load(std::memory_order_relaxed);
    g_MsgRing.ids[head].store(id, std::memory_order_relaxed);
    g_MsgRing.last.store(head, std::memory_order_relaxed);
    g_MsgRing.head.store((head + 1) % kRingSize, std::memory_order_relaxed);
    g_MsgRing.count.fetch_add(1, std::memory_order_release);
}

void ClearLocked() {
    g_MsgRing.count.store(0, std::memory_order_release);
    g_MsgRing.head.store(0, std::memory_order_relaxed);
    g_MsgRing.tail.store(0, std::memory_order_relaxed);
    g_MsgRing.last.store(0, std::memory_order_relaxed);
}

// The popup's own formatter: %d and %f only, each taking an int. Returns the length, or -1.
int Format(char* out, size_t size, const char* format, va_list ap) {
    if (format == nullptr) return -1;
    size_t n = 0;
    out[0] = '\0';
    for (const char* p = format; *p != '\0'; ++p) {
        char piece[48];
        if (*p != '%') {
            piece[0] = *p;
            piece[1] = '\0';
        } else {
            ++p;
            if (*p == 'd')
                std::snprintf(piece, sizeof piece, "%d", va_arg(ap, int));
            else if (*p == 'f')
                std::snprintf(piece, sizeof piece, "%f",
                              static_cast<double>(static_cast<float>(va_arg(ap, int))));
            else
                return -1;
        }
        const size_t len = std::strlen(piece);
        const size_t room = size - 1 - n;
        std::memcpy(out + n, piece, len < room ? len : room);
        n += len < room ? len : room;
        out[n] = '\0';
    }
    return static_cast<int>(n);
}

int Show(int32_t id, int lines, const char* format, va_list ap) {
    char text[kFormatBuffer];
    int length = Format(text, sizeof text, format, ap);
    if (length < 0) return -1;
    g_MsgPopupLines.store(static_cast<uint32_t>(lines), std::memory_order_relaxed);
    MsgQueue_PostText(text, id);
    return length;
}

}  // namespace

int32_t MsgQueue_PostId(int32_t id) {
    // Only the numbered messages have a text; anything else would index past the builders.
    if (id < kMsgFirst || id > kMsgLast) return -1;
    g_MsgPopupLines.store(2, std::memory_order_relaxed);
    std::lock_guard<std::mutex> lock(g_ringLock);
    if (Full()) return -1;
    const uint32_t last = g_MsgRing.last.load(std::memory_order_relaxed);
    const bool repeat = g_MsgRing.ids[last].load(std::memory_order_relaxed) == static_cast<uint32_t>(id);
    if (repeat && id != kMsgRecalled && id != kMsgSaved) {
        if (g_MsgPopup.hold.load(std::memory_order_relaxed) < 1) Queue(static_cast<uint32_t>(id));
        g_MsgPopup.hold.store(kHoldPasses, std::memory_order_relaxed);
        return 0;
    }
    Queue(static_cast<uint32_t>(id));
    return 0;
}

int32_t MsgQueue_PostText(const char* text, int32_t id) {
    char shown[sizeof g_MsgFreeText];
    bool onScreen = false;
    {
        std::lock_guard<std::mutex> lock(g_ringLock);
        if (Full()) return -1;
        g_MsgPopup.hold.store(0, std::memory_order_relaxed);
        ClearLocked();
        std::snprintf(g_MsgFreeText, sizeof g_MsgFreeText, "%s", text != nullptr ? text : "");
        std::memcpy(shown, g_MsgFreeText, sizeof shown);
        onScreen = g_consoleUp && std::strcmp(g_consoleText, shown) == 0;
        Queue(static_cast<uint32_t>(id));
    }
    // The text also goes to the console as it is posted, before a newer one may replace it: a person or a
    // test running the controller without looking at the screen reads it there.
    if (!onScreen) {
        std::printf("popup: %s\n", shown);
        std::fflush(stdout);
    }
    return 0;
}

void MsgQueue_CopyText(char* out, size_t size) {
    if (out == nullptr || size == 0) return;
    std::lock_guard<std::mutex> lock(g_ringLock);
    std::snprintf(out, size, "%s", g_MsgFreeText);
}

int ShowMessage(int lines, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    int r = Show(kMsgFree, lines, format, ap);
    va_end(ap);
    return r;
}

int ShowMessageHold(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    int r = Show(kMsgFreeHold, 2, format, ap);
    va_end(ap);
    return r;
}

int ShowErrorMessage(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    int r = Show(kMsgFreeRed, 2, format, ap);
    va_end(ap);
    return r;
}

int ShowErrorMessageHold(int lines, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    int r = Show(kMsgFreeRedHold, lines, format, ap);
    va_end(ap);
    return r;
}

void MsgQueue_Clear() {
    std::lock_guard<std::mutex> lock(g_ringLock);
    ClearLocked();
}

int32_t MsgQueue_Pop(uint32_t* id) {
    std::lock_guard<std::mutex> lock(g_ringLock);
    if (g_MsgRing.count.load(std::memory_order_relaxed) == 0) return -1;
    const uint32_t tail = g_MsgRing.tail.load(std::memory_order_relaxed);
    if (id != nullptr) *id = g_MsgRing.ids[tail].load(std::memory_order_relaxed);
    g_MsgRing.tail.store((tail + 1) % kRingSize, std::memory_order_relaxed);
    g_MsgRing.count.fetch_sub(1, std::memory_order_release);
    return 0;
}

uint32_t MsgQueue_Count() {
    return g_MsgRing.count.load(std::memory_order_acquire);
}

void MsgPopup_SetText(const char* text) {
    {
        std::lock_guard<std::mutex> lock(g_ringLock);
        std::snprintf(g_MsgPopup.text, sizeof g_MsgPopup.text, "%s", text != nullptr ? text : "");
        if (MsgPopup_IsShown()) {
            std::memcpy(g_consoleText, g_MsgPopup.text, sizeof g_consoleText);
            g_consoleUp = true;
        }
    }
    g_MsgPopup.flags.fetch_or(kMsgPopupTextChanged, std::memory_order_release);
    std::printf("popup: %s\n", text != nullptr ? text : "");
    std::fflush(stdout);
}

void MsgPopup_Close() {
    const uint32_t state = g_MsgPopup.fsm.state.load(std::memory_order_acquire);
    StepObjPostMsg(kPopupClose, &g_MsgPopup.rows[state < kStepRows ? state : 0]);
}

int MsgPopup_IsPersistent() {
    return g_MsgPopup.fsm.msg.load(std::memory_order_acquire) == kPopupHeld ? 1 : 0;
}

int MsgPopup_IsShown() {
    return (g_MsgPopup.flags.load(std::memory_order_acquire) & kMsgPopupShown) != 0 ? 1 : 0;
}

int MsgPopup_TextChanged() {
    return (g_MsgPopup.flags.load(std::memory_order_acquire) & kMsgPopupTextChanged) != 0 ? 1 : 0;
}

void MsgPopup_Text(char* out, size_t size) {
    if (out == nullptr || size == 0) return;
    std::lock_guard<std::mutex> lock(g_ringLock);
    std::snprintf(out, size, "%s", g_MsgPopup.text);
}

uint32_t MsgPopup_Style() {
    return (g_MsgPopup.flags.load(std::memory_order_acquire) & kMsgPopupStyleMask) >> kMsgPopupStyleShift;
}

namespace core {

void MsgPopupWriteText(const char* text) {
    std::lock_guard<std::mutex> lock(g_ringLock);
    std::snprintf(g_MsgPopup.text, sizeof g_MsgPopup.text, "%s", text != nullptr ? text : "");
}

void MsgPopupTakeFreeText() {
    std::lock_guard<std::mutex> lock(g_ringLock);
    static_assert(sizeof g_MsgPopup.text == sizeof g_MsgFreeText);
    std::memcpy(g_MsgPopup.text, g_MsgFreeText, sizeof g_MsgPopup.text);
    g_MsgPopup.text[sizeof g_MsgPopup.text - 1] = '\0';
    std::memset(g_MsgFreeText, 0, 64);
}

void MsgPopupCameUp(bool print) {
    bool news = false;
    char text[sizeof g_MsgPopup.text];
    {
        std::lock_guard<std::mutex> lock(g_ringLock);
        news = !g_consoleUp || std::strcmp(g_consoleText, g_MsgPopup.text) != 0;
        std::memcpy(g_consoleText, g_MsgPopup.text, sizeof g_consoleText);
        g_consoleUp = true;
        std::memcpy(text, g_MsgPopup.text, sizeof text);
    }
    if (news && print) {
        std::printf("popup: %s\n", text);
        std::fflush(stdout);
    }
}

void MsgPopupWentAway() {
    std::lock_guard<std::mutex> lock(g_ringLock);
    g_consoleUp = false;
}

void MsgPopupCopyForPaint(char* out, size_t size) {
    if (out == nullptr || size == 0) return;
    std::lock_guard<std::mutex> lock(g_ringLock);
    std::snprintf(out, size, "%s", g_MsgPopup.text);
    g_MsgPopup.flags.fetch_and(~kMsgPopupTextChanged, std::memory_order_acq_rel);
}

}  // namespace core
