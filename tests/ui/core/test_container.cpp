// TestContainer; see test_container.h.
#include "tests/ui/core/test_container.h"

#include "ui/core/ui_manager.h"

#include <cmath>

namespace SkinUI::Testing {

CControlUI* TestContainer::Add(ControlPtr child)
{
    if (!child) return nullptr;
    CControlUI* added = child.get();
    if (CUIManager* manager = GetWindowManager()) {
        manager->AdoptControls(added, this);
    } else {
        added->SetWindowManager(nullptr, this, false);
    }
    m_children.push_back(std::move(child));
    if (IsVisible()) {
        MarkNeedUpdate();
    } else {
        added->SetInnerVisible(false);
    }
    return added;
}

CControlUI* TestContainer::ChildAt(std::size_t index) const
{
    return index < m_children.size() ? m_children[index].get() : nullptr;
}

void TestContainer::SetWindowManager(CUIManager* manager, CControlUI* parent, bool init)
{
    for (const ControlPtr& child : m_children) child->SetWindowManager(manager, this, init);
    CControlUI::SetWindowManager(manager, parent, init);
}

RECT TestContainer::ChildPlace(const CControlUI& child) const
{
    const SIZE offset = child.GetFixedOffset();
    const LONG cx = child.GetRequestedWidth();
    const LONG cy = child.GetRequestedHeight();
    if (child.IsFloat()) {
        // Relative to this container, which Place of a floating child expects.
        const FloatAnchors anchors = child.GetFloatAnchors();
        const LONG w = GetWidth();
        const LONG h = GetHeight();
        const auto part = [](double f, LONG n) { return static_cast<LONG>(std::trunc(f * n)); };
        return RECT{part(anchors.left, w) + offset.cx, part(anchors.top, h) + offset.cy,
                    part(anchors.right, w) + offset.cx + cx,
                    part(anchors.bottom, h) + offset.cy + cy};
    }
    const RECT r = GetRect();
    return RECT{r.left, r.top, cx > 0 ? r.left + cx : r.right, cy > 0 ? r.top + cy : r.bottom};
}

void TestContainer::Place(RECT rect, bool invalidate)
{
    CControlUI::Place(rect, invalidate);
    for (const ControlPtr& child : m_children) {
        if (child->IsVisible()) child->Place(ChildPlace(*child), false);
    }
}

void TestContainer::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    for (const ControlPtr& child : m_children) child->SetInnerVisible(IsVisible());
}

void TestContainer::SetInnerVisible(bool visible)
{
    CControlUI::SetInnerVisible(visible);
    for (const ControlPtr& child : m_children) child->SetInnerVisible(IsVisible());
}

CControlUI* TestContainer::SearchChildren(SearchPredicate predicate, void* data, UINT flags)
{
    const bool topFirst = (flags & SearchTopFirst) != 0;
    const std::size_t count = m_children.size();
    for (std::size_t i = 0; i < count; ++i) {
        CControlUI& child = *m_children[topFirst ? count - 1 - i : i];
        if (CControlUI* found = child.SearchTree(predicate, data, flags)) return found;
    }
    return nullptr;
}

CControlUI* TestContainer::SearchTree(SearchPredicate predicate, void* data, UINT flags)
{
    if ((flags & SearchVisible) != 0 && !IsVisible()) return nullptr;
    if ((flags & SearchEnabled) != 0 && !IsEnabled()) return nullptr;
    const RECT r = GetRect();
    if ((flags & SearchHitTest) != 0 && !PtInRect(&r, *static_cast<const POINT*>(data))) {
        return nullptr;
    }
    if ((flags & SearchUpdateTest) != 0 && predicate(this, data) != nullptr) return nullptr;
    const bool mayAsk = (flags & SearchHitTest) == 0 || IsMouseEnabled();
    if ((flags & SearchMeFirst) != 0 && mayAsk) {
        if (CControlUI* found = predicate(this, data)) return found;
    }
    if (CControlUI* overlay = GetOverlay()) {
        if (CControlUI* found = overlay->SearchTree(predicate, data, flags)) return found;
    }
    if (CControlUI* found = SearchChildren(predicate, data, flags)) return found;
    if ((flags & SearchMeFirst) == 0 && mayAsk) return predicate(this, data);
    return nullptr;
}

bool TestContainer::DrawContent(HDC dc, const RECT& paint, CControlUI* stop)
{
    CControlUI::DrawContent(dc, paint, stop);
    for (const ControlPtr& child : m_children) {
        if (child.get() == stop) return false;
        if (!child->IsVisible()) continue;
        if (!child->PaintTo(dc, paint, stop)) return false;
    }
    return true;
}

}  // namespace SkinUI::Testing
