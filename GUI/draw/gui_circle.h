#pragma once
// Circle cores in absolute coordinates, through the high-level drawing operations.

namespace gui {

void CircleCore(int x0, int y0, int r);
void FillDiscCore(int x0, int y0, int r);

}  // namespace gui
