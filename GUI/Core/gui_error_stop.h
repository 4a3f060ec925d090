#pragma once
// The graphics library's stop on internal corruption: it keeps the message and never returns.

// The last message given to GUI_ErrorStop, null while the library runs.
extern const char* volatile GUI_ErrorMessage;

// Stores the message, prints it once on standard error and blocks the calling thread for good. A hook
// set with GUI_SetErrorStopHook runs first; it may leave by throwing (tests assert the fatal paths so).
[[noreturn]] void GUI_ErrorStop(const char* message);
// Tests catch the library's error stop through it instead of ending the process.
void GUI_SetErrorStopHook(void (*hook)(const char* message));
