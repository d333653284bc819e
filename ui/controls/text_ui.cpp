// CTextUI; see text_ui.h.
#include "ui/controls/text_ui.h"

#include "ui/core/ui_manager.h"

namespace SkinUI {
namespace {

constexpr LONG kSidePadding = 2;

}  // namespace

CTextUI::CTextUI()
{
    SetTextStyle(DT_WORDBREAK);
    SetTextPadding(RECT{kSidePadding, 0, kSidePadding, 0});
}

CTextUI::~CTextUI() = default;

std::wstring CTextUI::GetClassName() const
{
    return L"Text";
}

CControlUI* CTextUI::QueryInterface(const std::wstring& name)
{
    return name == L"Text" ? this : CLabelUI::QueryInterface(name);
}

UINT CTextUI::GetFlags() const
{
    return IsEnabled() && !m_links.empty() ? ControlFlagSetsCursor : 0;
}

int CTextUI::LinkAt(POINT point) const
{
    return LinkAtPoint(m_links, point);
}

// The links are those of this paint: text drawn plain (or no text) has none, so links of an
// earlier markup text cannot be clicked where they no longer are.
void CTextUI::DrawCaption(HDC dc)
{
    StoreDefaultColors();
    m_links.clear();
    const std::wstring text = GetText();
    if (text.empty()) return;
    DrawTextIn(dc, TextRect(), text, StateTextColor(), GetTextStyle(), &m_links, MaxLinks);
}

void CTextUI::HandleEvent(ControlEvent& event)
{
    const bool mine = IsMouseEnabled() || !IsMouseEvent(event.kind);
    if (!mine || !HandleLinkEvent(event)) CLabelUI::HandleEvent(event);
}

bool CTextUI::HandleLinkEvent(ControlEvent& event)
{
    const int link = LinkAt(event.mouse);
    switch (event.kind) {
    case EventKind::SetCursor:
        if (link < 0) return false;
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return true;
    case EventKind::ButtonDown:
    case EventKind::DoubleClick:
        if (link < 0 || (event.kind == EventKind::DoubleClick && !IsEnabled())) return false;
        Invalidate();
        return true;
    case EventKind::ButtonUp:
        if (link < 0 || !IsEnabled()) return false;
        if (CUIManager* manager = GetWindowManager())
            manager->SendNotification(this, L"link", static_cast<WPARAM>(link));
        return true;
    case EventKind::ContextMenu: return true;
    case EventKind::MouseMove:
        if (!IsEnabled()) return false;
        Hover(link);
        return true;
    case EventKind::MouseLeave: OnMouseLeave(event); return true;
    default: return false;
    }
}

void CTextUI::Hover(int link)
{
    if (link == m_hoveredLink) return;
    m_hoveredLink = link;
    Invalidate();
}

// As a button's: while the mouse is still inside (a control over this one took it), wait for
// the real leave.
void CTextUI::OnMouseLeave(const ControlEvent& event)
{
    CUIManager* manager = GetWindowManager();
    const RECT item = GetRect();
    if (PtInRect(&item, event.mouse)) {
        if (manager != nullptr) manager->AddLeaveWatcher(this);
        return;
    }
    Hover(-1);
    if (manager != nullptr) manager->RemoveLeaveWatcher(this);
}

}  // namespace SkinUI
