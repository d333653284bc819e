// CContainerUI: a control that owns an ordered list of children and places, paints and
// searches them, with an inset, a padding between laid-out children, their alignment and two
// optional scroll bars. IContainerUI is the list's interface. The list order is the paint
// order; hit tests run from the last child to the first, so later siblings win.
//
// Ownership: the container owns its children (ControlPtr) and its scroll bars. A child that
// leaves the list is forgotten by the paint manager at once (its name, hot, pushed and focus
// state, timers, post-paint and native window entries), so a replacement of the same name is
// found; it is then destroyed, or handed to the manager's deferred deletion, or handed back
// to the caller (DetachChild).
#pragma once

#include "ui/core/control_ui.h"
#include "ui/layouts/scroll_bar_ui.h"

#include <memory>
#include <vector>

namespace SkinUI {

class ClipRegion;

class IContainerUI {
public:
    // Null for an index out of range.
    virtual CControlUI* ChildAt(int index) const = 0;
    // -1 when `control` is not a child.
    virtual int IndexOfChild(const CControlUI* control) const = 0;
    // Moves a child to `index` (0 to ChildCount() - 1); false for a stranger or a bad index.
    virtual bool MoveChild(CControlUI* control, int index) = 0;
    // Moves `count` children starting at `first` so that they start at `index`; false when
    // the run or its new place runs past the end.
    virtual bool MoveChildRun(CControlUI* first, int count, int index) = 0;
    virtual int ChildCount() const = 0;
    // Appends or inserts (at 0 to ChildCount()) a child. The manager, if there is one yet,
    // adopts it with this container as parent. Returns the child, or null when refused (a
    // null control, a bad index): a refused control is destroyed.
    virtual CControlUI* AddChild(ControlPtr control) = 0;
    virtual CControlUI* InsertChild(ControlPtr control, int index) = 0;
    // Takes a child out of the list and destroys it (through the manager's deferred deletion
    // when it defers destruction); false for a stranger or a bad index.
    virtual bool RemoveChild(CControlUI* control) = 0;
    virtual bool RemoveChildAt(int index) = 0;
    // Takes a child out of the list without destroying it: it is handed back with neither
    // manager nor parent (null for a stranger or a bad index).
    virtual ControlPtr DetachChild(CControlUI* control) = 0;
    virtual ControlPtr DetachChildAt(int index) = 0;
    virtual void RemoveAllChildren() = 0;

protected:
    ~IContainerUI() = default;
};

// Vertical alignment of children in a row ("childvalign") and horizontal alignment in a
// column ("childalign"), as skins number them.
constexpr int ChildAlignLeft = 0;
constexpr int ChildAlignCenter = 1;
constexpr int ChildAlignRight = 2;
constexpr int ChildVAlignTop = 0;
constexpr int ChildVAlignCenter = 4;
constexpr int ChildVAlignBottom = 8;

class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();

    // --- IContainerUI ----------------------------------------------------------------------
    CControlUI* ChildAt(int index) const override;
    int IndexOfChild(const CControlUI* control) const override;
    bool MoveChild(CControlUI* control, int index) override;
    bool MoveChildRun(CControlUI* first, int count, int index) override;
    int ChildCount() const override;
    CControlUI* AddChild(ControlPtr control) override;
    CControlUI* InsertChild(ControlPtr control, int index) override;
    bool RemoveChild(CControlUI* control) override;
    bool RemoveChildAt(int index) override;
    ControlPtr DetachChild(CControlUI* control) override;
    ControlPtr DetachChildAt(int index) override;
    void RemoveAllChildren() override;

    // --- the control ------------------------------------------------------------------------
    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    // The item rectangle less the inset and the visible scroll bars.
    RECT GetContentRect() const override;
    // Children and bars first (with this container as their parent), then the container.
    void SetWindowManager(CUIManager* manager, CControlUI* parent, bool init = true) override;
    void SetVisible(bool visible = true) override;
    void SetInnerVisible(bool visible = true) override;
    void SetMouseEnabled(bool enabled = true) override;
    void Place(RECT rect, bool invalidate = true) override;
    void Offset(int dx, int dy, bool invalidate = true) override;
    CControlUI* SearchTree(SearchPredicate predicate, void* data, UINT flags) override;
    void HandleEvent(ControlEvent& event) override;
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override;
    bool DrawContent(HDC dc, const RECT& paint, CControlUI* stop) override;

