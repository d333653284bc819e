// Fills, gradients and strokes; see fill_and_stroke.h.
#include "ui/render/fill_and_stroke.h"

#include "ui/render/alpha_blend.h"
#include "ui/render/dib_section.h"
#include "ui/render/gdi_values.h"
#include "ui/render/msimg32_functions.h"

namespace SkinUI {
namespace {

unsigned Channel(DWORD argb, int shift)
{
    return (argb >> shift) & 0xFF;
}

// AlphaBlend reads premultiplied pixels: a translucent colour is stored as such.
uint32_t Premultiply(DWORD argb)
{
    unsigned alpha = argb >> 24;
    uint32_t result = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8)
        result |= (Channel(argb, shift) * alpha / 255) << shift;
    return result;
}

void FillOpaque(HDC dc, const RECT& rc, COLORREF color)
{
    Brush brush(CreateSolidBrush(color));
    if (brush) FillRect(dc, &rc, brush.get());
}

// The banded fallback: 2^k bands counted from the far edge, each of one mixed colour.
void FillBands(HDC dc, const RECT& rc, DWORD from, DWORD to, bool vertical, int steps)
{
    int shift = steps < 4    ? 1
                : steps < 8  ? 2
                : steps < 16 ? 3
                : steps < 32 ? 4
                : steps < 64 ? 5
                             : 6;
    int bands = 1 << shift;
    int size = vertical ? RectHeight(rc) : RectWidth(rc);
    int edge = vertical ? rc.bottom : rc.right;
    for (int i = 0; i < bands; ++i) {
        int start = edge - (i + 1) * size / bands;
        int end = edge - i * size / bands;
        if (start >= end) continue;
        auto mix = [&](int s) {
            return (i * Channel(from, s) + (bands - i) * Channel(to, s)) / bands;
        };
        RECT band =
            vertical ? RECT{rc.left, start, rc.right, end} : RECT{start, rc.top, end, rc.bottom};
        FillOpaque(dc, band, RGB(mix(16), mix(8), mix(0)));
    }
}

void FillGradientOpaque(HDC dc, const RECT& rc, DWORD from, DWORD to, bool vertical, int steps)
{
    GradientFillFunction gradientFill = SystemGradientFill();
    if (!gradientFill) {
        FillBands(dc, rc, from, to, vertical, steps);
        return;
    }
    auto vertex = [](LONG x, LONG y, DWORD argb) {
        return TRIVERTEX{x,
                         y,
                         static_cast<COLOR16>(Channel(argb, 16) << 8),
                         static_cast<COLOR16>(Channel(argb, 8) << 8),
                         static_cast<COLOR16>(Channel(argb, 0) << 8),
                         0};
    };
    TRIVERTEX vertices[2] = {vertex(rc.left, rc.top, from), vertex(rc.right, rc.bottom, to)};
    GRADIENT_RECT rect = {0, 1};
    gradientFill(dc, vertices, 2, &rect, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

// Inside-frame keeps a wide outline within the rectangle; it exists for solid pens only, so
// other styles keep their own pattern.
int OutlineStyle(int penStyle)
{
    return (penStyle & PS_STYLE_MASK) == PS_SOLID ? (penStyle | PS_INSIDEFRAME) : penStyle;
}

// Styled pens leave their gaps alone instead of filling them with the background colour.
class TransparentBackground {
public:
    explicit TransparentBackground(HDC dc) : m_dc(dc), m_old(SetBkMode(dc, TRANSPARENT)) {}
    ~TransparentBackground()
    {
        if (m_old) SetBkMode(m_dc, m_old);
    }
    TransparentBackground(const TransparentBackground&) = delete;
    TransparentBackground& operator=(const TransparentBackground&) = delete;

private:
    HDC m_dc;
    int m_old;
};

}  // namespace

void FillColor(HDC dc, const RECT& rc, DWORD argb)
{
    unsigned alpha = argb >> 24;
    if (alpha == 0 || RectWidth(rc) <= 0 || RectHeight(rc) <= 0) return;
    if (alpha == 0xFF) {
        FillOpaque(dc, rc, ArgbToColorRef(argb));
        return;
    }
    DibSection pixel = CreateDibSection32(1, 1);
    MemoryDC pixelDC(dc);
    if (!pixel || !pixelDC) return;
    pixel.pixels[0] = Premultiply(argb);
    SelectGuard select(pixelDC.get(), pixel.bitmap.get());
    BlendRect(dc, rc, pixelDC.get(), RECT{0, 0, 1, 1}, 255, true);
}

void FillGradient(HDC dc, const RECT& rc, DWORD from, DWORD to, bool vertical, int steps)
{
    unsigned alpha = ((from >> 24) + (to >> 24)) / 2;
    if (alpha == 0 || RectWidth(rc) <= 0 || RectHeight(rc) <= 0) return;
    if (alpha == 0xFF) {
        FillGradientOpaque(dc, rc, from, to, vertical, steps);
        return;
    }
    DibSection offscreen = CreateDibSection32(RectWidth(rc), RectHeight(rc));
    MemoryDC offscreenDC(dc);
    if (!offscreen || !offscreenDC) return;
    SelectGuard select(offscreenDC.get(), offscreen.bitmap.get());
    RECT local = {0, 0, RectWidth(rc), RectHeight(rc)};
    FillGradientOpaque(offscreenDC.get(), local, from, to, vertical, steps);
    BlendRect(dc, rc, offscreenDC.get(), local, static_cast<BYTE>(alpha), false);
}

void StrokeLine(HDC dc, const RECT& rc, int width, DWORD argb, int penStyle)
{
    Pen pen(CreatePen(penStyle, width, ArgbToColorRef(argb)));
    if (!pen) return;
    SelectGuard select(dc, pen.get());
    TransparentBackground transparent(dc);
    POINT old;
    MoveToEx(dc, rc.left, rc.top, &old);
    LineTo(dc, rc.right, rc.bottom);
    MoveToEx(dc, old.x, old.y, nullptr);
}

void StrokeRect(HDC dc, const RECT& rc, int width, DWORD argb, int penStyle)
{
    Pen pen(CreatePen(OutlineStyle(penStyle), width, ArgbToColorRef(argb)));
    if (!pen) return;
    SelectGuard selectPen(dc, pen.get());
    SelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
    TransparentBackground transparent(dc);
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
}

void StrokeRoundRect(HDC dc, const RECT& rc, int width, int ellipseWidth, int ellipseHeight,
                     DWORD argb, int penStyle)
{
    Pen pen(CreatePen(OutlineStyle(penStyle), width, ArgbToColorRef(argb)));
    if (!pen) return;
    SelectGuard selectPen(dc, pen.get());
    SelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
    TransparentBackground transparent(dc);
    RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, ellipseWidth, ellipseHeight);
}

}  // namespace SkinUI
