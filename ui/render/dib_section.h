// 32-bit top-down DIB sections: every bitmap the render engine makes, so pixels can be read
// and written directly (0xAARRGGBB words, premultiplied where a Part of the engine says so).
#pragma once

#include "ui/render/gdi_handles.h"

#include <cstdint>

namespace SkinUI {

struct DibSection {
    Bitmap bitmap;               // owns the section; pixels die with it
    uint32_t* pixels = nullptr;  // width * height words, row 0 at the top
    int width = 0;
    int height = 0;

    explicit operator bool() const { return static_cast<bool>(bitmap); }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Creates a zero-filled 32-bit top-down DIB section. Returns an empty one for a size that is
// not positive or when the system refuses it.
DibSection CreateDibSection32(int width, int height);

}  // namespace SkinUI
