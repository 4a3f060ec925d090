#pragma once
// The preview pane's drawing: one text per line, 20 pixels apart, left-aligned and vertically centred on
// its y, in the pane's current colour. GUI thread only.
#include <cstdint>

namespace menu::preview {

inline constexpr uint32_t kSummary = 0x3C3C3C, kExplanation = 0x000000;

void Text(int x, int y, const char* text);
// A printf line, cut to the pane's line buffer.
void Linef(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));
// The y of line n (0 first).
constexpr int LineY(int n) {
    return 10 + 20 * n;
}

// The previews by top-menu entry.
void SystemInfo();
void Misc();
void Lan();
void Usb();
void Rs232();
void OptionInterface(uint32_t state);
void Impedance();
void Parallel();
// The explanations of 214, 221, 223 and 284; false for another state.
bool Explanation(uint32_t state);

}  // namespace menu::preview
