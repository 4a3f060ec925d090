#include "panel/panel_services.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/sys_status.h"
#include "src/dev/panel_link.h"

std::atomic<uint32_t> g_Up40ms{0};

namespace {

// The popup's own formatter knows only %d and %f (and %% for a percent sign).
bool FormatIsShowable(const char* format) {
    for (const char* p = std::strchr(format, '%'); p != nullptr; p = std::strchr(p + 2, '%')) {
        if (p[1] != 'd' && p[1] != 'f' && p[1] != '%') return false;
    }
    return true;
}

}  // namespace

int ShowMessage(int lines, const char* format, ...) {
    if (format == nullptr || !FormatIsShowable(format)) return -1;
    char text[256];
    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    if (n < 0) return -1;
    // The popup window comes with the page manager; until then the message goes to the console.
    std::printf("popup (%d lines): %s\n", lines, text);
    std::fflush(stdout);
    return static_cast<int>(std::strlen(text));
}

void InitRuntimeState() {
    // Of the run-time re-initialisation only the panel's part exists yet: lamps off, no stale key.
    SpiAuxWrite4(0);
    KeyEventBoxClear();
}

// A single unit: the unit count comes with parallel operation.
void ParallelConfigUnits() {}

int Hardcopy_IsPending() {
    return SysStatusTest(kSysScreenCopyPending) ? 1 : 0;
}

void Hardcopy_Write() {
    // There is no screen to copy until the graphics library exists: the request is answered as a
    // failed write, not left pending.
    ShowMessage(2, "USB File Write Error!");
    SysStatusClear(kSysScreenCopyPending);
}