    // --- the container ----------------------------------------------------------------------
    virtual RECT GetInset() const;
    virtual void SetInset(RECT inset);
    virtual int GetChildPadding() const;
    // A negative padding becomes 0.
    virtual void SetChildPadding(int padding);
    virtual int GetChildAlign() const;
    virtual void SetChildAlign(int align);
    virtual int GetChildVAlign() const;
    virtual void SetChildVAlign(int align);
    // Off: whoever turns it off owns the children and destroys them; removing a child (or
    // destroying the container) then only lets go of it.
    virtual bool OwnsChildren() const;
    virtual void SetOwnsChildren(bool owns);
    virtual bool DefersDestruction() const;
    virtual void SetDefersDestruction(bool defers);
    // Whether children take part in hit tests ("mousechild").
    virtual bool ChildrenTakeMouse() const;
    virtual void SetChildrenTakeMouse(bool take);
    // The index of the nearest visible, enabled child from `index` (included) going forward
    // or backward; -1 when there is none.
    virtual int FindSelectableItem(int index, bool forward) const;

    // Scrolling: the position and range of the bars (0 for a missing bar). A new position is
    // held within the range and moves the children.
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE pos);
    // A line is the bar's line size, a page the visible extent of the content.
    virtual void ScrollLineUp();
    virtual void ScrollLineDown();
    virtual void ScrollPageUp();
    virtual void ScrollPageDown();
    virtual void ScrollToTop();
    virtual void ScrollToBottom();
    virtual void ScrollLineLeft();
    virtual void ScrollLineRight();
    virtual void ScrollPageLeft();
    virtual void ScrollPageRight();
    virtual void ScrollToLeftEnd();
    virtual void ScrollToRightEnd();
    // Creates the bars asked for (with the window's default attributes for "VScrollBar" or
    // "HScrollBar") and destroys the others.
    virtual void SetScrollBars(bool vertical, bool horizontal);
    virtual CScrollBarUI* GetVerticalBar() const;
    virtual CScrollBarUI* GetHorizontalBar() const;
    // Places a visible floating child at its fixed place and size from this container's
    // top-left, moved by its anchors times this container's size.
    virtual void PlaceFloatingChild(int index);
    // Shows each bar while the needed size exceeds `inner` (the content rectangle without
    // scrolling), sets its range to the excess, keeps its position in range and places it
    // beside `inner`. When a bar appears or goes, or its position has to move back into a
    // smaller range, the container is placed once more.
    virtual void UpdateScrollBars(const RECT& inner, int neededWidth, int neededHeight);

protected:
    ~CContainerUI() override;

    // The item rectangle less the inset and the fixed thickness of the visible bars.
    RECT InnerRect() const;
    // The children in paint order (borrowed).
    const std::vector<ControlPtr>& Children() const { return m_children; }

private:
    using BarPtr = std::unique_ptr<CScrollBarUI, ControlDestroyer>;

    bool ValidIndex(int index) const;
    CControlUI* Adopt(ControlPtr control, int index);
    ControlPtr TakeAt(int index);
    void Dispose(ControlPtr child);
    void DestroyChildren();
    BarPtr MakeBar(bool horizontal);
    void PlaceChildren(RECT inner);
    void PlaceAgain();
    void ScrollBy(int dx, int dy);
    bool ScrollWithKey(wchar_t key);
    void ScrollWithWheel(const ControlEvent& event);
    bool PaintChildren(HDC dc, const RECT& paint, CControlUI* stop);
    bool PaintFloating(CControlUI& child, HDC dc, const RECT& paint, CControlUI* stop,
                       const ClipRegion* inner);
    bool PaintBars(HDC dc, const RECT& paint, CControlUI* stop);
    CControlUI* SearchChildren(SearchPredicate predicate, void* data, UINT flags);

    std::vector<ControlPtr> m_children;
    RECT m_inset = {0, 0, 0, 0};
    int m_childPadding = 0;
    int m_childAlign = ChildAlignLeft;
    int m_childVAlign = ChildVAlignTop;
    bool m_ownsChildren = true;
    bool m_defersDestruction = true;
    bool m_childrenTakeMouse = true;
    bool m_scrollProcessing = false;
    BarPtr m_verticalBar;
    BarPtr m_horizontalBar;
};

// The container interface of `control`, or null when it is no container.
CContainerUI* AsContainer(CControlUI* control);

}  // namespace SkinUI
