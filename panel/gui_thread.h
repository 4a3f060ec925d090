#pragma once
// The GUI thread: waits for the system-ready bit, then repaints every 2 ms; it stops drawing while a
// screen copy is pending.
void* GuiThread(void* arg);
void GuiThread_Pass();
