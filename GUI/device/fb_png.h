#pragma once
// The screen as a picture: RGB565 pixels written as an 8-bit RGB PNG (colours through Index2Color_565),
// so that people and tests can look at the framebuffer.
#include <cstdint>
#include <string>

#include "GUI/gui.h"

// Writes rect of an RGB565 image (stride pixels a row) to hostPath, a host file name (not an instrument
// path), replacing it whole. 0, or -1 when the rectangle is empty or the file cannot be written.
int FbWritePng(const uint16_t* pixels, int stride, const GUI_BOX& rect, const std::string& hostPath);
// A rectangle of the mapped screen (cut to the 800x480 screen); -1 when no framebuffer is mapped.
// The screen tests write the picture of a window that failed through it.
int FbWriteScreenRectPng(const GUI_BOX& rect, const std::string& hostPath);
