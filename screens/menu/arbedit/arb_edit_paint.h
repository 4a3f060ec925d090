#pragma once
// The waveform builder editor's window painters, each drawing its whole window into the selected window
// (the dispatcher in arb_edit_page.cpp has taken the paint message). GUI thread only.
#include <cstdint>

namespace arbedit {

// The type the rows and the preview advice follow: the choice while the type is being edited, else the
// builder's type.
int32_t DisplayedType();

void PaintTitle();
void PaintRangeHint();
void PaintRippleVpp();
void PaintLfRingTime();
void PaintBody();
void PaintPreview();
void PaintParamPanel();
void PaintValueField(int k);
void PaintHarmonicTable();

// The texts the hint line and its readouts show: false when there is none (a state without a hint, a
// display scale or base frequency of 0).
bool RangeHintText(uint32_t state, char* out, int size);
bool RippleVppText(char* out, int size);
bool LfRingTimeText(char* out, int size);

// The content background of the body drawn under a window whose top-left lies at (dx, dy) in the body.
void DrawBodyBackground(int dx, int dy);

}  // namespace arbedit
