// CContainerUI: placing children (floating ones by their fixed place and anchors, the others
// over the inner rectangle), the scroll bars and scrolling, and the container's events
// (mouse events passed up when it takes no mouse, keys and the wheel that scroll).
#include "ui/layouts/container_ui.h"

#include "ui/core/ui_manager.h"

#include <algorithm>

namespace SkinUI {

void CContainerUI::PlaceFloatingChild(int index)
{
    CControlUI* child = ChildAt(index);
    if (child == nullptr || !child->IsVisible() || !child->IsFloat()) return;
    const LONG width = GetWidth();
    const LONG height = GetHeight();
    const SIZE offset = child->GetFixedOffset();
    const FloatAnchors anchors = child->GetFloatAnchors();
    // Relative to this container: the child's Place adds its top-left corner.
    const RECT place = {
        AnchorPart(anchors.left, width) + offset.cx, AnchorPart(anchors.top, height) + offset.cy,
        AnchorPart(anchors.right, width) + offset.cx + child->GetRequestedWidth(),
        AnchorPart(anchors.bottom, height) + offset.cy + child->GetRequestedHeight()};
    child->Place(place, false);
}

void CContainerUI::Place(RECT rect, bool invalidate)
{
    CControlUI::Place(rect, invalidate);
    if (m_children.empty()) return;
    PlaceChildren(InnerRect());
}

// Every laid-out child covers the inner rectangle (moved by the scroll position) within its
// own limits; nothing needs more room than there is.
void CContainerUI::PlaceChildren(RECT inner)
{
    const RECT unscrolled = inner;
    const SIZE pos = GetScrollPos();
    const SIZE range = GetScrollRange();
    inner.top -= pos.cy;
    inner.bottom += range.cy - pos.cy;
    inner.left -= pos.cx;
    inner.right += range.cx - pos.cx;
    for (int i = 0; i < ChildCount(); ++i) {
        CControlUI& child = *m_children[static_cast<size_t>(i)];
        if (!child.IsVisible()) continue;
        if (child.IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        const LONG width =
            std::clamp<LONG>(inner.right - inner.left, child.GetMinWidth(), child.GetMaxWidth());
        const LONG height =
            std::clamp<LONG>(inner.bottom - inner.top, child.GetMinHeight(), child.GetMaxHeight());
        child.Place(RECT{inner.left, inner.top, inner.left + width, inner.top + height}, false);
    }
    UpdateScrollBars(unscrolled, 0, 0);
}

namespace {

// Ranges `bar` by what `needed` exceeds `room`; true when that showed or hid it or moved its
// position (a smaller range pulls the position back).
bool RangeBar(CScrollBarUI& bar, int needed, int room)
{
    const bool shown = bar.GetScrollRange() > 0;
    const int pos = bar.GetScrollPos();
    bar.SetScrollRange(needed - room);
    return shown != (bar.GetScrollRange() > 0) || pos != bar.GetScrollPos();
}

}  // namespace

void CContainerUI::UpdateScrollBars(const RECT& inner, int neededWidth, int neededHeight)
{
    bool changed = false;
    if (m_verticalBar) {
        CScrollBarUI& bar = *m_verticalBar;
        changed = RangeBar(bar, neededHeight, inner.bottom - inner.top) || changed;
        bar.Place(RECT{inner.right, inner.top, inner.right + bar.GetRequestedWidth(), inner.bottom},
                  false);
    }
    if (m_horizontalBar) {
        CScrollBarUI& bar = *m_horizontalBar;
        changed = RangeBar(bar, neededWidth, inner.right - inner.left) || changed;
        bar.Place(
            RECT{inner.left, inner.bottom, inner.right, inner.bottom + bar.GetRequestedHeight()},
            false);
    }
    // A bar that came or went changes the room the children have, a position pulled back
    // moves them: place them once more (only once: the guard stops a second round).
    if (!changed || m_scrollProcessing) return;
    m_scrollProcessing = true;
    PlaceAgain();
    m_scrollProcessing = false;
}

// Place at the current place; a floating container's Place takes it relative to its parent.
void CContainerUI::PlaceAgain()
{
    const bool relative = IsFloat() && GetParent() != nullptr;
    Place(relative ? GetPosInParent() : GetRect(), true);
}

CContainerUI::BarPtr CContainerUI::MakeBar(bool horizontal)
{
    BarPtr bar(new CScrollBarUI(horizontal));
    if (CUIManager* manager = GetWindowManager()) {
        manager->AdoptControls(bar.get(), this);
        if (const std::wstring* list =
                manager->DefaultAttributes(horizontal ? L"HScrollBar" : L"VScrollBar"))
            bar->ApplyAttributeList(*list);
    } else {
        bar->SetWindowManager(nullptr, this, false);
    }
    return bar;
}

void CContainerUI::SetScrollBars(bool vertical, bool horizontal)
{
    if (vertical && !m_verticalBar) m_verticalBar = MakeBar(false);
    if (!vertical) m_verticalBar.reset();
    if (horizontal && !m_horizontalBar) m_horizontalBar = MakeBar(true);
    if (!horizontal) m_horizontalBar.reset();
    MarkNeedUpdate();
}

CScrollBarUI* CContainerUI::GetVerticalBar() const
{
    return m_verticalBar.get();
}

CScrollBarUI* CContainerUI::GetHorizontalBar() const
{
    return m_horizontalBar.get();
}

SIZE CContainerUI::GetScrollPos() const
{
    return SIZE{m_horizontalBar ? m_horizontalBar->GetScrollPos() : 0,
                m_verticalBar ? m_verticalBar->GetScrollPos() : 0};
}

SIZE CContainerUI::GetScrollRange() const
{
    return SIZE{m_horizontalBar ? m_horizontalBar->GetScrollRange() : 0,
                m_verticalBar ? m_verticalBar->GetScrollRange() : 0};
}

void CContainerUI::SetScrollPos(SIZE pos)
{
    const SIZE old = GetScrollPos();
    if (m_horizontalBar) m_horizontalBar->SetScrollPos(pos.cx);
    if (m_verticalBar) m_verticalBar->SetScrollPos(pos.cy);
    const SIZE now = GetScrollPos();
    if (now.cx != old.cx || now.cy != old.cy) PlaceAgain();
}

void CContainerUI::ScrollBy(int dx, int dy)
{
    const SIZE pos = GetScrollPos();
    SetScrollPos(SIZE{pos.cx + dx, pos.cy + dy});
}

namespace {

int LineOf(const CScrollBarUI* bar)
{
    return bar != nullptr ? bar->GetLineSize() : 0;
}

}  // namespace

void CContainerUI::ScrollLineUp()
{
    ScrollBy(0, -LineOf(m_verticalBar.get()));
}

void CContainerUI::ScrollLineDown()
{
    ScrollBy(0, LineOf(m_verticalBar.get()));
}

void CContainerUI::ScrollPageUp()
{
    const RECT inner = InnerRect();
    ScrollBy(0, -(inner.bottom - inner.top));
}

void CContainerUI::ScrollPageDown()
{
    const RECT inner = InnerRect();
    ScrollBy(0, inner.bottom - inner.top);
}

void CContainerUI::ScrollToTop()
{
    SetScrollPos(SIZE{GetScrollPos().cx, 0});
}

void CContainerUI::ScrollToBottom()
{
    SetScrollPos(SIZE{GetScrollPos().cx, GetScrollRange().cy});
}

void CContainerUI::ScrollLineLeft()
{
    ScrollBy(-LineOf(m_horizontalBar.get()), 0);
}

void CContainerUI::ScrollLineRight()
{
    ScrollBy(LineOf(m_horizontalBar.get()), 0);
}

void CContainerUI::ScrollPageLeft()
{
    const RECT inner = InnerRect();
    ScrollBy(-(inner.right - inner.left), 0);
}

void CContainerUI::ScrollPageRight()
{
    const RECT inner = InnerRect();
    ScrollBy(inner.right - inner.left, 0);
}

void CContainerUI::ScrollToLeftEnd()
{
    SetScrollPos(SIZE{0, GetScrollPos().cy});
}

void CContainerUI::ScrollToRightEnd()
{
    SetScrollPos(SIZE{GetScrollRange().cx, GetScrollPos().cy});
}

namespace {

bool Usable(const CScrollBarUI* bar)
{
    return bar != nullptr && bar->IsVisible() && bar->IsEnabled();
}

}  // namespace

void CContainerUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
        if (CControlUI* parent = GetParent()) {
            parent->HandleEvent(event);
        } else {
            CControlUI::HandleEvent(event);
        }
        return;
    }
    switch (event.kind) {
    case EventKind::SetFocus:
    case EventKind::KillFocus:
        // Nothing a container draws shows the focus.
        SetFocusedFlag(event.kind == EventKind::SetFocus);
        return;
    case EventKind::KeyDown:
        if (IsKeyboardEnabled() && IsEnabled() && ScrollWithKey(event.key)) return;
        break;
    case EventKind::ScrollWheel: ScrollWithWheel(event); return;
    default: break;
    }
    CControlUI::HandleEvent(event);
}

