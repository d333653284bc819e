// CButtonUI's input: Space and Enter, press, drag and release with the capture, hover with
// the leave watcher, the context menu, and the fade between the normal and hot images.
#include "ui/controls/button_ui.h"

#include "ui/core/ui_manager.h"

#include <algorithm>

namespace SkinUI {

void CButtonUI::HandleEvent(ControlEvent& event)
{
    // A button that ignores the mouse lets what lies under it have the mouse's events.
    if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
        if (CControlUI* parent = GetParent()) {
            parent->HandleEvent(event);
        } else {
            CLabelUI::HandleEvent(event);
        }
        return;
    }
    if (!HandleButtonEvent(event)) CLabelUI::HandleEvent(event);
}

bool CButtonUI::HandleButtonEvent(ControlEvent& event)
{
    const bool captured = (m_state & StateCaptured) != 0;
    switch (event.kind) {
    case EventKind::SetFocus:
    case EventKind::KillFocus: Invalidate(); return false;
    case EventKind::KeyDown: return OnKeyDown(event);
    case EventKind::ButtonDown:
    case EventKind::DoubleClick: OnButtonDown(event); return true;
    case EventKind::MouseMove:
        if (captured) OnMouseMove(event);
        return captured;
    case EventKind::ButtonUp:
        if (captured) OnButtonUp(event);
        return captured;
    case EventKind::ContextMenu:
        if (UsesContextMenu() && IsEnabled() && GetWindowManager())
            GetWindowManager()->SendNotification(this, L"menu", event.wParam, event.lParam);
        return true;
    case EventKind::MouseEnter: OnMouseEnter(event); return true;
    case EventKind::MouseLeave: OnMouseLeave(event); return true;
    case EventKind::SetCursor: ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); return true;
    case EventKind::Timer:
        if (event.wParam != FadeTimer) return false;
        OnFadeTick();
        return true;
    default: return false;
    }
}

bool CButtonUI::OnKeyDown(const ControlEvent& event)
{
    if (!IsKeyboardEnabled() || !IsEnabled()) return false;
    if (event.key != VK_SPACE && event.key != VK_RETURN) return false;
    Activate();
    return true;
}

bool CButtonUI::IsInside(POINT point) const
{
    const RECT item = GetRect();
    return PtInRect(&item, point) != FALSE;
}

void CButtonUI::OnButtonDown(const ControlEvent& event)
{
    if (!IsInside(event.mouse) || !IsEnabled()) return;
    m_state |= StatePushed | StateCaptured;
    Invalidate();
}

// Dragged out of the button it pops up, dragged back in it is pushed again.
void CButtonUI::OnMouseMove(const ControlEvent& event)
{
    m_state = IsInside(event.mouse) ? (m_state | StatePushed) : (m_state & ~StatePushed);
    Invalidate();
}

// The state is cleared before "click" goes out: its receiver may destroy the button.
void CButtonUI::OnButtonUp(const ControlEvent& event)
{
    const bool click = IsInside(event.mouse) && IsEnabled();
    m_state &= ~(StatePushed | StateCaptured);
    Invalidate();
    if (click) Activate();
}

void CButtonUI::OnMouseEnter(const ControlEvent& event)
{
    if (!IsInside(event.mouse) || !IsEnabled()) return;
    if (!(m_state & StateHot)) {
        m_state |= StateHot;
        Invalidate();
    }
    StartFade();
}

// Another control over this one took the mouse while it is still inside: the button stays
// hot and asks for the leave that comes when the mouse really goes.
void CButtonUI::OnMouseLeave(const ControlEvent& event)
{
    CUIManager* manager = GetWindowManager();
    if (IsInside(event.mouse)) {
        if (manager != nullptr) manager->AddLeaveWatcher(this);
        return;
    }
    if (IsEnabled()) {
        m_state &= ~StateHot;
        Invalidate();
    }
    if (manager != nullptr) manager->RemoveLeaveWatcher(this);
    StartFade();
}

void CButtonUI::StartFade()
{
    CUIManager* manager = GetWindowManager();
    if (m_fadeDelta != 0 && manager != nullptr) manager->StartTimer(this, FadeTimer, FadeInterval);
}

// Towards the hot image while hot, back to the normal one otherwise; the timer stops at
// either end. Computed in int so that a step larger than what is left cannot wrap.
void CButtonUI::OnFadeTick()
{
    const int alpha = (m_state & StateHot) ? std::max(0, m_fadeAlpha - int(m_fadeDelta))
                                           : std::min(255, m_fadeAlpha + int(m_fadeDelta));
    m_fadeAlpha = static_cast<BYTE>(alpha);
    if ((alpha == 0 || alpha == 255) && GetWindowManager() != nullptr)
        GetWindowManager()->StopTimer(this, FadeTimer);
    Invalidate();
}

// Switching the fade off ends a running one at the normal image.
void CButtonUI::SetFadeDelta(BYTE delta)
{
    m_fadeDelta = delta;
    if (delta != 0) return;
    m_fadeAlpha = 255;
    if (GetWindowManager() != nullptr) GetWindowManager()->StopTimer(this, FadeTimer);
}

}  // namespace SkinUI
