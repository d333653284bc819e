// Nine-part, tiled and plain image blits; see image_blit.h.
#include "ui/render/image_blit.h"

#include "ui/render/alpha_blend.h"
#include "ui/render/gdi_handles.h"
#include "ui/render/gdi_values.h"

#include <algorithm>

namespace SkinUI {
namespace {

bool Meets(const RECT& part, const RECT& paint)
{
    RECT common;
    return IntersectRect(&common, &part, &paint) != FALSE;
}

// Draws one part of the image: source `from` of the bitmap's DC into `to`, blended or copied.
class PartPainter {
public:
    PartPainter(HDC dc, HDC imageDC, const RECT& paint, bool blend, BYTE fade)
        : m_dc(dc), m_imageDC(imageDC), m_paint(paint), m_blend(blend), m_fade(fade)
    {
    }

    void Draw(const RECT& to, const RECT& from) const
    {
        if (RectWidth(to) <= 0 || RectHeight(to) <= 0 || RectWidth(from) <= 0 ||
            RectHeight(from) <= 0)
            return;
        if (!Meets(to, m_paint)) return;
        if (m_blend) {
            BlendRect(m_dc, to, m_imageDC, from, m_fade, true);
            return;
        }
        StretchBlt(m_dc, to.left, to.top, RectWidth(to), RectHeight(to), m_imageDC, from.left,
                   from.top, RectWidth(from), RectHeight(from), SRCCOPY);
    }

    // Fills `to` with tiles of `from`; along a tiled axis the tiles keep the source size and
    // the last one is cut to the space left, along the other axis they are stretched.
    void DrawTiled(const RECT& to, const RECT& from, bool xTiled, bool yTiled) const
    {
        int tileWidth = xTiled ? RectWidth(from) : RectWidth(to);
        int tileHeight = yTiled ? RectHeight(from) : RectHeight(to);
        if (tileWidth <= 0 || tileHeight <= 0) return;
        for (int top = to.top; top < to.bottom; top += tileHeight) {
            int height = std::min(tileHeight, static_cast<int>(to.bottom - top));
            int sourceHeight = yTiled ? height : RectHeight(from);
            for (int left = to.left; left < to.right; left += tileWidth) {
                int width = std::min(tileWidth, static_cast<int>(to.right - left));
                int sourceWidth = xTiled ? width : RectWidth(from);
                Draw(RECT{left, top, left + width, top + height},
                     RECT{from.left, from.top, from.left + sourceWidth, from.top + sourceHeight});
            }
        }
    }

private:
    HDC m_dc;
    HDC m_imageDC;
    RECT m_paint;
    bool m_blend;
    BYTE m_fade;
};

RECT Deflate(const RECT& rc, const RECT& by)
{
    return RECT{rc.left + by.left, rc.top + by.top, rc.right - by.right, rc.bottom - by.bottom};
}

void DrawNineParts(const PartPainter& painter, const RECT& dest, const RECT& source,
                   const BlitLayout& layout)
{
    const RECT& c = layout.corner;
    RECT inner = Deflate(dest, c);
    RECT innerSource = Deflate(source, c);
    if (!layout.hole) {
        if (layout.xTiled || layout.yTiled)
            painter.DrawTiled(inner, innerSource, layout.xTiled, layout.yTiled);
        else
            painter.Draw(inner, innerSource);
    }
    // Edges: drawn when their width is positive.
    if (c.left > 0)
        painter.Draw(RECT{dest.left, inner.top, inner.left, inner.bottom},
                     RECT{source.left, innerSource.top, innerSource.left, innerSource.bottom});
    if (c.top > 0)
        painter.Draw(RECT{inner.left, dest.top, inner.right, inner.top},
                     RECT{innerSource.left, source.top, innerSource.right, innerSource.top});
    if (c.right > 0)
        painter.Draw(RECT{inner.right, inner.top, dest.right, inner.bottom},
                     RECT{innerSource.right, innerSource.top, source.right, innerSource.bottom});
    if (c.bottom > 0)
        painter.Draw(RECT{inner.left, inner.bottom, inner.right, dest.bottom},
                     RECT{innerSource.left, innerSource.bottom, innerSource.right, source.bottom});
    // Corners: drawn when both of their widths are positive.
    if (c.left > 0 && c.top > 0)
        painter.Draw(RECT{dest.left, dest.top, inner.left, inner.top},
                     RECT{source.left, source.top, innerSource.left, innerSource.top});
    if (c.right > 0 && c.top > 0)
        painter.Draw(RECT{inner.right, dest.top, dest.right, inner.top},
                     RECT{innerSource.right, source.top, source.right, innerSource.top});
    if (c.left > 0 && c.bottom > 0)
        painter.Draw(RECT{dest.left, inner.bottom, inner.left, dest.bottom},
                     RECT{source.left, innerSource.bottom, innerSource.left, source.bottom});
    if (c.right > 0 && c.bottom > 0)
        painter.Draw(RECT{inner.right, inner.bottom, dest.right, dest.bottom},
                     RECT{innerSource.right, innerSource.bottom, source.right, source.bottom});
}

bool HasCorners(const RECT& corner)
{
    return corner.left != 0 || corner.top != 0 || corner.right != 0 || corner.bottom != 0;
}

// The opaque fast path: same size, no corners, no tiling: one copy of the visible part.
bool TryDirectCopy(HDC dc, HDC imageDC, const RECT& dest, const RECT& paint,
                   const BlitLayout& layout)
{
    const RECT& source = layout.source;
    if (RectWidth(dest) != RectWidth(source) || RectHeight(dest) != RectHeight(source) ||
        HasCorners(layout.corner) || layout.hole)
        return false;
    RECT visible;
    if (IntersectRect(&visible, &dest, &paint))
        BitBlt(dc, visible.left, visible.top, RectWidth(visible), RectHeight(visible), imageDC,
               source.left + visible.left - dest.left, source.top + visible.top - dest.top,
               SRCCOPY);
    return true;
}

}  // namespace

void BlitImage(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint,
               const BlitLayout& layout)
{
    if (!dc || !bitmap) return;
    MemoryDC imageDC(dc);
    if (!imageDC) return;
    SelectGuard select(imageDC.get(), bitmap);
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    // A negative border width would widen the centre past `dest`: such a border is no border.
    BlitLayout parts = layout;
    parts.corner = RECT{std::max(0L, layout.corner.left), std::max(0L, layout.corner.top),
                        std::max(0L, layout.corner.right), std::max(0L, layout.corner.bottom)};
    bool blend = parts.hasAlpha || parts.fade < 255;
    if (blend || !TryDirectCopy(dc, imageDC.get(), dest, paint, parts)) {
        PartPainter painter(dc, imageDC.get(), paint, blend, parts.fade);
        DrawNineParts(painter, dest, parts.source, parts);
    }
    if (oldMode) SetStretchBltMode(dc, oldMode);
}

}  // namespace SkinUI
