#pragma once
// The text log (--text-log): every string a paint draws, one line each, appended to a file as
// "x y align rgb565 font text": the anchor in screen coordinates, the alignment bits in decimal, the
// colour as 0xRRRR in the display's format, the font record's name and the text with a line feed written
// "\n" and a backslash "\\". The file is kept within the logs' limit (plat::LogAppend: one older
// generation beside it as "<file>.1"). GUI thread only.
#include <cstdint>
#include <string>

// Opens (appending) and starts logging; 0, or -1 when the file cannot be opened (nothing is logged).
int TextLog_Start(const std::string& path);
// Stops logging and closes the file.
void TextLog_Stop();
// Logs a text that its painter drew character by character (no text call reaches the log), anchored at
// (x, y) of the window being painted, with the current alignment, colour and font.
void TextLog_CharsDrawn(const char* text, int x, int y);
// While set, every character logged is written as '*': the password field's digits never reach the file,
// which outlives the session.
void TextLog_SetMasked(bool masked);
// The colour 0xBBGGRR in RGB565.
uint16_t TextLog_Rgb565(uint32_t color);
