// Focus: the focused control with its events and notifications, Tab navigation through the
// tab stops, shortcut keys, and what the message loop shows the manager before dispatch.
#include "ui/core/ui_manager.h"

#include <algorithm>

namespace SkinUI {

CControlUI* CUIManager::Focus() const
{
    return m_focus;
}

// The old focus hears of the change (kill-focus event, then "killfocus") before it is let go.
void CUIManager::ClearFocus(CControlUI* next)
{
    CControlUI* old = m_focus;
    if (old == nullptr) return;
    Dispatch(old, EventKind::KillFocus, reinterpret_cast<WPARAM>(next));
    // The handler may have destroyed the control (ForgetControl then cleared m_focus).
    if (m_focus == old) SendNotification(old, L"killfocus", 0, 0, false, true);
    m_focus = nullptr;
}

void CUIManager::FocusControl(CControlUI* control, bool takeNativeFocus)
{
    if (takeNativeFocus && m_window != nullptr && GetFocus() != m_window && control != m_focus &&
        !m_noActivate)
        SetFocus(m_window);
    if (control == m_focus) return;
    ClearFocus(control);
    if (!Owns(control) || !control->IsVisible() || !control->IsEnabled()) return;
    m_focus = control;
    Dispatch(control, EventKind::SetFocus);
    if (m_focus == control) SendNotification(control, L"setfocus", 0, 0, false, true);
}

// Visible, enabled controls that take Tab, in tree order (a container before its children).
std::vector<CControlUI*> CUIManager::TabStops() const
{
    std::vector<CControlUI*> stops;
    if (!m_root) return stops;
    auto collect = [](CControlUI* control, void* data) -> CControlUI* {
        if (control->GetFlags() & ControlFlagTabStop)
            static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
        return nullptr;
    };
    m_root->SearchTree(collect, &stops, SearchVisible | SearchEnabled | SearchMeFirst);
    return stops;
}

void CUIManager::FocusFirstTabStop(CControlUI* control)
{
    if (m_window != nullptr && !m_noActivate) SetFocus(m_window);
    ClearFocus(nullptr);
    const std::vector<CControlUI*> stops = TabStops();
    auto from = control != nullptr ? std::find(stops.begin(), stops.end(), control) : stops.begin();
    if (from != stops.end()) FocusControl(*from);
    RequestLayout();
}

// Forward: the next tab stop after the focus, else the first. Backward: the one before the
// focus, else the last (Shift+Tab wraps like Tab).
bool CUIManager::MoveTabFocus(bool forward)
{
    if (m_firstLayout && forward) {
        m_focusNeeded = true;
        InvalidateAll();
        return true;
    }
    const std::vector<CControlUI*> stops = TabStops();
    if (stops.empty()) return false;
    auto at = std::find(stops.begin(), stops.end(), m_focus);
    CControlUI* next = nullptr;
    if (forward)
        next = (at == stops.end() || at + 1 == stops.end()) ? stops.front() : *(at + 1);
    else
        next = (at == stops.end() || at == stops.begin()) ? stops.back() : *(at - 1);
    FocusControl(next);
    return true;
}

bool CUIManager::OnTabKey()
{
    if (m_focus != nullptr && m_focus->GetClassName().find(L"RichEdit") != std::wstring::npos)
        return false;  // a rich-text box takes Tab as text
    MoveTabFocus((GetKeyState(VK_SHIFT) & 0x8000) == 0);
    return true;
}

bool CUIManager::OnShortcut(wchar_t ch)
{
    if (!m_root) return false;
    wchar_t upper = static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
        CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(ch)))));
    auto match = [](CControlUI* control, void* data) -> CControlUI* {
        wchar_t wanted = *static_cast<wchar_t*>(data);
        return control->GetShortcut() == wanted ? control : nullptr;
    };
    CControlUI* found =
        m_root->SearchTree(match, &upper, SearchVisible | SearchEnabled | SearchMeFirst);
    if (found == nullptr) return true;
    FocusControl(found);
    if (m_focus == found) found->Activate();
    return true;
}

bool CUIManager::PreTranslate(const MSG& msg, LRESULT& result)
{
    const std::vector<IMessageFilterUI*> filters = m_preFilters;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        result = filter->FilterMessage(msg.message, msg.wParam, msg.lParam, handled);
        if (handled) return true;
    }
    switch (msg.message) {
    case WM_KEYDOWN: return msg.wParam == VK_TAB && OnTabKey();
    case WM_SYSKEYDOWN:
        if (m_focus != nullptr) {
            ControlEvent event = MakeEvent(EventKind::SystemKey, m_focus);
            event.key = static_cast<wchar_t>(msg.wParam);
            m_focus->DispatchEvent(event);
        }
        return false;
    case WM_SYSCHAR: return OnShortcut(static_cast<wchar_t>(msg.wParam));
    default: return false;
    }
}

}  // namespace SkinUI
