// Snapshot: a copy of part of a window's painted content as a new 32-bit DIB section,
// optionally covered with a translucent colour (used to show a window as inactive).
#pragma once

#include "ui/render/dib_section.h"

namespace SkinUI {

// Copies `rc` of `source` (the window's painted content, e.g. its offscreen DC) into a new
// DIB section of that size and, when `overlay` has a non-zero alpha, fills it with that
// colour as FillColor does. The caller owns the result; it is empty when `rc` is empty or
// the bitmap cannot be made.
DibSection Snapshot(HDC source, const RECT& rc, DWORD overlay);

}  // namespace SkinUI
