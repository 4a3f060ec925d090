#include "tests/GUI/bmp_fuzz_fixture.h"

#include <cstdio>
#include <cstring>

#include "GUI/bitmap/gui_image.h"
#include "GUI/wm/wm.h"
#include "platform/host/root.h"
#include "platform/host/root_provision.h"

namespace guitest {

namespace {

constexpr GUI_BOX kLimit = {100, 100, 299, 219};

void Fail(const char* what) {
    std::fprintf(stderr, "bmp fuzz: %s\n", what);
    std::abort();
}

}  // namespace

void StartFuzzScreen() {
    char folder[] = "/tmp/vrn-bmpfuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr) Fail("no temporary root");
    plat::SetRoot(folder);
    if (plat::PrepareRoot() != 0) Fail("root not prepared");
    GUI_ConfigureMemory();
    GUI_Context = GUI_DRAWCTX{};
    WM_State = WM_STATE{};
    LCD_ConfigureDisplay();
    GUI_InitContextDefaults(&GUI_Context);
    if (LCD_Start() != 0) Fail("no display");
    WM_Setup();
    WM_Run();
}

int BmpFuzzOne(const uint8_t* data, size_t size) {
    auto* screen = static_cast<uint16_t*>(LCD_MappedFramebuffer());
    if (screen == nullptr) Fail("no framebuffer");
    std::memset(screen, 0, kLcdFramebufferBytes);
    GUI_Context.pWmClipLimit = &kLimit;
    // A copy of exactly size bytes, so a read past the end is the sanitizer's to see.
    auto* copy = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(copy, data, size);
    const int result = GUI_DrawBmpFile(copy, static_cast<uint32_t>(size), 90, 95);
    std::free(copy);
    GUI_Context.pWmClipLimit = nullptr;
    if (result != 0 && result != 1) Fail("result neither 0 nor 1");
    for (int y = 0; y < kLcdYSize; ++y)
        for (int x = 0; x < kLcdXSize; ++x) {
            const bool inside = x >= kLimit.x0 && x <= kLimit.x1 && y >= kLimit.y0 && y <= kLimit.y1;
            if (!inside && screen[y * kLcdXSize + x] != 0) Fail("pixel outside the clip");
        }
    return result;
}

}  // namespace guitest
