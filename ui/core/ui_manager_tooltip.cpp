// Hover and tooltips: the hot control hears of the hover, and a control with a tooltip text
// gets it shown in one "tooltips_class32" window per manager, made on first use.
#include "ui/core/ui_manager.h"

namespace SkinUI {

namespace {

// The tool record size every common-controls version accepts (version 5 refuses the full one).
const UINT kToolInfoSize = TTTOOLINFOW_V2_SIZE;
constexpr DWORD kToolTipStyle = WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP;

}  // namespace

void CUIManager::OnHover(POINT point)
{
    m_mouseTracking = false;
    m_lastMouse = point;
    CControlUI* control = ControlAtPoint(point);
    if (control == nullptr || !Owns(control)) return;
    Dispatch(m_hot, EventKind::MouseHover);
    // The hover handler may have destroyed the control.
    if (ControlAtPoint(point) != control) return;
    if (!control->GetToolTip().empty()) ShowToolTip(control, point);
}

void CUIManager::ShowToolTip(CControlUI* control, POINT point)
{
    m_toolTipText = control->GetToolTip();
    m_toolInfo = {};
    m_toolInfo.cbSize = kToolInfoSize;
    m_toolInfo.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    m_toolInfo.hwnd = m_window;
    m_toolInfo.uId = reinterpret_cast<UINT_PTR>(m_window);
    m_toolInfo.hinst = GetModuleHandleW(nullptr);
    m_toolInfo.lpszText = m_toolTipText.data();
    m_toolInfo.rect = control->GetRect();
    if (!m_toolTip) {
        m_toolTip.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, kToolTipStyle, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window,
                                        nullptr, GetModuleHandleW(nullptr), nullptr));
        if (!m_toolTip) return;
        SendMessageW(m_toolTip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
    }
    if (m_lastToolTipWidth != control->GetToolTipWidth()) {
        m_lastToolTipWidth = control->GetToolTipWidth();
        SendMessageW(m_toolTip.get(), TTM_SETMAXTIPWIDTH, 0, m_lastToolTipWidth);
    }
    // Always brought up to date: the same control may have a new text.
    SendMessageW(m_toolTip.get(), TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
    m_lastToolTip = control;
    SendMessageW(m_toolTip.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_toolInfo));
    // Below the cursor's arrow, as system tooltips sit: a tooltip under the hot spot would
    // take the next click (and, on X, the pointer grab that brings its release).
    POINT screen = {point.x, point.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3};
    ClientToScreen(m_window, &screen);
    SendMessageW(m_toolTip.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
}

void CUIManager::HideToolTip()
{
    if (!m_toolTip) return;
    SendMessageW(m_toolTip.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_toolInfo));
}

}  // namespace SkinUI
