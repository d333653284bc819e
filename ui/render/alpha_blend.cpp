// Source-over blending; see alpha_blend.h.
#include "ui/render/alpha_blend.h"

#include "ui/render/dib_section.h"
#include "ui/render/gdi_values.h"
#include "ui/render/msimg32_functions.h"

namespace SkinUI {
namespace {

// result = source * constant + destination * (1 - effective source alpha), per channel, the
// arithmetic of AlphaBlend with premultiplied sources.
uint32_t BlendPixel(uint32_t source, uint32_t destination, unsigned constantAlpha,
                    bool perPixelAlpha)
{
    unsigned sourceAlpha = perPixelAlpha ? (source >> 24) * constantAlpha / 255 : constantAlpha;
    if (sourceAlpha == 255 && constantAlpha == 255)
        return source;  // opaque: the common case of a skin image
    if (sourceAlpha == 0 && (constantAlpha == 0 || (source & 0x00FFFFFF) == 0))
        return destination;  // fully transparent
    unsigned keep = 255 - sourceAlpha;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        unsigned s = (source >> shift) & 0xFF;
        unsigned d = (destination >> shift) & 0xFF;
        unsigned channel = (s * constantAlpha + d * keep + 127) / 255;
        result |= (channel > 255 ? 255u : channel) << shift;
    }
    return result;
}

void OwnBlend(HDC dc, const RECT& dest, HDC sourceDC, const RECT& source, BYTE constantAlpha,
              bool perPixelAlpha)
{
    int width = RectWidth(dest);
    int height = RectHeight(dest);
    DibSection below = CreateDibSection32(width, height);
    DibSection above = CreateDibSection32(width, height);
    MemoryDC belowDC(dc);
    MemoryDC aboveDC(dc);
    if (!below || !above || !belowDC || !aboveDC) return;
    SelectGuard selectBelow(belowDC.get(), below.bitmap.get());
    SelectGuard selectAbove(aboveDC.get(), above.bitmap.get());
    BitBlt(belowDC.get(), 0, 0, width, height, dc, dest.left, dest.top, SRCCOPY);
    SetStretchBltMode(aboveDC.get(), COLORONCOLOR);
    StretchBlt(aboveDC.get(), 0, 0, width, height, sourceDC, source.left, source.top,
               RectWidth(source), RectHeight(source), SRCCOPY);
    GdiFlush();  // the pixels are read directly below
    size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < count; ++i)
        below.pixels[i] =
            BlendPixel(above.pixels[i], below.pixels[i], constantAlpha, perPixelAlpha);
    BitBlt(dc, dest.left, dest.top, width, height, belowDC.get(), 0, 0, SRCCOPY);
}

}  // namespace

void BlendRect(HDC dc, const RECT& dest, HDC sourceDC, const RECT& source, BYTE constantAlpha,
               bool perPixelAlpha)
{
    if (RectWidth(dest) <= 0 || RectHeight(dest) <= 0 || RectWidth(source) <= 0 ||
        RectHeight(source) <= 0)
        return;
    if (AlphaBlendFunction alphaBlend = SystemAlphaBlend()) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, constantAlpha,
                               static_cast<BYTE>(perPixelAlpha ? AC_SRC_ALPHA : 0)};
        alphaBlend(dc, dest.left, dest.top, RectWidth(dest), RectHeight(dest), sourceDC,
                   source.left, source.top, RectWidth(source), RectHeight(source), blend);
        return;
    }
    OwnBlend(dc, dest, sourceDC, source, constantAlpha, perPixelAlpha);
}

}  // namespace SkinUI
