// LayoutSeparator; see layout_separator.h. Computed along the layout's axis: "left" and
// "right" below are the top and bottom of a vertical layout.
#include "ui/layouts/layout_separator.h"

#include "ui/core/ui_manager.h"
#include "ui/render/fill_and_stroke.h"

#include <algorithm>

namespace SkinUI {

RECT LayoutSeparator::Strip(const RECT& item) const
{
    RECT flow = m_axis.Flow(item);
    if (m_size < 0) {
        flow.right = std::min<LONG>(flow.right, flow.left - m_size);
    } else {
        flow.left = std::max<LONG>(flow.left, flow.right - m_size);
    }
    if (m_size == 0) flow.right = flow.left;
    return m_axis.Flow(flow);
}

UINT LayoutSeparator::Flags(const CControlUI& layout) const
{
    return m_size != 0 && layout.IsEnabled() ? ControlFlagSetsCursor : 0;
}

bool LayoutSeparator::OnStrip(const CControlUI& layout, POINT point) const
{
    const RECT strip = Strip(layout.GetRect());
    return m_size != 0 && layout.IsEnabled() && PtInRect(&strip, point);
}

bool LayoutSeparator::HandleEvent(CControlUI& layout, const ControlEvent& event)
{
    switch (event.kind) {
    case EventKind::SetCursor:
        if (!OnStrip(layout, event.mouse)) return false;
        SetCursor(LoadCursorW(nullptr, m_axis.vertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    case EventKind::ButtonDown:
        if (!OnStrip(layout, event.mouse)) return false;
        StartDrag(layout, event.mouse);
        return true;
    case EventKind::MouseMove:
        if (!m_dragging) return false;
        Drag(layout, event.mouse);
        return true;
    case EventKind::ButtonUp:
        if (!m_dragging) return false;
        EndDrag(layout);
        return true;
    default: return false;
    }
}

void LayoutSeparator::StartDrag(CControlUI& layout, POINT point)
{
    m_dragging = true;
    m_last = point;
    m_dragRect = layout.GetRect();
    CUIManager* manager = layout.GetWindowManager();
    if (!m_immediate && manager != nullptr) manager->AddAfterPaint(&layout);
}

// The edge with the strip follows the pointer, the layout's length held within its limits.
void LayoutSeparator::Drag(CControlUI& layout, POINT point)
{
    const LONG moved = m_axis.Flow(point).x - m_axis.Flow(m_last).x;
    m_last = point;
    const RECT oldStrip = Strip(m_dragRect);
    const SIZE minimum = m_axis.Flow(SIZE{layout.GetMinWidth(), layout.GetMinHeight()});
    const SIZE maximum = m_axis.Flow(SIZE{layout.GetMaxWidth(), layout.GetMaxHeight()});
    RECT flow = m_axis.Flow(m_dragRect);
    if (m_size < 0) {
        flow.left += moved;
    } else {
        flow.right += moved;
    }
    const LONG length = std::clamp<LONG>(flow.right - flow.left, minimum.cx, maximum.cx);
    if (m_size < 0) {
        flow.left = flow.right - length;
    } else {
        flow.right = flow.left + length;
    }
    m_dragRect = m_axis.Flow(flow);
    if (m_immediate) {
        SetLength(layout, length);
        return;
    }
    RECT strips;
    const RECT newStrip = Strip(m_dragRect);
    UnionRect(&strips, &oldStrip, &newStrip);
    if (CUIManager* manager = layout.GetWindowManager()) manager->InvalidateArea(strips);
}

void LayoutSeparator::EndDrag(CControlUI& layout)
{
    m_dragging = false;
    if (CUIManager* manager = layout.GetWindowManager()) {
        RECT strips;
        const RECT oldStrip = Strip(m_dragRect);
        const RECT item = layout.GetRect();
        UnionRect(&strips, &oldStrip, &item);
        manager->InvalidateArea(strips);
    }
    const RECT flow = m_axis.Flow(m_dragRect);
    SetLength(layout, flow.right - flow.left);
}

// The new fixed length; the parent (or, for a root layout, the window) lays out again.
void LayoutSeparator::SetLength(CControlUI& layout, LONG length) const
{
    if (m_axis.vertical) {
        layout.SetRequestedHeight(length);
    } else {
        layout.SetRequestedWidth(length);
    }
    layout.MarkParentNeedUpdate();
}

void LayoutSeparator::DrawAfter(HDC dc) const
{
    if (!m_dragging || m_immediate) return;
    FillColor(dc, Strip(m_dragRect), kDragColor);
}

}  // namespace SkinUI
