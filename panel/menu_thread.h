#pragma once
// The menu/control thread: every 2 ms it takes the next key event, runs one set command handed over
// by a remote channel, runs the periodic services and hands the GUI thread its turn. Between passes it
// runs set commands as they are handed over.
#include <atomic>
#include <cstdint>

#include "panel/menu/key_handler.h"

struct ScpiInterface;

void* MenuThread(void* arg);
// What the thread does once before its loop.
void MenuThread_Start();
// One pass of the loop (without its 2 ms wait).
void MenuThread_Pass();
// The time from the end of one pass to the start of the next.
constexpr uint64_t kMenuPassUs = 2000;
// Waits until the instrument clock reads nextPassUs; a set command handed over meanwhile is taken and
// run at once (the pass's own hand-over step, on this thread), and its completion sent when it is done.
void MenuThread_WaitForPass(uint64_t nextPassUs);
// The pass's hand-over step alone: takes one handed-over set command, runs it and completes it unless
// it completes later. False when no message was waiting (or a screen copy holds the thread).
bool MenuThread_TakeSetCommand();
// One turn of the thread's loop: a pass, then the wait for the next.
void MenuThread_Cycle();
// The key dispatcher of the menu states (menuKeyDispatch), which lies in the screens above the panel;
// handed over at start-up. Unset, a key is only reported.
void MenuThread_SetKeyDispatch(KeyHandler dispatch);
// The front panel's start-up loads of the SEQ tables and the SIM sets, each with the memory used last; in
// the screens above the panel, handed over at start-up. Unset, the tables stay as they are.
struct SeqSimReloads {
    int32_t (*seq)(int32_t slot) = nullptr;
    void (*sim)(uint16_t memory) = nullptr;
};
void MenuThread_SetSeqSimDefaults(const SeqSimReloads& reloads);
// The home page's shown values fitted into their records (HomeValues_Fit, in the screens above the panel),
// run after each pass's keys and set commands and after a set command between passes, before the GUI
// thread is handed the edit words; handed over at start-up. Unset, nothing is fitted.
void MenuThread_SetValueFit(void (*fit)());
// Takes a reset's settings-save request (bit 12 of g_SysStatus); 1 when there was one.
int SettingsSaveRequestTake();

// Menu hand-shake word with the GUI thread: bit 1 request, bit 0 waiting for the reply semaphore.
extern std::atomic<uint32_t> g_MenuHandshake;
// UI-ready word: bit 0 once the stored configuration and the staged interface changes are in effect.
extern std::atomic<uint32_t> g_UiReady;
// 1 while a handed-over command waits for the system to report ready before it is done.
extern std::atomic<uint32_t> g_PendingReconfig;

namespace panel {
// The set command in progress (from its type-10 message until its completion is sent).
struct MenuCommand {
    ScpiInterface* ifc;
    bool done;
    uint32_t tag;         // the hand-over tag of the message; 0 while no command is in progress
    uint32_t result;      // of the completion: 0 done, 1 failed
    uint64_t deadlineMs;  // a command that completes later is reported as failed from here on
    bool afterPass;       // completes once the control task has caught up with it
    uint64_t ticket;      // of the change it made (core::NoteSettingsChange); 0: none the stage plays
    bool (*check)();      // whether the command took effect, asked when it completes; null: none
};
extern MenuCommand g_MenuCommand;
// Tests start each case from a clean state through it.
void MenuThreadReset();
}  // namespace panel
