// CLineLayoutUI: the two passes of a line's placement, written along the main axis (x of a
// row); a column runs the same code on swapped coordinates. And the separator's events.
#include "ui/layouts/line_layout_ui.h"

#include <algorithm>

namespace SkinUI {
namespace {

// A child's size limits and padding along the line.
struct FlowLimits {
    SIZE fixed;
    SIZE minimum;
    SIZE maximum;
    RECT padding;

    // What the child asks for: its fixed size, or its largest where none is fixed.
    SIZE Wanted() const
    {
        return SIZE{fixed.cx >= 1 ? fixed.cx : maximum.cx, fixed.cy >= 1 ? fixed.cy : maximum.cy};
    }
};

FlowLimits LimitsOf(const CControlUI& child, LayoutAxis axis)
{
    return FlowLimits{axis.Flow(SIZE{child.GetRequestedWidth(), child.GetRequestedHeight()}),
                      axis.Flow(SIZE{child.GetMinWidth(), child.GetMinHeight()}),
                      axis.Flow(SIZE{child.GetMaxWidth(), child.GetMaxHeight()}),
                      axis.Flow(child.GetPadding())};
}

SIZE Estimate(CControlUI& child, LayoutAxis axis, SIZE limit)
{
    return axis.Flow(child.PreferredSize(axis.Flow(limit)));
}

bool LaidOut(const CControlUI& child)
{
    return child.IsVisible() && !child.IsFloat();
}

}  // namespace

// The first pass: how many children stand in the line, how many share the free length, what
// the fixed ones take and how thick the line must be.
struct CLineLayoutUI::Line {
    int children = 0;
    int adjustable = 0;
    LONG fixedLength = 0;
    LONG neededCross = 0;
    LONG share = 0;  // the length of each adjustable child but the last
};

// A scroll bar along the line and one across it, as far as they move the children.
struct CLineLayoutUI::Scroll {
    bool along = false;
    LONG alongPos = 0;
    LONG alongRange = 0;
    bool across = false;
    LONG acrossPos = 0;
    LONG acrossRange = 0;
};

CLineLayoutUI::CLineLayoutUI(LayoutAxis axis) : m_axis(axis), m_separator(axis) {}

CLineLayoutUI::Scroll CLineLayoutUI::ScrollAlong() const
{
    const CScrollBarUI* along = m_axis.vertical ? GetVerticalBar() : GetHorizontalBar();
    const CScrollBarUI* across = m_axis.vertical ? GetHorizontalBar() : GetVerticalBar();
    Scroll scroll;
    if (along != nullptr && along->IsVisible()) {
        scroll.along = true;
        scroll.alongPos = along->GetScrollPos();
        scroll.alongRange = along->GetScrollRange();
    }
    if (across != nullptr && across->IsVisible()) {
        scroll.across = true;
        scroll.acrossPos = across->GetScrollPos();
        scroll.acrossRange = across->GetScrollRange();
    }
    return scroll;
}

void CLineLayoutUI::Place(RECT rect, bool invalidate)
{
    CControlUI::Place(rect, invalidate);
    const RECT inner = InnerRect();
    if (Children().empty()) {
        UpdateScrollBars(inner, 0, 0);
        return;
    }
    const RECT flowInner = m_axis.Flow(inner);
    const Scroll scroll = ScrollAlong();
    const SIZE available = {flowInner.right - flowInner.left + scroll.alongRange,
                            flowInner.bottom - flowInner.top + scroll.acrossRange};
    const Line line = Measure(available);
    const LONG neededLength = LayOut(line, flowInner, scroll, available);
    const SIZE needed = m_axis.Flow(SIZE{neededLength, line.neededCross});
    UpdateScrollBars(inner, needed.cx, needed.cy);
}

CLineLayoutUI::Line CLineLayoutUI::Measure(SIZE available) const
{
    Line line;
    for (const ControlPtr& owned : Children()) {
        CControlUI& child = *owned;
        if (!LaidOut(child)) continue;
        ++line.children;
        const FlowLimits limits = LimitsOf(child, m_axis);
        const RECT& pad = limits.padding;
        SIZE size = {0, limits.fixed.cy};
        // A row asks only children of a fixed width for their size, a column every child.
        if (m_axis.vertical || limits.fixed.cx != 0) {
            const SIZE wanted = limits.Wanted();
            size = Estimate(child, m_axis,
                            SIZE{std::min(wanted.cx, available.cx),
                                 std::min(wanted.cy, available.cy - pad.top - pad.bottom)});
        }
        if (size.cx == 0) {
            ++line.adjustable;
        } else {
            size.cx = std::clamp(size.cx, limits.minimum.cx, limits.maximum.cx);
        }
        line.fixedLength += pad.left + pad.right + size.cx;
        const LONG cross = std::clamp(std::max(0L, size.cy), limits.minimum.cy, limits.maximum.cy);
        line.neededCross = std::max(line.neededCross, cross + pad.top + pad.bottom);
    }
    // Never negative: with every child floating there are no gaps at all.
    line.fixedLength += GetChildPadding() * std::max(0, line.children - 1);
    if (line.adjustable > 0)
        line.share = std::max(0L, (available.cx - line.fixedLength) / line.adjustable);
    return line;
}

// Where a child of thickness `extent` starts across the line, by the child alignment.
LONG CLineLayoutUI::CrossStart(const RECT& line, const Scroll& scroll, const RECT& padding,
                               LONG extent) const
{
    const int align = m_axis.vertical ? GetChildAlign() : GetChildVAlign();
    const int center = m_axis.vertical ? ChildAlignCenter : ChildVAlignCenter;
    const int end = m_axis.vertical ? ChildAlignRight : ChildVAlignBottom;
    const LONG pos = scroll.across ? scroll.acrossPos : 0;
    if (align == center) {
        const LONG middle = (line.top + line.bottom) / 2 + (scroll.acrossRange / 2 - pos);
        return middle - extent / 2;
    }
    if (align == end) return scroll.acrossRange + line.bottom - pos - padding.bottom - extent;
    return line.top - pos + padding.top;
}

// Where the second pass stands along the line.
struct CLineLayoutUI::Cursor {
    LONG x;               // where the next child's padding starts
    LONG remaining;       // the length not yet taken
    LONG fixedRemaining;  // what the fixed children, paddings and gaps still to come take
    LONG needed = 0;
    int placed = 0;
    int adjustableSeen = 0;
};

// The second pass; returns the length the children need along the line.
LONG CLineLayoutUI::LayOut(const Line& line, const RECT& flowInner, const Scroll& scroll,
                           SIZE available)
{
    Cursor cursor{flowInner.left - (scroll.along ? scroll.alongPos : 0), available.cx,
                  line.fixedLength};
    for (int i = 0; i < ChildCount(); ++i) {
        CControlUI& child = *ChildAt(i);
        if (!child.IsVisible()) continue;
        if (child.IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        PlaceInLine(child, line, cursor, flowInner, scroll, available.cy);
    }
    return cursor.needed + GetChildPadding() * std::max(0, line.children - 1);
}

// A fixed child takes its estimated length, an adjustable one its share or, the last of them,
// what the children after it leave; across, its largest size within the room.
void CLineLayoutUI::PlaceInLine(CControlUI& child, const Line& line, Cursor& cursor,
                                const RECT& flowInner, const Scroll& scroll, LONG crossRoom)
{
    const int gap = GetChildPadding();
    const FlowLimits limits = LimitsOf(child, m_axis);
    const RECT& pad = limits.padding;
    cursor.remaining -= pad.left;
    const LONG crossLimit = crossRoom - pad.top - pad.bottom;
    const SIZE wanted = limits.Wanted();
    const SIZE limit = {std::min(wanted.cx, cursor.remaining), std::min(wanted.cy, crossLimit)};
    cursor.fixedRemaining -= pad.left + pad.right + (cursor.placed++ > 0 ? gap : 0);
    const SIZE size = Estimate(child, m_axis, limit);
    LONG length = line.share;
    if ((m_axis.vertical || limits.fixed.cx != 0) && size.cx != 0) {
        length = size.cx;
        cursor.fixedRemaining -= std::clamp(length, limits.minimum.cx, limits.maximum.cx);
    } else if (++cursor.adjustableSeen == line.adjustable) {
        length = std::max(0L, cursor.remaining - pad.right - cursor.fixedRemaining);
    }
    length = std::clamp(length, limits.minimum.cx, limits.maximum.cx);
    LONG cross = limits.maximum.cy != 0 ? limits.maximum.cy : crossLimit;
    cross = std::max(std::min(std::max(0L, cross), limit.cy), limits.minimum.cy);
    const LONG top = CrossStart(flowInner, scroll, pad, cross);
    const LONG left = cursor.x + pad.left;
    child.Place(m_axis.Flow(RECT{left, top, left + length, top + cross}), false);
    cursor.x += pad.left + length + gap + pad.right;
    cursor.needed += length + pad.left + pad.right;
    cursor.remaining -= length + gap + pad.right;
}

UINT CLineLayoutUI::GetFlags() const
{
    return CContainerUI::GetFlags() | m_separator.Flags(*this);
}

void CLineLayoutUI::SetSeparatorSize(int size)
{
    m_separator.SetSize(size);
    Invalidate();
}

void CLineLayoutUI::HandleEvent(ControlEvent& event)
{
    if (m_separator.HandleEvent(*this, event)) return;
    CContainerUI::HandleEvent(event);
}

void CLineLayoutUI::DrawAfter(HDC dc, const RECT& paint)
{
    CContainerUI::DrawAfter(dc, paint);
    m_separator.DrawAfter(dc);
}

}  // namespace SkinUI
