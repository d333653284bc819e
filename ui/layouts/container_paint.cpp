// CContainerUI: painting (the container's own drawing, then its children in list order within
// the inner rectangle, floating ones allowed over the inset, then the bars) and searching the
// tree (children last to first with the top-first flag).
#include "ui/layouts/container_ui.h"

#include "ui/render/clip.h"

namespace SkinUI {
namespace {

bool Meets(const RECT& a, const RECT& b)
{
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

}  // namespace

bool CContainerUI::DrawContent(HDC dc, const RECT& paint, CControlUI* stop)
{
    RECT outer;
    const RECT item = GetRect();
    if (!IntersectRect(&outer, &paint, &item)) return true;
    ClipRegion clip = RectClip(dc, outer);
    CControlUI::DrawContent(dc, paint, stop);
    if (!m_children.empty() && !PaintChildren(dc, paint, stop)) return false;
    return PaintBars(dc, paint, stop);
}

// Laid-out children only where they meet the inner rectangle, clipped to it; floating ones
// wherever they meet the container, under the container's own clip.
bool CContainerUI::PaintChildren(HDC dc, const RECT& paint, CControlUI* stop)
{
    const RECT inner = InnerRect();
    RECT innerPaint;
    const bool meetsInner = IntersectRect(&innerPaint, &paint, &inner) != FALSE;
    ClipRegion innerClip;
    if (meetsInner) innerClip = RectClip(dc, innerPaint);
    for (const ControlPtr& owned : m_children) {
        CControlUI& child = *owned;
        if (&child == stop) return false;
        if (!child.IsVisible() || !Meets(child.GetRect(), paint)) continue;
        if (child.IsFloat()) {
            if (!PaintFloating(child, dc, paint, stop, meetsInner ? &innerClip : nullptr))
                return false;
            continue;
        }
        if (!meetsInner || !Meets(child.GetRect(), inner)) continue;
        if (!child.PaintTo(dc, paint, stop)) return false;
    }
    return true;
}

bool CContainerUI::PaintFloating(CControlUI& child, HDC dc, const RECT& paint, CControlUI* stop,
                                 const ClipRegion* inner)
{
    if (!Meets(child.GetRect(), GetRect())) return true;
    if (inner != nullptr) inner->UsePrevious();
    const bool goOn = child.PaintTo(dc, paint, stop);
    if (inner != nullptr) inner->UseNew();
    return goOn;
}

bool CContainerUI::PaintBars(HDC dc, const RECT& paint, CControlUI* stop)
{
    for (CScrollBarUI* bar : {m_verticalBar.get(), m_horizontalBar.get()}) {
        if (bar == nullptr) continue;
        if (bar == stop) return false;
        if (bar->IsVisible() && Meets(bar->GetRect(), paint) && !bar->PaintTo(dc, paint, stop))
            return false;
    }
    return true;
}

CControlUI* CContainerUI::SearchTree(SearchPredicate predicate, void* data, UINT flags)
{
    if ((flags & SearchVisible) != 0 && !IsVisible()) return nullptr;
    if ((flags & SearchEnabled) != 0 && !IsEnabled()) return nullptr;
    const bool hitTest = (flags & SearchHitTest) != 0;
    const RECT item = GetRect();
    if (hitTest && !PtInRect(&item, *static_cast<const POINT*>(data))) return nullptr;
    if ((flags & SearchUpdateTest) != 0 && predicate(this, data) != nullptr) return nullptr;
    // Under a hit test the container answers only when it takes the mouse, its overlay and
    // children only when children do.
    const bool mayAsk = !hitTest || IsMouseEnabled();
    const bool childrenMayAnswer = !hitTest || m_childrenTakeMouse;
    if ((flags & SearchMeFirst) != 0 && mayAsk) {
        if (CControlUI* found = predicate(this, data)) return found;
    }
    CControlUI* overlay = GetOverlay();
    if (overlay != nullptr && childrenMayAnswer) {
        if (CControlUI* found = overlay->SearchTree(predicate, data, flags)) return found;
    }
    for (CScrollBarUI* bar : {m_verticalBar.get(), m_horizontalBar.get()}) {
        if (bar == nullptr || !mayAsk) continue;
        if (CControlUI* found = bar->SearchTree(predicate, data, flags)) return found;
    }
    if (childrenMayAnswer) {
        if (CControlUI* found = SearchChildren(predicate, data, flags)) return found;
    }
    if ((flags & SearchMeFirst) == 0 && mayAsk) return predicate(this, data);
    return nullptr;
}

// Last to first with the top-first flag (what is painted last is hit first). Under a hit
// test a laid-out control answers only inside the inner rectangle; a floating one anywhere.
CControlUI* CContainerUI::SearchChildren(SearchPredicate predicate, void* data, UINT flags)
{
    const bool topFirst = (flags & SearchTopFirst) != 0;
    const bool hitTest = (flags & SearchHitTest) != 0;
    const RECT inner = InnerRect();
    const size_t count = m_children.size();
    for (size_t i = 0; i < count; ++i) {
        CControlUI& child = *m_children[topFirst ? count - 1 - i : i];
        CControlUI* found = child.SearchTree(predicate, data, flags);
        if (found == nullptr) continue;
        if (!hitTest || found->IsFloat() || PtInRect(&inner, *static_cast<const POINT*>(data)))
            return found;
    }
    return nullptr;
}

}  // namespace SkinUI