// Page Up, Page Down, End, Home, Up and Down scroll the vertical bar, or without one the
// horizontal bar (Up and Down then going left and right); false for other keys.
bool CContainerUI::ScrollWithKey(wchar_t key)
{
    const bool vertical = Usable(m_verticalBar.get());
    if (!vertical && !Usable(m_horizontalBar.get())) return false;
    switch (key) {
    case VK_PRIOR: vertical ? ScrollPageUp() : ScrollPageLeft(); return true;
    case VK_NEXT: vertical ? ScrollPageDown() : ScrollPageRight(); return true;
    case VK_END: vertical ? ScrollToBottom() : ScrollToRightEnd(); return true;
    case VK_HOME: vertical ? ScrollToTop() : ScrollToLeftEnd(); return true;
    case VK_UP: vertical ? ScrollLineUp() : ScrollLineLeft(); return true;
    case VK_DOWN: vertical ? ScrollLineDown() : ScrollLineRight(); return true;
    default: return false;
    }
}

// Code 0 scrolls back (up or left), 1 forward. Over the horizontal bar, or without a vertical
// bar, the wheel goes sideways; with no bar to move nothing happens.
void CContainerUI::ScrollWithWheel(const ControlEvent& event)
{
    const bool forward = event.wParam != 0;
    CScrollBarUI* horizontal = m_horizontalBar.get();
    const RECT horizontalRect = horizontal != nullptr ? horizontal->GetRect() : RECT{};
    const bool overHorizontal = Usable(horizontal) && PtInRect(&horizontalRect, event.mouse);
    if (!overHorizontal && Usable(m_verticalBar.get())) {
        forward ? ScrollLineDown() : ScrollLineUp();
        return;
    }
    if (!Usable(horizontal)) return;
    forward ? ScrollLineRight() : ScrollLineLeft();
}

}  // namespace SkinUI
