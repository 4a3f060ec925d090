#include "panel/pages/panel_fonts.h"

namespace {
struct NamedFont {
    const GUI_FONTDEF* font;
    const char* name;
};
#define F(f) {&f, #f}
const NamedFont kFonts[] = {F(Font10),  F(Font15a), F(Font15b), F(Font16a), F(Font16c), F(Font16d),
                            F(Font16e), F(Font20a), F(Font20b), F(Font22a), F(Font22b), F(Font24a),
                            F(Font24b), F(Font27a), F(Font27b), F(Font28),  F(Font30x), F(Font36a),
                            F(Font36b), F(Font44a), F(Font44b), F(Font45a), F(Font45b), F(Font160),
                            F(FontMono6x8), F(FontMono6x9)};
#undef F
}  // namespace

const char* PanelFontName(const GUI_FONTDEF* font) {
    for (const NamedFont& f : kFonts)
        if (f.font == font) return f.name;
    return "?";
}
