// Reading a window's shape from the system: its window region, or its rectangle when it has
// none, as the rows of pixels the computed shadow is built from.
#pragma once

#include "ui/window/shadow_bitmap.h"

#include <windows.h>

namespace SkinUI {

// The pixels of `region` (window coordinates) inside a window of width x height. An empty or
// unreadable region gives a shape with no pixels.
WindowShape ShapeFromRegion(HRGN region, int width, int height);

// The shape of `window`: its window region, else its whole window rectangle.
WindowShape ShapeOfWindow(HWND window);

}  // namespace SkinUI
