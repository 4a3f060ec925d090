#pragma once
// The user-message ring: numbered messages 1-31 and one free text, shown one at a time in the popup.
// Posters run on every thread; the popup alone takes the messages, in order. One lock guards the ring
// and the free text, so that two posters never claim one slot and a free text's emptying never meets
// a take half-way.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "core/system/util/step_obj.h"

struct MsgRing {
    std::atomic<uint32_t> count;  // 0..32
    std::atomic<uint32_t> head;   // next slot to write
    std::atomic<uint32_t> tail;   // next slot to read
    std::atomic<uint32_t> last;   // slot written last
    std::atomic<uint32_t> ids[32];
};
extern MsgRing g_MsgRing;
// The text of the one free-text message that can be pending (ids 5-8); written under the ring's lock,
// read by other threads through MsgQueue_CopyText.
extern char g_MsgFreeText[1024];
// Height of the popup in 30-pixel lines, taken when the popup is shown.
extern std::atomic<uint32_t> g_MsgPopupLines;

// The popup on screen. Its machine runs on the GUI thread; posters on every thread renew the hold
// counter, post a close to the machine's row and replace the text. The text is written and read only
// under the ring's lock (MsgPopup_SetText, the builders, the painter).
struct MsgPopupBlock {
    std::atomic<uint32_t> flags;  // kMsgPopupShown, kMsgPopupTextChanged, frame style in bits 2-3
    char text[1024];
    std::atomic<uint32_t> id;   // the message on show
    std::atomic<int32_t> hold;  // passes the timed popup on screen has left; a repeated id renews it
    StepRow rows[kStepRows];    // rows 1 and 2 are the panel's, set by the machine's step
    StepObj fsm;
};
extern MsgPopupBlock g_MsgPopup;
constexpr uint32_t kMsgPopupShown = 1u << 0;
constexpr uint32_t kMsgPopupTextChanged = 1u << 1;
constexpr uint32_t kMsgPopupStyleShift = 2;
constexpr uint32_t kMsgPopupStyleMask = 3u << kMsgPopupStyleShift;
// Events of the popup machine's run row.
enum MsgPopupEvent : uint32_t {
    kPopupStart = 1,
    kPopupIdle = 2,
    kPopupBuild = 3,
    kPopupTimedStart = 4,
    kPopupTimed = 5,
    kPopupHeldStart = 6,
    kPopupHeld = 7,
    kPopupClose = 8,
};

// The numbered messages, 1-31; the number selects the popup's text. A repeat of kMsgRecalled or kMsgSaved
// is queued again rather than renewing the one on show.
enum MsgRingId : int32_t {
    kMsgRearConnected = 1,     // the rear USB port connected to a PC
    kMsgRearDisconnected = 2,  // and disconnected
    kMsgGpibLinkUp = 3,
    kMsgGpibLinkDown = 4,
    kMsgFree = 5,         // the free text, timed
    kMsgFreeHold = 6,     // held until closed
    kMsgFreeRed = 7,      // in a red frame, timed
    kMsgFreeRedHold = 8,  // in a red frame, held
    kMsgPressNumberKey = 9,
    kMsgLongPushNumberKey = 10,
    kMsgKeysLocked = 11,
    kMsgKeysUnlocked = 12,
    kMsgRemoteRefused = 13,  // invalid with remote control
    kMsgMeterFrozen = 14,    // invalid while the meter is frozen
    kMsgInvalidInPage = 15,
    kMsgRecalled = 16,        // recalled from preset M%d
    kMsgSaved = 17,           // saved to preset M%d
    kMsgVoltageLimited = 18,  // + a mask of the phases held (1 L1, 2 L2, 4 L3): 19-24
    kMsgFrequencyLimited = 25,
    kMsgPhaseLimited = 26,
    kMsgDutyLimited = 27,
    kMsgNoDataInMemory = 28,
    kMsgJumpToLimited = 29,
    kMsgJumpCountLimited = 30,
    kMsgBranchLimited = 31,
};

// Queues a numbered message; 0, or -1 when 32 messages are pending or the id is outside 1-31 (no text
// is known for it).
int32_t MsgQueue_PostId(int32_t id);
// Empties the ring and queues the text under id (5 timed, 6 held, 7 timed red, 8 held red), and prints it
// on the console ("popup: text") unless the popup on screen shows it already.
int32_t MsgQueue_PostText(const char* text, int32_t id);
// Copies the free text (terminated, cut to size).
// Tests read the queued message text through it.
void MsgQueue_CopyText(char* out, size_t size);
// Formatted free texts. The popup's formatter knows only %d and %f (both take an integer); any other
// conversion posts nothing and gives -1. Otherwise the result is the text length.
int ShowMessage(int lines, const char* format, ...);
int ShowMessageHold(const char* format, ...);
int ShowErrorMessage(const char* format, ...);
int ShowErrorMessageHold(int lines, const char* format, ...);
void MsgQueue_Clear();
// Takes the oldest pending id into *id; 0, or -1 when none is pending.
int32_t MsgQueue_Pop(uint32_t* id);
uint32_t MsgQueue_Count();
// The popup that stays until closed (ids 6, 8, 9, 10): its text replaced (progress texts and dots),
// closed, and whether one is on screen.
void MsgPopup_SetText(const char* text);
void MsgPopup_Close();
int MsgPopup_IsPersistent();
// The popup block as the overlay and the painter see it. MsgPopup_Text copies the text (terminated,
// cut to size); the style is 0 (green frame) or 1 (red).
int MsgPopup_IsShown();
int MsgPopup_TextChanged();
// Tests read the popup's text through it.
void MsgPopup_Text(char* out, size_t size);
uint32_t MsgPopup_Style();

namespace core {
// The builders' writes of the popup text, under the ring's lock: a fixed or formatted text, and the
// pending free text, which is taken (its start cleared) in the same hold of the lock.
void MsgPopupWriteText(const char* text);
void MsgPopupTakeFreeText();
// The popup machine's console hooks. A popup has come up with the text its builder wrote: the console gets
// it unless that text is what was on screen (the same popup drawn again); print is false for a free text,
// which its poster has printed. The popup has gone (timed out or closed, not replaced by a newer message):
// whatever comes up next is new to the console.
void MsgPopupCameUp(bool print);
void MsgPopupWentAway();
// The painter's copy: the text, and the text-changed bit cleared with it.
void MsgPopupCopyForPaint(char* out, size_t size);
}  // namespace core
