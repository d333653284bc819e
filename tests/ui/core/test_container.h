// TestContainer: the smallest container the control base and paint manager tests need,
// standing in until real containers exist. It owns its children, places a floating child by
// its anchors and fixed place and any other child over its whole rectangle (or at its fixed
// size from the top-left), paints them in order after itself and searches them last to first
// with the top-first flag, first to last without it.
#pragma once

#include "ui/core/control_ui.h"

#include <cstddef>
#include <vector>

namespace SkinUI::Testing {

class TestContainer : public CControlUI {
public:
    // Takes the child; the manager (if any) adopts it with this container as its parent.
    CControlUI* Add(ControlPtr child);
    CControlUI* ChildAt(std::size_t index) const;
    std::size_t Count() const { return m_children.size(); }

    std::wstring GetClassName() const override { return L"TestContainer"; }
    void SetWindowManager(CUIManager* manager, CControlUI* parent, bool init = true) override;
    void Place(RECT rect, bool invalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInnerVisible(bool visible = true) override;
    CControlUI* SearchTree(SearchPredicate predicate, void* data, UINT flags) override;
    bool DrawContent(HDC dc, const RECT& paint, CControlUI* stop) override;

protected:
    ~TestContainer() override = default;

private:
    RECT ChildPlace(const CControlUI& child) const;
    CControlUI* SearchChildren(SearchPredicate predicate, void* data, UINT flags);

    std::vector<ControlPtr> m_children;
};

}  // namespace SkinUI::Testing
