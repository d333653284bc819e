// BlitImage: draws a bitmap into a rectangle stretched, or in nine parts (corners kept at
// their size, edges stretched along their length, the centre stretched or tiled), with or
// without alpha.
#pragma once

#include <windows.h>

namespace SkinUI {

// How a bitmap is laid into a destination rectangle.
struct BlitLayout {
    RECT source = {};       // part of the bitmap to draw
    RECT corner = {};       // nine-part border widths (left, top, right, bottom); 0 = none
    BYTE fade = 255;        // constant alpha over the whole image
    bool hasAlpha = false;  // the bitmap is premultiplied ARGB with translucent pixels
    bool hole = false;      // leave the centre part out
    bool xTiled = false;    // repeat the centre horizontally instead of stretching it
    bool yTiled = false;    // repeat the centre vertically instead of stretching it
};

// Draws `bitmap` (a 32-bit DIB section, not selected into any DC) into `dest` of `dc`.
// Only parts whose destination meets `paint` are drawn. With `hasAlpha` or a fade below 255
// every part is blended source-over; otherwise the parts are copied.
void BlitImage(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint,
               const BlitLayout& layout);

}  // namespace SkinUI
