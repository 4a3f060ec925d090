#include "GUI/Core/gui_error_stop.h"

#include <unistd.h>

#include <cstdio>

const char* volatile GUI_ErrorMessage = nullptr;

namespace {
void (*g_hook)(const char*) = nullptr;
}  // namespace

void GUI_SetErrorStopHook(void (*hook)(const char* message)) {
    g_hook = hook;
}

void GUI_ErrorStop(const char* message) {
    const bool first = GUI_ErrorMessage == nullptr;
    GUI_ErrorMessage = message;
    if (g_hook != nullptr) g_hook(message);
    if (first) std::fprintf(stderr, "%s\n", message);
    // Corrupt graphics memory must not be drawn from again; the thread sleeps instead of spinning.
    for (;;)
        pause();
}
