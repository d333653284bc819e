// CControlUI placement: Place with float anchors, Offset, the overlay's place, and the
// invalidation that is clipped by every ancestor.
#include "ui/core/control_ui.h"

#include "ui/core/ui_manager.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {
namespace {

// Far beyond any screen, and far enough below the limits of LONG that sums of a few
// coordinates and parts cannot overflow.
constexpr double kPartLimit = 1 << 24;

// A fraction of a length, truncated toward zero; absurd anchors are held within the limit
// (a double beyond the range of LONG cannot be converted at all).
LONG Part(double fraction, LONG length)
{
    return static_cast<LONG>(std::clamp(std::trunc(fraction * length), -kPartLimit, kPartLimit));
}

RECT Normalized(RECT rect)
{
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    return rect;
}

}  // namespace

LONG AnchorPart(double fraction, LONG length)
{
    return Part(fraction, length);
}

void CControlUI::Place(RECT rect, bool invalidate)
{
    rect = Normalized(rect);
    const RECT old = m_item;
    if (m_float && m_parent != nullptr) {
        PlaceFloating(rect);
    } else if (!m_float) {
        m_item = rect;
    }
    if (m_manager == nullptr) return;
    FireSizeListeners();
    m_updateNeeded = false;
    if (invalidate && IsVisible()) {
        // The old place and the new one (only the new one the first time).
        RECT area = m_item;
        if (!IsRectEmpty(&old)) UnionRect(&area, &old, &m_item);
        if (!InvalidateThroughAncestors(area)) return;
    }
    if (m_overlay && m_overlay->IsVisible()) PlaceOverlay();
}

// `rect` is relative to the parent. The fixed place is rewritten from where the control
// lands, so that a later layout pass (the parent resized, or a picture moved by the program)
// keeps it there.
void CControlUI::PlaceFloating(const RECT& rect)
{
    const RECT parent = m_parent->GetRect();
    const LONG width = parent.right - parent.left;
    const LONG height = parent.bottom - parent.top;
    m_item = rect;
    OffsetRect(&m_item, parent.left, parent.top);
    m_fixedOffset.cx = rect.left - Part(m_anchors.left, width);
    m_fixedOffset.cy = rect.top - Part(m_anchors.top, height);
    m_fixedSize.cx = rect.right - Part(m_anchors.right, width) - m_fixedOffset.cx;
    m_fixedSize.cy = rect.bottom - Part(m_anchors.bottom, height) - m_fixedOffset.cy;
}

void CControlUI::FireSizeListeners()
{
    if (m_firingSize) return;
    m_firingSize = true;
    OnSize.Fire(this);
    m_firingSize = false;
}

// The overlay covers the item rectangle (for a floating control too, whose `rect` given to
// Place is relative to its parent).
void CControlUI::PlaceOverlay()
{
    const RECT& rect = m_item;
    CControlUI& overlay = *m_overlay;
    if (overlay.IsFloat()) {
        const FloatAnchors anchors = overlay.GetFloatAnchors();
        const SIZE offset = overlay.GetFixedOffset();
        const LONG width = GetWidth();
        const LONG height = GetHeight();
        RECT place;
        place.left = Part(anchors.left, width) + offset.cx;
        place.top = Part(anchors.top, height) + offset.cy;
        place.right = Part(anchors.right, width) + offset.cx + overlay.GetRequestedWidth();
        place.bottom = Part(anchors.bottom, height) + offset.cy + overlay.GetRequestedHeight();
        overlay.Place(place, false);
        return;
    }
    const LONG width =
        std::clamp<LONG>(rect.right - rect.left, overlay.GetMinWidth(), overlay.GetMaxWidth());
    const LONG height =
        std::clamp<LONG>(rect.bottom - rect.top, overlay.GetMinHeight(), overlay.GetMaxHeight());
    overlay.Place(RECT{rect.left, rect.top, rect.left + width, rect.top + height}, false);
}

void CControlUI::Offset(int dx, int dy, bool invalidate)
{
    RECT area = m_item;
    OffsetRect(&m_item, dx, dy);
    // The overlay moves whatever the invalidation decides: it covers this control.
    if (m_overlay && m_overlay->IsVisible()) m_overlay->Offset(dx, dy, false);
    if (!invalidate || m_manager == nullptr || !IsVisible()) return;
    UnionRect(&area, &area, &m_item);
    InvalidateThroughAncestors(area);
}

void CControlUI::Invalidate()
{
    if (!IsVisible()) return;
    InvalidateThroughAncestors(m_item);
}

bool CControlUI::InvalidateThroughAncestors(RECT area)
{
    for (CControlUI* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->GetParent()) {
        if (!ancestor->IsVisible()) return false;
        const RECT clip = ancestor->GetRect();
        if (!IntersectRect(&area, &area, &clip)) return false;
    }
    if (m_manager != nullptr) m_manager->InvalidateArea(area);
    return true;
}

void CControlUI::MarkNeedUpdate()
{
    if (!IsVisible()) return;
    m_updateNeeded = true;
    Invalidate();
    if (m_manager != nullptr) m_manager->RequestLayout();
}

void CControlUI::MarkParentNeedUpdate()
{
    if (m_parent != nullptr) {
        m_parent->MarkNeedUpdate();
        m_parent->Invalidate();
    } else {
        MarkNeedUpdate();
    }
    if (m_manager != nullptr) m_manager->RequestLayout();
}

}  // namespace SkinUI
