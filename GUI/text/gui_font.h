#pragma once
// Font records and the text calls: three font kinds (proportional 1-bit glyphs, extended proportional
// glyphs with their own size and offset, monospaced), their operations, the metrics of the current
// font, and the character and string output in window coordinates. Text is one byte per character.
// GUI thread only.
#include <cstdint>

#include "GUI/gui.h"

// Proportional glyph: YSize rows of BytesPerLine bytes, MSB leftmost, 1 = ink.
struct GUI_CHARINFO {
    uint8_t XSize;
    uint8_t XDist;
    uint8_t BytesPerLine;
    const uint8_t* pData;
};

// Extended proportional glyph: YSize rows of (XSize + 7) / 8 bytes at (XPos, YPos) from the cursor.
struct GUI_CHARINFO_EXT {
    uint8_t XSize;
    uint8_t YSize;
    int8_t XPos;
    int8_t YPos;
    uint8_t XDist;
    const uint8_t* pData;
};

// A range of codes of a proportional font; the first range of the list that holds a code wins.
struct GUI_FONT_PROP {
    uint16_t First;
    uint16_t Last;
    const GUI_CHARINFO* paCharInfo;
    const GUI_FONT_PROP* pNext;
};

struct GUI_FONT_PROP_EXT {
    uint16_t First;
    uint16_t Last;
    const GUI_CHARINFO_EXT* paCharInfo;
    const GUI_FONT_PROP_EXT* pNext;
};

// Composition of a monospaced code from two glyphs of the composed bitmaps (-1: none).
struct GUI_FONT_TRANSLIST {
    int16_t Base;
    int16_t Overlay;
};

struct GUI_FONT_TRANSINFO {
    uint16_t First;
    uint16_t Last;
    const GUI_FONT_TRANSLIST* pList;
};

struct GUI_FONT_MONO {
    const uint8_t* pData;       // glyphs First..Last
    const uint8_t* pTransData;  // the composed glyphs
    const GUI_FONT_TRANSINFO* pTrans;
    uint16_t First;
    uint16_t Last;
    uint8_t XSize;
    uint8_t XDist;
    uint8_t BytesPerLine;
};

// Line-level operations of a font; a null slot leaves the generic code at work.
struct GUI_FONT_LINEOPS {
    int (*LineWidth)(const char* text, int n);
    int (*LineLength)(const char* text, int max);
    void (*DrawLine)(const char* text, int n);
};

inline constexpr uint16_t GUI_FONTINFO_PROP = 1;
inline constexpr uint16_t GUI_FONTINFO_MONO = 2;

struct GUI_FONTDEF {
    void (*DrawChar)(uint16_t c);
    int (*Advance)(uint16_t c, int* width);
    void (*Info)(uint16_t* flags);
    int (*HasChar)(const GUI_FONTDEF* font, uint16_t c);
    int (*GlyphInfo)(uint16_t c, GUI_CHARINFO_EXT* out);
    const GUI_FONT_LINEOPS* pLineOps;
    uint8_t YSize;
    uint8_t YDist;
    uint8_t XMag;
    uint8_t YMag;
    const void* pData;  // first GUI_FONT_PROP / GUI_FONT_PROP_EXT, or the GUI_FONT_MONO
    uint8_t Baseline;
    uint8_t LHeight;
    uint8_t CHeight;
};

// Operations of the three kinds; each works on the current font at the text cursor (absolute).
void PropFont_DrawChar(uint16_t c);
int PropFont_Advance(uint16_t c, int* width);
void PropFont_Info(uint16_t* flags);
int PropFont_HasChar(const GUI_FONTDEF* font, uint16_t c);
const GUI_FONT_PROP* PropFont_FindRange(const GUI_FONT_PROP* first, uint16_t c);

void PropExtFont_DrawChar(uint16_t c);
int PropExtFont_Advance(uint16_t c, int* width);
void PropExtFont_Info(uint16_t* flags);
int PropExtFont_HasChar(const GUI_FONTDEF* font, uint16_t c);
int PropExtFont_GlyphInfo(uint16_t c, GUI_CHARINFO_EXT* out);
void PropExtFont_DrawLine(const char* text, int n);
void PropExtFont_ClearLine(const char* text, int n);
extern const GUI_FONT_LINEOPS PropExtFont_LineOps;

void MonoFont_DrawChar(uint16_t c);
int MonoFont_Advance(uint16_t c, int* width);
void MonoFont_Info(uint16_t* flags);
int MonoFont_HasChar(const GUI_FONTDEF* font, uint16_t c);

// Metrics of the current font.
int GUI_GetLineSpacing();
int GUI_GetFontHeight();
int GUI_GetCharAdvance(uint16_t c);
int GUI_GetCharAdvanceAndWidth(uint16_t c, int* width);
int GUI_TextYOffset();
int GUI_CharOverhang(uint16_t c);
int GUI_LineCharCount(const char* text, int max);
int GUI_LineWidth(const char* text, int n);
// The box of the pixels the first n characters of text ink when drawn from (x, y) in the current font;
// false when they ink none.
bool GUI_LineInk(const char* text, int n, int x, int y, GUI_BOX* out);

// Text alignment bits.
inline constexpr uint16_t GUI_TA_LEFT = 0;
inline constexpr uint16_t GUI_TA_RIGHT = 1;
inline constexpr uint16_t GUI_TA_HCENTER = 2;
inline constexpr uint16_t GUI_TA_HORIZONTAL = 3;
inline constexpr uint16_t GUI_TA_TOP = 0;
inline constexpr uint16_t GUI_TA_BOTTOM = 4;
inline constexpr uint16_t GUI_TA_BASELINE = 8;
inline constexpr uint16_t GUI_TA_VCENTER = 12;
inline constexpr uint16_t GUI_TA_VERTICAL = 12;

// Text modes.
inline constexpr uint16_t GUI_TM_NORMAL = 0;
inline constexpr uint16_t GUI_TM_XOR = 1;
inline constexpr uint16_t GUI_TM_TRANS = 2;
inline constexpr uint16_t GUI_TM_REV = 4;

// Text output in window coordinates; the cursor stays where the text ended.
// The observer of every string GUI_DrawText is given: its anchor in screen coordinates, the alignment,
// the foreground colour (0xBBGGRR) and the font. Null: none (the default).
using GUI_TEXT_HOOK = void (*)(const char* text, int x, int y, uint16_t align, uint32_t color,
                               const GUI_FONTDEF* font);
void GUI_SetTextHook(GUI_TEXT_HOOK hook);
// Codes drawn (by a text or a character call) that the font of the moment has no glyph for, since the
// process started.
// The screen tests fail on any missing glyph, overflow or last overflow read through these.
uint32_t GUI_MissingGlyphCount();
// Texts and characters drawn since the process started that did not fit the part of the screen their
// window owns (they show cut), and the last of them with its box and the window's, for a message.
uint32_t GUI_TextOverflowCount();
const char* GUI_LastTextOverflow();
void GUI_DrawTextAt(const char* text, int x, int y);
void GUI_DrawText(const char* text);
void GUI_DrawCharAt(uint16_t c, int x, int y);
void GUI_DrawChar(uint16_t c);
void GUI_DrawTextLine(const char* text, int n, const GUI_BOX* rect);
