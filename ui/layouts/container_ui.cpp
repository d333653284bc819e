// CContainerUI: lifetime, the list of children with its index checks, the properties and the
// control operations passed on to children and bars. Placement and scrolling live in
// container_layout.cpp, painting and searching in container_paint.cpp, the attributes in
// container_attributes.cpp.
#include "ui/layouts/container_ui.h"

#include "ui/core/ui_manager.h"

#include <algorithm>

namespace SkinUI {
namespace {

// Makes the manager forget `control` and everything under it.
void ForgetSubtree(CUIManager& manager, CControlUI& control)
{
    auto forget = [](CControlUI* found, void* data) -> CControlUI* {
        static_cast<CUIManager*>(data)->ForgetControl(found);
        return nullptr;
    };
    control.SearchTree(forget, &manager, 0);
}

}  // namespace

CContainerUI* AsContainer(CControlUI* control)
{
    return control != nullptr ? static_cast<CContainerUI*>(control->QueryInterface(L"Container"))
                              : nullptr;
}

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    m_defersDestruction = false;
    DestroyChildren();
    m_verticalBar.reset();
    m_horizontalBar.reset();
}

// In list order, each one out of the list before it goes: a destroy listener sees the rest.
void CContainerUI::DestroyChildren()
{
    std::vector<ControlPtr> children = std::move(m_children);
    m_children.clear();
    for (ControlPtr& child : children) Dispose(std::move(child));
}

// A child that left the list: destroyed, deferred, or let go when someone else owns it.
void CContainerUI::Dispose(ControlPtr child)
{
    if (!child) return;
    CUIManager* manager = GetWindowManager();
    if (manager != nullptr) ForgetSubtree(*manager, *child);
    if (!m_ownsChildren) {
        child->SetWindowManager(nullptr, nullptr, false);
        child.release();  // owned by whoever turned ownership off
        return;
    }
    if (m_defersDestruction && manager != nullptr) {
        // No parent any more: this container may go before the deferred deletion runs.
        child->SetWindowManager(manager, nullptr, false);
        manager->DeferDelete(std::move(child));
    }
}

bool CContainerUI::ValidIndex(int index) const
{
    return index >= 0 && index < ChildCount();
}

CControlUI* CContainerUI::ChildAt(int index) const
{
    return ValidIndex(index) ? m_children[static_cast<size_t>(index)].get() : nullptr;
}

int CContainerUI::IndexOfChild(const CControlUI* control) const
{
    if (control == nullptr) return -1;
    for (size_t i = 0; i < m_children.size(); ++i)
        if (m_children[i].get() == control) return static_cast<int>(i);
    return -1;
}

int CContainerUI::ChildCount() const
{
    return static_cast<int>(m_children.size());
}

bool CContainerUI::MoveChild(CControlUI* control, int index)
{
    return MoveChildRun(control, 1, index);
}

bool CContainerUI::MoveChildRun(CControlUI* first, int count, int index)
{
    const int from = IndexOfChild(first);
    if (from < 0 || count < 1 || index < 0) return false;
    if (count > ChildCount() - from || count > ChildCount() - index) return false;
    auto begin = m_children.begin();
    if (index < from) {
        std::rotate(begin + index, begin + from, begin + from + count);
    } else {
        std::rotate(begin + from, begin + from + count, begin + index + count);
    }
    MarkNeedUpdate();
    return true;
}

CControlUI* CContainerUI::AddChild(ControlPtr control)
{
    return InsertChild(std::move(control), ChildCount());
}

CControlUI* CContainerUI::InsertChild(ControlPtr control, int index)
{
    if (!control || index < 0 || index > ChildCount()) return nullptr;
    return Adopt(std::move(control), index);
}

CControlUI* CContainerUI::Adopt(ControlPtr control, int index)
{
    CControlUI* child = control.get();
    if (CUIManager* manager = GetWindowManager()) {
        manager->AdoptControls(child, this);
    } else {
        // Still being built: the manager comes with SetWindowManager, which initialises.
        child->SetWindowManager(nullptr, this, false);
    }
    m_children.insert(m_children.begin() + index, std::move(control));
    if (IsVisible()) {
        MarkNeedUpdate();
    } else {
        child->SetInnerVisible(false);
    }
    return child;
}

ControlPtr CContainerUI::TakeAt(int index)
{
    if (!ValidIndex(index)) return nullptr;
    ControlPtr child = std::move(m_children[static_cast<size_t>(index)]);
    m_children.erase(m_children.begin() + index);
    MarkNeedUpdate();
    return child;
}

bool CContainerUI::RemoveChild(CControlUI* control)
{
    return RemoveChildAt(IndexOfChild(control));
}

