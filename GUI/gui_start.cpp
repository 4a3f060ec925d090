#include <atomic>
#include <cstdio>

#include "GUI/gui.h"
#include "GUI/lcd/lcd.h"
#include "GUI/wm/wm.h"
#include "GUI/lcd/lcd_clip.h"
#include "GUI/device/fb_driver.h"

namespace {

constexpr uint32_t kPoolBytes = 0x200000;
alignas(8) uint8_t g_pool[kPoolBytes];
std::atomic<uint32_t> g_started{0};

constexpr uint32_t kInvalidColor = 0x0FFFFFFF;  // no caller sets it, so the next set always converts

}  // namespace

void GUI_ConfigureMemory() {
    GUI_ALLOC_AssignPool(g_pool, kPoolBytes);
    GUI_ALLOC_SetBlockSizeHint(128);
}

// The board picks its display driver here, above both the display layer and the driver. Without a
// framebuffer no display device is made: the clip rectangle stays empty and nothing is drawn.
void LCD_ConfigureDisplay() {
    std::printf("screensize=%ld\n", static_cast<long>(kLcdFramebufferBytes));
    std::fflush(stdout);
    void* vram = LCD_MapFramebuffer(kLcdFramebufferBytes);
    if (vram == nullptr) return;
    if (GUI_DEV_NewAndInsert(&FbDriver_API, &ColorConv_565, 0, 0) == nullptr) return;
    const bool swapped = LCD_IsSwappedXYEx(0) != 0;
    const int x = swapped ? kLcdYSize : kLcdXSize, y = swapped ? kLcdXSize : kLcdYSize;
    LCD_SetSizeEx(0, x, y);
    LCD_SetVSizeEx(0, x, y);
    LCD_SetFramebufferAddrEx(0, vram);
}

// The display and the default font exist before this runs, or drawing goes nowhere: it never waits.
void GUI_InitContextDefaults(GUI_DRAWCTX* ctx) {
    ctx->pClipRectHL = &ctx->clipRect;
    LCD_ClipToScreen();
    ctx->pDrawOps = &LCD_DrawOps;
    ctx->pFont = GUI_pDefaultFont;
    ctx->penSize = 1;
    ctx->hSelWin = WM_State.hDesktop;
    ctx->startWord = 3;
    ctx->foreColor = kInvalidColor;
    ctx->backColor = kInvalidColor;
    GUI_SetBackColor(0x000000);
    GUI_SetForeColor(0xFFFFFF);
    GUI_pEncoding = &GUI_EncodingSingleByte;
}

// Started once, by whichever comes first of the power-stage bring-up and the GUI thread; the later call
// keeps the running library (one desktop, nothing cleared). Without a framebuffer the library still runs
// (windows, messages) but draws nothing, and the display layer's failure is the result.
int GUI_Start() {
    if (g_started.exchange(1, std::memory_order_acq_rel) != 0) return 0;
    GUI_ConfigureMemory();
    LCD_ConfigureDisplay();
    GUI_DecimalSeparator = '.';
    GUI_InitContextDefaults(&GUI_Context);
    const int result = LCD_Start();
    GUI_SetScreenOrigin(0, 0);
    WM_Setup();
    return result;
}
