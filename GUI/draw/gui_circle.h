#pragma once
// Circle and ellipse cores in absolute coordinates, through the high-level drawing operations.

namespace gui {

void CircleCore(int x0, int y0, int r);
void FillDiscCore(int x0, int y0, int r);
// Filled ellipse, or with pen > 0 a ring of that width.
void EllipseCore(int x0, int y0, int rx, int ry, int pen);

}  // namespace gui