bool CContainerUI::RemoveChildAt(int index)
{
    ControlPtr child = TakeAt(index);
    if (!child) return false;
    Dispose(std::move(child));
    return true;
}

ControlPtr CContainerUI::DetachChild(CControlUI* control)
{
    return DetachChildAt(IndexOfChild(control));
}

ControlPtr CContainerUI::DetachChildAt(int index)
{
    ControlPtr child = TakeAt(index);
    if (!child) return nullptr;
    if (CUIManager* manager = GetWindowManager()) ForgetSubtree(*manager, *child);
    child->SetWindowManager(nullptr, nullptr, false);
    child->SetInnerVisible(true);  // no parent hides it any more
    return child;
}

void CContainerUI::RemoveAllChildren()
{
    DestroyChildren();
    MarkNeedUpdate();
}

std::wstring CContainerUI::GetClassName() const
{
    return L"Container";
}

CControlUI* CContainerUI::QueryInterface(const std::wstring& name)
{
    if (name == L"Container" || name == L"IContainer") return this;
    return CControlUI::QueryInterface(name);
}

RECT CContainerUI::InnerRect() const
{
    RECT rc = GetRect();
    rc.left += m_inset.left;
    rc.top += m_inset.top;
    rc.right -= m_inset.right;
    rc.bottom -= m_inset.bottom;
    if (m_verticalBar && m_verticalBar->IsVisible()) rc.right -= m_verticalBar->GetRequestedWidth();
    if (m_horizontalBar && m_horizontalBar->IsVisible())
        rc.bottom -= m_horizontalBar->GetRequestedHeight();
    return rc;
}

RECT CContainerUI::GetContentRect() const
{
    return InnerRect();
}

void CContainerUI::SetWindowManager(CUIManager* manager, CControlUI* parent, bool init)
{
    for (const ControlPtr& child : m_children) child->SetWindowManager(manager, this, init);
    if (m_verticalBar) m_verticalBar->SetWindowManager(manager, this, init);
    if (m_horizontalBar) m_horizontalBar->SetWindowManager(manager, this, init);
    CControlUI::SetWindowManager(manager, parent, init);
}

void CContainerUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    for (const ControlPtr& child : m_children) child->SetInnerVisible(IsVisible());
}

void CContainerUI::SetInnerVisible(bool visible)
{
    CControlUI::SetInnerVisible(visible);
    for (const ControlPtr& child : m_children) child->SetInnerVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enabled)
{
    if (m_verticalBar) m_verticalBar->SetMouseEnabled(enabled);
    if (m_horizontalBar) m_horizontalBar->SetMouseEnabled(enabled);
    CControlUI::SetMouseEnabled(enabled);
}

void CContainerUI::Offset(int dx, int dy, bool invalidate)
{
    CControlUI::Offset(dx, dy, invalidate);
    for (CScrollBarUI* bar : {m_verticalBar.get(), m_horizontalBar.get()})
        if (bar != nullptr && bar->IsVisible()) bar->Offset(dx, dy, false);
    for (const ControlPtr& child : m_children)
        if (child->IsVisible()) child->Offset(dx, dy, false);
}

RECT CContainerUI::GetInset() const
{
    return m_inset;
}

void CContainerUI::SetInset(RECT inset)
{
    m_inset = inset;
    MarkNeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return m_childPadding;
}

void CContainerUI::SetChildPadding(int padding)
{
    m_childPadding = std::max(0, padding);
    MarkNeedUpdate();
}

int CContainerUI::GetChildAlign() const
{
    return m_childAlign;
}

void CContainerUI::SetChildAlign(int align)
{
    m_childAlign = align;
    MarkNeedUpdate();
}

int CContainerUI::GetChildVAlign() const
{
    return m_childVAlign;
}

void CContainerUI::SetChildVAlign(int align)
{
    m_childVAlign = align;
    MarkNeedUpdate();
}

bool CContainerUI::OwnsChildren() const
{
    return m_ownsChildren;
}

void CContainerUI::SetOwnsChildren(bool owns)
{
    m_ownsChildren = owns;
}

bool CContainerUI::DefersDestruction() const
{
    return m_defersDestruction;
}

void CContainerUI::SetDefersDestruction(bool defers)
{
    m_defersDestruction = defers;
}

bool CContainerUI::ChildrenTakeMouse() const
{
    return m_childrenTakeMouse;
}

void CContainerUI::SetChildrenTakeMouse(bool take)
{
    m_childrenTakeMouse = take;
}

int CContainerUI::FindSelectableItem(int index, bool forward) const
{
    for (int i = index; ValidIndex(i); i += forward ? 1 : -1) {
        const CControlUI& child = *m_children[static_cast<size_t>(i)];
        if (child.IsVisible() && child.IsEnabled()) return i;
    }
    return -1;
}

}  // namespace SkinUI
