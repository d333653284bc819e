// LayoutAxis: the row of a horizontal layout or the column of a vertical one, as a view that
// lets one piece of code work along either. Along a row the main direction is x and the cross
// direction y; a column swaps them. Swapping is its own inverse, so the same call turns a
// value into the layout's terms and back.
#pragma once

#include <windows.h>

namespace SkinUI {

struct LayoutAxis {
    bool vertical = false;

    SIZE Flow(SIZE s) const { return vertical ? SIZE{s.cy, s.cx} : s; }
    POINT Flow(POINT p) const { return vertical ? POINT{p.y, p.x} : p; }
    RECT Flow(RECT r) const { return vertical ? RECT{r.top, r.left, r.bottom, r.right} : r; }
};

}  // namespace SkinUI
