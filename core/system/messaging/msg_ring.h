#pragma once
// The user-message ring: numbered messages 1-31 and one free text, shown one at a time in the popup.
// Posters run on every thread; the popup alone takes the messages, in order. One lock guards the ring
// and the free text, so that two posters never claim one slot and a free text's emptying never meets
// a take half-way.
#include <atomic>
#include <cstddef>
#include <cstdint>

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
// Passes the timed popup on screen has left; a repeated id renews it.
extern std::atomic<int32_t> g_MsgPopupHold;

// Numbered messages with a meaning to the ring itself: a repeat of these is queued again rather than
// renewing the one on show.
enum MsgRingId : int32_t { kMsgRecalled = 16, kMsgSaved = 17 };

// Queues a numbered message; 0, or -1 when 32 messages are pending.
int32_t MsgQueue_PostId(int32_t id);
// Empties the ring and queues the text under id (5 timed, 6 held, 7 timed red, 8 held red).
int32_t MsgQueue_PostText(const char* text, int32_t id);
// Copies the free text (terminated, cut to size).
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
// The popup that stays until closed (a held free text, ShowMessageHold or ShowErrorMessageHold): its
// text replaced under the ring's lock (progress texts and dots), closed, and whether one is shown.
void MsgPopup_SetText(const char* text);
void MsgPopup_Close();
int MsgPopup_IsPersistent();
