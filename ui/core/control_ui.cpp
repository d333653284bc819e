// CControlUI: lifetime, tree links, plain properties, visibility, search and events. The
// attribute table lives in control_attributes.cpp, placement and invalidation in
// control_placement.cpp, painting in control_paint.cpp.
#include "ui/core/control_ui.h"

#include "ui/core/ui_manager.h"

#include <algorithm>

namespace SkinUI {

void ControlDestroyer::operator()(CControlUI* control) const
{
    if (control != nullptr) control->Destroy();
}

CControlUI::CControlUI() = default;

CControlUI::~CControlUI()
{
    m_overlay.reset();
    m_customAttributes.clear();
    OnDestroy.Fire(this);
    if (m_manager != nullptr) m_manager->ForgetControl(this);
}

void CControlUI::Destroy()
{
    if (m_manager != nullptr) m_manager->RemoveLeaveWatcher(this);
    delete this;
}

std::wstring CControlUI::GetName() const
{
    return m_name;
}

void CControlUI::SetName(const std::wstring& name)
{
    if (name == m_name) return;
    std::wstring old = std::move(m_name);
    m_name = name;
    if (m_manager != nullptr) m_manager->RenameControl(this, old, m_name);
}

std::wstring CControlUI::GetClassName() const
{
    return L"Control";
}

CControlUI* CControlUI::QueryInterface(const std::wstring& name)
{
    return name == L"Control" ? this : nullptr;
}

UINT CControlUI::GetFlags() const
{
    return 0;
}

HWND CControlUI::NativeWindow() const
{
    return nullptr;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CUIManager* CControlUI::GetWindowManager() const
{
    return m_manager;
}

void CControlUI::SetWindowManager(CUIManager* manager, CControlUI* parent, bool init)
{
    if (m_overlay) m_overlay->SetWindowManager(manager, this, init);
    m_manager = manager;
    m_parent = parent;
    // "virtualwnd" may have been read before the control had a manager to tell.
    if (manager != nullptr && !m_virtualWindow.empty()) manager->SetUsesVirtualWindows(true);
    if (init && parent != nullptr) Initialize();
}

CControlUI* CControlUI::GetParent() const
{
    return m_parent;
}

CControlUI* CControlUI::GetOverlay() const
{
    return m_overlay.get();
}

void CControlUI::SetOverlay(ControlPtr overlay)
{
    // The same control again: keeping it is the only safe answer (replacing would destroy
    // the object we are about to keep).
    if (overlay.get() == m_overlay.get()) {
        overlay.release();
        return;
    }
    m_overlay = std::move(overlay);
    if (!m_overlay) return;
    if (m_manager != nullptr) {
        m_manager->AdoptControls(m_overlay.get(), this);
    } else {
        // Without a manager nothing is adopted yet; SetWindowManager passes the manager on
        // when this control joins one.
        m_overlay->SetWindowManager(nullptr, this, false);
    }
    if (IsVisible()) {
        MarkNeedUpdate();
    } else {
        m_overlay->SetInnerVisible(false);
    }
}

std::wstring CControlUI::GetText() const
{
    return m_text;
}

void CControlUI::SetText(const std::wstring& text)
{
    if (text == m_text) return;
    m_text = text;
    Invalidate();
}

RECT CControlUI::GetRect() const
{
    return m_item;
}

RECT CControlUI::GetPosInParent() const
{
    if (m_parent == nullptr) return RECT{0, 0, 0, 0};
    RECT pos = m_item;
    const RECT parent = m_parent->GetRect();
    OffsetRect(&pos, -parent.left, -parent.top);
    return pos;
}

RECT CControlUI::GetContentRect() const
{
    return m_item;
}

int CControlUI::GetWidth() const
{
    return m_item.right - m_item.left;
}

int CControlUI::GetHeight() const
{
    return m_item.bottom - m_item.top;
}

int CControlUI::GetX() const
{
    return m_item.left;
}

int CControlUI::GetY() const
{
    return m_item.top;
}

RECT CControlUI::GetPadding() const
{
    return m_padding;
}

void CControlUI::SetPadding(RECT padding)
{
    m_padding = padding;
    MarkParentNeedUpdate();
}

SIZE CControlUI::GetFixedOffset() const
{
    return m_fixedOffset;
}

void CControlUI::SetFixedOffset(int x, int y)
{
    m_fixedOffset = SIZE{x, y};
    MarkParentNeedUpdate();
}

FloatAnchors CControlUI::GetFloatAnchors() const
{
    return m_anchors;
}

void CControlUI::SetFloatAnchors(const FloatAnchors& anchors)
{
    m_anchors = anchors;
    MarkParentNeedUpdate();
}

int CControlUI::GetRequestedWidth() const
{
    return m_fixedSize.cx;
}

void CControlUI::SetRequestedWidth(int cx)
{
    if (cx < 0) return;
    m_fixedSize.cx = cx;
    MarkParentNeedUpdate();
}

int CControlUI::GetRequestedHeight() const
{
    return m_fixedSize.cy;
}

void CControlUI::SetRequestedHeight(int cy)
{
    if (cy < 0) return;
    m_fixedSize.cy = cy;
    MarkParentNeedUpdate();
}

namespace {

// The size limits' setter: negative or unchanged values change nothing.
bool StoreLimit(LONG& field, int value)
{
    if (value < 0 || value == field) return false;
    field = value;
    return true;
}

}  // namespace

int CControlUI::GetMinWidth() const
{
    return m_minSize.cx;
}

void CControlUI::SetMinWidth(int cx)
{
    if (StoreLimit(m_minSize.cx, cx)) MarkParentNeedUpdate();
}

int CControlUI::GetMaxWidth() const
{
    return std::max(m_maxSize.cx, m_minSize.cx);
}

void CControlUI::SetMaxWidth(int cx)
{
    if (StoreLimit(m_maxSize.cx, cx)) MarkParentNeedUpdate();
}

int CControlUI::GetMinHeight() const
{
    return m_minSize.cy;
}

void CControlUI::SetMinHeight(int cy)
{
    if (StoreLimit(m_minSize.cy, cy)) MarkParentNeedUpdate();
}

int CControlUI::GetMaxHeight() const
{
    return std::max(m_maxSize.cy, m_minSize.cy);
}

void CControlUI::SetMaxHeight(int cy)
{
    if (StoreLimit(m_maxSize.cy, cy)) MarkParentNeedUpdate();
}

std::wstring CControlUI::GetToolTip() const
{
    return m_toolTip;
}

void CControlUI::SetToolTip(const std::wstring& text)
{
    static const std::wstring lineBreakTag = L"<n>";
    m_toolTip.clear();
    size_t from = 0;
    for (size_t at = text.find(lineBreakTag); at != std::wstring::npos;
         at = text.find(lineBreakTag, from)) {
        m_toolTip.append(text, from, at - from).append(L"\r\n");
        from = at + lineBreakTag.size();
    }
    m_toolTip.append(text, from, std::wstring::npos);
}

void CControlUI::SetToolTipWidth(int width)
{
    m_toolTipWidth = width;
}

int CControlUI::GetToolTipWidth() const
{
    return m_toolTipWidth;
}

wchar_t CControlUI::GetShortcut() const
{
    return m_shortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_shortcut = ch;
}

bool CControlUI::UsesContextMenu() const
{
    return m_usesContextMenu;
}

void CControlUI::SetUsesContextMenu(bool uses)
{
    m_usesContextMenu = uses;
}

std::wstring CControlUI::GetUserData() const
{
    return m_userData;
}

void CControlUI::SetUserData(const std::wstring& text)
{
    m_userData = text;
}

std::uintptr_t CControlUI::GetTag() const
{
    return m_tag;
}

void CControlUI::SetTag(std::uintptr_t tag)
{
    m_tag = tag;
}

bool CControlUI::IsVisible() const
{
    return m_visible && m_innerVisible;
}

void CControlUI::SetVisible(bool visible)
{
    if (visible == m_visible) return;
    const bool wasVisible = IsVisible();
    m_visible = visible;
    m_focused = false;
    if (!visible && m_manager != nullptr && m_manager->Focus() == this) {
        m_manager->FocusControl(nullptr);
    }
    if (IsVisible() != wasVisible) MarkParentNeedUpdate();
    if (m_overlay) m_overlay->SetInnerVisible(IsVisible());
}

void CControlUI::SetInnerVisible(bool visible)
{
    m_innerVisible = visible;
    if (!visible && m_manager != nullptr && m_manager->Focus() == this) {
        m_manager->FocusControl(nullptr);
    }
    if (m_overlay) m_overlay->SetInnerVisible(IsVisible());
}

bool CControlUI::IsEnabled() const
{
    return m_enabled;
}

void CControlUI::SetEnabled(bool enabled)
{
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const
{
    return m_mouseEnabled;
}

void CControlUI::SetMouseEnabled(bool enabled)
{
    m_mouseEnabled = enabled;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_keyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool enabled)
{
    m_keyboardEnabled = enabled;
}

bool CControlUI::IsFocused() const
{
    return m_focused;
}

void CControlUI::SetFocus()
{
    if (m_manager != nullptr) m_manager->FocusControl(this);
}

bool CControlUI::IsFloat() const
{
    return m_float;
}

void CControlUI::SetFloat(bool floating)
{
    if (floating == m_float) return;
    m_float = floating;
    MarkParentNeedUpdate();
}

CControlUI* CControlUI::SearchTree(SearchPredicate predicate, void* data, UINT flags)
{
    if ((flags & SearchVisible) != 0 && !IsVisible()) return nullptr;
    if ((flags & SearchEnabled) != 0 && !IsEnabled()) return nullptr;
    if ((flags & SearchHitTest) != 0 && !PtInRect(&m_item, *static_cast<const POINT*>(data))) {
        return nullptr;
    }
    if ((flags & SearchUpdateTest) != 0 && predicate(this, data) != nullptr) return nullptr;
    // Under a hit test only a control that takes the mouse may answer.
    const bool mayAsk = (flags & SearchHitTest) == 0 || IsMouseEnabled();
    if ((flags & SearchMeFirst) != 0 && mayAsk) {
        if (CControlUI* found = predicate(this, data)) return found;
    }
    if (m_overlay) {
        if (CControlUI* found = m_overlay->SearchTree(predicate, data, flags)) return found;
    }
    if ((flags & SearchMeFirst) == 0 && mayAsk) return predicate(this, data);
    return nullptr;
}

void CControlUI::Initialize()
{
    InitializeSelf();
    OnInit.Fire(this);
}

void CControlUI::InitializeSelf() {}

void CControlUI::DispatchEvent(ControlEvent& event)
{
    if (!OnEvent.Fire(&event)) return;
    HandleEvent(event);
}

void CControlUI::HandleEvent(ControlEvent& event)
{
    switch (event.kind) {
    case EventKind::SetCursor: ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); return;
    case EventKind::SetFocus:
    case EventKind::KillFocus:
        m_focused = event.kind == EventKind::SetFocus;
        Invalidate();
        return;
    case EventKind::Timer: SendSynchronously(L"timer", event); return;
    case EventKind::ContextMenu:
        if (!m_usesContextMenu) break;
        SendSynchronously(L"menu", event);
        return;
    default: break;
    }
    if (m_parent != nullptr) m_parent->HandleEvent(event);
}

void CControlUI::SendSynchronously(const wchar_t* type, const ControlEvent& event)
{
    if (m_manager != nullptr) m_manager->SendNotification(this, type, event.wParam, event.lParam);
}

SIZE CControlUI::PreferredSize(SIZE /*available*/)
{
    return m_fixedSize;
}

std::wstring CControlUI::GetVirtualWindow() const
{
    return m_virtualWindow;
}

void CControlUI::SetVirtualWindow(const std::wstring& name)
{
    m_virtualWindow = name;
    if (m_manager != nullptr) m_manager->SetUsesVirtualWindows(true);
}

IRenderContext* CControlUI::RenderContext() const
{
    return m_manager;
}

}  // namespace SkinUI
