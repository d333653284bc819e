// CControlUI painting: the stop control and paint listeners, the fixed drawing order
// (background colour or gradients, background image, state image, text, border) inside an
// optional round clip, then the overlay; and the colour, border and image setters.
#include "ui/core/control_ui.h"

#include "ui/core/ui_manager.h"
#include "ui/render/clip.h"
#include "ui/render/color_hsl.h"
#include "ui/render/fill_and_stroke.h"
#include "ui/render/image_cache.h"

#include <optional>

namespace SkinUI {
namespace {

constexpr int kHalfGradientSteps = 8;
constexpr int kGradientSteps = 16;

}  // namespace

bool CControlUI::PaintTo(HDC dc, const RECT& paint, CControlUI* stop)
{
    if (this == stop) return false;
    if (!IntersectRect(&m_paintRect, &paint, &m_item)) return true;
    if (!OnPaint.Empty() && !OnPaint.Fire(this)) return true;
    if (!DrawContent(dc, m_paintRect, stop)) return false;
    if (m_overlay) return m_overlay->PaintTo(dc, paint, nullptr);
    return true;
}

bool CControlUI::DrawContent(HDC dc, const RECT& paint, CControlUI* /*stop*/)
{
    std::optional<ClipRegion> round;
    if (m_borderRound.cx > 0 || m_borderRound.cy > 0) {
        round.emplace(RoundClip(dc, paint, m_item, m_borderRound.cx, m_borderRound.cy));
    }
    DrawBkColor(dc);
    DrawBkImage(dc);
    DrawStateImage(dc);
    DrawCaption(dc);
    DrawBorder(dc);
    return true;
}

void CControlUI::DrawBkColor(HDC dc)
{
    if (m_bkColor == 0) return;
    const DWORD first = GetAdjustedColor(m_bkColor);
    if (m_bkColor2 == 0) {
        // An opaque colour covers exactly what is painted; a translucent one is blended over
        // the whole control so that partial repaints blend the same way.
        const bool opaque = (first >> 24) == 0xFF;
        FillColor(dc, opaque ? m_paintRect : m_item, first);
        return;
    }
    const DWORD second = GetAdjustedColor(m_bkColor2);
    if (m_bkColor3 == 0) {
        FillGradient(dc, m_item, first, second, true, kGradientSteps);
        return;
    }
    const DWORD third = GetAdjustedColor(m_bkColor3);
    const LONG middle = (m_item.top + m_item.bottom) / 2;
    FillGradient(dc, RECT{m_item.left, m_item.top, m_item.right, middle}, first, second, true,
                 kHalfGradientSteps);
    FillGradient(dc, RECT{m_item.left, middle, m_item.right, m_item.bottom}, second, third, true,
                 kHalfGradientSteps);
}

void CControlUI::DrawBkImage(HDC dc)
{
    if (m_manager == nullptr || m_bkImage.descriptor.empty()) return;
    DrawImageDescriptor(dc, *m_manager, m_item, m_paintRect, m_bkImage);
}

void CControlUI::DrawStateImage(HDC /*dc*/) {}

void CControlUI::DrawCaption(HDC /*dc*/) {}

void CControlUI::DrawBorder(HDC dc)
{
    if (m_borderSizes.left <= 0) return;
    // 0 is no colour: the focus colour only when focused and set, else the border colour,
    // and nothing at all when the chosen one is 0.
    const DWORD chosen =
        (m_focused && m_focusBorderColor != 0) ? m_focusBorderColor : m_borderColor;
    if (chosen == 0) return;
    const DWORD color = GetAdjustedColor(chosen);
    const int width = m_borderSizes.left;
    if (m_borderRound.cx > 0 || m_borderRound.cy > 0) {
        StrokeRoundRect(dc, m_item, width, m_borderRound.cx, m_borderRound.cy, color,
                        m_borderStyle);
        return;
    }
    // Rectangles are drawn inside the item rectangle (the render engine makes solid
    // outlines inside-frame); lines are centred on their side.
    const RECT& s = m_borderSizes;
    if (s.top == width && s.right == width && s.bottom == width) {
        StrokeRect(dc, m_item, width, color, m_borderStyle);
        return;
    }
    DrawBorderSides(dc, color);
}

void CControlUI::DrawBorderSides(HDC dc, DWORD color)
{
    const RECT& r = m_item;
    const RECT& s = m_borderSizes;
    if (s.left > 0) {
        const LONG x = r.left + s.left / 2;
        StrokeLine(dc, RECT{x, r.top, x, r.bottom}, s.left, color, m_borderStyle);
    }
    if (s.top > 0) {
        const LONG y = r.top + s.top / 2;
        StrokeLine(dc, RECT{r.left + s.left, y, r.right - s.right, y}, s.top, color, m_borderStyle);
    }
    if (s.right > 0) {
        const LONG x = r.right - s.right / 2;
        StrokeLine(dc, RECT{x, r.top, x, r.bottom}, s.right, color, m_borderStyle);
    }
    if (s.bottom > 0) {
        const LONG y = r.bottom - s.bottom / 2;
        StrokeLine(dc, RECT{r.left + s.left, y, r.right - s.right, y}, s.bottom, color,
                   m_borderStyle);
    }
}

void CControlUI::DrawAfter(HDC /*dc*/, const RECT& /*paint*/)
{
    OnPostPaint.Fire(this);
}

DWORD CControlUI::GetAdjustedColor(DWORD argb) const
{
    if (!m_colorByWindowHsl) return argb;
    const ColorAdjustment& adjustment = CurrentColorAdjustment();
    return ShiftColorHSL(argb, adjustment.hue, adjustment.saturation, adjustment.lightness);
}

namespace {

// Stores `value`; true when it changed.
bool StoreColor(DWORD& field, DWORD value)
{
    if (field == value) return false;
    field = value;
    return true;
}

}  // namespace

void CControlUI::SetBkColor(DWORD argb)
{
    if (StoreColor(m_bkColor, argb)) Invalidate();
}

void CControlUI::SetBkColor2(DWORD argb)
{
    if (StoreColor(m_bkColor2, argb)) Invalidate();
}

void CControlUI::SetBkColor3(DWORD argb)
{
    if (StoreColor(m_bkColor3, argb)) Invalidate();
}

void CControlUI::SetBorderColor(DWORD argb)
{
    if (StoreColor(m_borderColor, argb)) Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD argb)
{
    if (StoreColor(m_focusBorderColor, argb)) Invalidate();
}

void CControlUI::SetBorderSize(int size)
{
    m_borderSizes = RECT{size, size, size, size};
    Invalidate();
}

void CControlUI::SetBorderSize(RECT sizes)
{
    m_borderSizes = sizes;
    Invalidate();
}

void CControlUI::SetBorderStyle(int penStyle)
{
    m_borderStyle = penStyle;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE round)
{
    m_borderRound = round;
    Invalidate();
}

void CControlUI::SetColorHSL(bool byWindowHsl)
{
    if (m_colorByWindowHsl == byWindowHsl) return;
    m_colorByWindowHsl = byWindowHsl;
    Invalidate();
}

void CControlUI::SetBkImage(const std::wstring& descriptor)
{
    if (!m_bkImage.SetDescriptor(descriptor)) return;
    if (m_manager != nullptr) {
        // Load now (no drawing) so that a floating control can take the image's size.
        DrawImageDescriptor(nullptr, *m_manager, m_item, m_paintRect, m_bkImage);
    }
    if (m_float && m_fixedSize.cx == 0 && m_fixedSize.cy == 0 && m_bkImage.image != nullptr) {
        SetRequestedWidth(m_bkImage.image->width());
        SetRequestedHeight(m_bkImage.image->height());
    }
    Invalidate();
}

}  // namespace SkinUI
