// Source-over blending of one rectangle of a memory DC onto another DC, through the system
// AlphaBlend or, when that is missing, an own blend with the same arithmetic.
#pragma once

#include <windows.h>

namespace SkinUI {

// Blends `source` of `sourceDC` (stretched to `dest`) onto `dest` of `dc`.
// `constantAlpha` scales the whole source. With `perPixelAlpha` the source is premultiplied
// 32-bit ARGB and its own alpha also applies; without it the source counts as opaque.
// Empty rectangles draw nothing.
void BlendRect(HDC dc, const RECT& dest, HDC sourceDC, const RECT& source, BYTE constantAlpha,
               bool perPixelAlpha);

}  // namespace SkinUI
