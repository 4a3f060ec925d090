// The display layer's start and the board's display configuration: the framebuffer file mapped shared
// (under the instrument root), the driver's control calls, the screen cleared to the background.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "GUI/lcd/lcd.h"
#include "GUI/device/gui_devfunc.h"
#include "platform/host/clock.h"
#include "platform/host/root.h"

namespace {

int g_fbFd = -1;
void* g_fbMap = nullptr;
uint32_t g_fbBytes = 0;

void Say(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

}  // namespace

int LCD_DriverControl(int, int command, void*) {
    switch (command) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 14:
            return 0;
        default:
            return -1;
    }
}

// Opened and mapped once for the process; a later call gives the same mapping. A file shorter than the
// mapping is extended first, since touching a page beyond its end faults.
void* LCD_MapFramebuffer(uint32_t length) {
    if (g_fbMap != nullptr) return g_fbMap;
    if (g_fbFd < 0) {
        const std::string path = plat::MapPath("/dev/fb0");
        g_fbFd = open(path.c_str(), O_RDWR | O_SYNC | O_CLOEXEC);
        if (g_fbFd < 0) {
            Say("Can't open /dev/fb0.\n");
            return nullptr;
        }
        Say("/dev/fb0 opened.\n");
    }
    struct stat st {};
    const bool whole = fstat(g_fbFd, &st) == 0 &&
                       (st.st_size >= static_cast<off_t>(length) || ftruncate(g_fbFd, length) == 0);
    void* map = whole ? mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, g_fbFd, 0) : MAP_FAILED;
    if (map == MAP_FAILED) {
        Say("Can't map the memory to user space for Zorvek.\n");
        return nullptr;
    }
    g_fbMap = map;
    g_fbBytes = length;
    std::printf("Zorvek memory mapped at address %p.\n", map);
    std::fflush(stdout);
    plat::SleepUs(50);
    return map;
}

void* LCD_MappedFramebuffer() {
    return g_fbMap;
}

uint32_t LCD_MappedFramebufferBytes() {
    return g_fbBytes;
}

int LCD_Start() {
    LCD_ClipToScreen();
    GUI_DEV* dev = GUI_DEV_FindDriver(0);
    auto* init = reinterpret_cast<gui::DevFuncInit*>(gui::GetDevFunc(dev, 12));
    if (init == nullptr) return 1;
    const int result = init(dev);
    LCD_LoadPalette();
    if (GUI_Context.apDevice[0] != nullptr) {
        GUI_Context.selLayer = 0;
        const uint8_t mode = LCD_SetPaintMode(LCD_DRAWMODE_REV);
        LCD_FillBox(0, 0, 4095, 4095);
        LCD_SetPaintMode(mode);
        if (auto* on = reinterpret_cast<gui::DevFuncNone*>(gui::GetDevFunc(dev, 14))) on(dev);
    }
    return result;
}
