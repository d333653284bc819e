// ImageInfo: one decoded image as the image cache holds it, a premultiplied 32-bit top-down
// DIB section with the facts the drawing code needs about it.
#pragma once

#include "ui/render/dib_section.h"

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

struct ImageInfo {
    DibSection dib;                    // owns the bitmap; dib.pixels are B, G, R, A premultiplied
    std::vector<uint32_t> unadjusted;  // pixels before HSL adjustment; empty unless usesHSL
    bool hasAlpha = false;             // some pixel is not opaque (or was masked out)
    bool usesHSL = false;
    std::wstring resourceType;  // as requested when loading
    DWORD mask = 0;             // as requested when loading

    HBITMAP bitmap() const { return dib.bitmap.get(); }
    int width() const { return dib.width; }
    int height() const { return dib.height; }
};

}  // namespace SkinUI
