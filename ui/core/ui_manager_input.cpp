// HandleWindowMessage: the one place where the window's native messages become control
// events. Each message is cracked once into a handler with plain parameters; controls see
// only ControlEvent values. Mouse tracking, hover, leave and capture, the wheel, keys,
// reflection of child notifications and tooltips live here; painting in ui_manager_paint.cpp.
#include "ui/core/ui_manager.h"

#include <windowsx.h>

#include <algorithm>

namespace SkinUI {

namespace {

constexpr UINT kReflectedNotify = WM_NOTIFY + ReflectedMessageOffset;
constexpr UINT kReflectedCommand = WM_COMMAND + ReflectedMessageOffset;

POINT PointOf(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// Whether `message` carries a client mouse point that filters still record.
bool RecordsMousePoint(UINT message)
{
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
           message == WM_LBUTTONDBLCLK;
}

}  // namespace

bool CUIManager::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_window == nullptr) return false;
    const std::vector<IMessageFilterUI*> filters = m_filters;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        LRESULT answer = filter->FilterMessage(message, wParam, lParam, handled);
        if (!handled) continue;
        if (RecordsMousePoint(message)) m_lastMouse = PointOf(lParam);
        if (message == WM_CONTEXTMENU || message == WM_MOUSEWHEEL) {
            POINT point = PointOf(lParam);
            ScreenToClient(m_window, &point);
            m_lastMouse = point;
        }
        result = answer;
        return true;
    }
    if (m_layered && HandleLayeredFrameMessage(message, wParam, result)) return true;
    result = 0;
    return HandleInputMessage(message, wParam, lParam, result) ||
           HandleWindowStateMessage(message, wParam, lParam, result) ||
           HandleReflectedMessage(message, wParam, lParam, result);
}

// A layered window draws no frame of its own.
bool CUIManager::HandleLayeredFrameMessage(UINT message, WPARAM wParam, LRESULT& result)
{
    switch (message) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT: result = 0; return true;
    case WM_NCACTIVATE:
        if (IsIconic(m_window)) return false;
        result = wParam == 0 ? 1 : 0;
        return true;
    default: return false;
    }
}

bool CUIManager::HandleInputMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: OnKey(message, static_cast<wchar_t>(wParam)); return false;
    case WM_SETCURSOR:
        result = TRUE;  // when handled: the cursor is set, nothing more to do
        return OnSetCursor(LOWORD(lParam));
    case WM_MOUSEMOVE: OnMouseMove(PointOf(lParam)); return false;
    case WM_MOUSELEAVE: OnMouseLeave(); return false;
    case WM_MOUSEHOVER: OnHover(PointOf(lParam)); return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnButtonDown(PointOf(lParam), message == WM_LBUTTONDBLCLK); return false;
    case WM_LBUTTONUP: OnButtonUp(PointOf(lParam)); return false;
    case WM_RBUTTONDOWN: OnRightButtonDown(PointOf(lParam)); return false;
    case WM_CONTEXTMENU: OnContextMenu(PointOf(lParam)); return false;
    case WM_MOUSEWHEEL: OnWheel(PointOf(lParam), GET_WHEEL_DELTA_WPARAM(wParam)); return false;
    default: return false;
    }
}

bool CUIManager::HandleWindowStateMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result)
{
    switch (message) {
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return false;
    case WM_SIZE: OnSize(); return true;
    case WM_KILLFOCUS: OnNativeKillFocus(reinterpret_cast<HWND>(wParam)); return false;
    case WM_PAINT: return OnPaint();
    case WM_PRINTCLIENT: OnPrintClient(reinterpret_cast<HDC>(wParam), lParam); return true;
    case WM_CLOSE: OnClose(); return false;
    case WM_ERASEBKGND: result = 1; return true;
    case WM_MOUSEACTIVATE:
        if (!m_noActivate) return false;
        result = MA_NOACTIVATEANDEAT;
        return true;
    case WM_TIMER:
        if (wParam == LayeredRepaintTimer)
            OnLayeredTimer();
        else
            OnTimer(wParam);
        return false;
    case WM_SKIN_ASYNC_NOTIFY: DrainQueuedNotifications(); return true;
    default: return false;
    }
}

// Child windows' notifications and colour requests go back to the child (reflection), so a
// hosted control can answer them itself.
bool CUIManager::HandleReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header == nullptr) return false;
        result = SendMessageW(header->hwndFrom, kReflectedNotify, wParam, lParam);
        return true;
    }
    case WM_COMMAND:
        if (lParam != 0)
            SendMessageW(reinterpret_cast<HWND>(lParam), kReflectedCommand, wParam, lParam);
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0) return false;
        result = SendMessageW(reinterpret_cast<HWND>(lParam), message + ReflectedMessageOffset,
                              wParam, lParam);
        return true;
    default: return false;
    }
}

void CUIManager::OnGetMinMaxInfo(MINMAXINFO& info) const
{
    if (m_minInfo.cx > 0) info.ptMinTrackSize.x = m_minInfo.cx;
    if (m_minInfo.cy > 0) info.ptMinTrackSize.y = m_minInfo.cy;
    if (m_maxInfo.cx > 0) info.ptMaxTrackSize.x = m_maxInfo.cx;
    if (m_maxInfo.cy > 0) info.ptMaxTrackSize.y = m_maxInfo.cy;
}

void CUIManager::OnKey(UINT message, wchar_t key)
{
    CControlUI* target = message == WM_KEYUP ? m_keyDown : m_focus;
    if (target == nullptr) return;
    if (message == WM_KEYDOWN) m_keyDown = target;
    if (message == WM_KEYUP) m_keyDown = nullptr;
    const EventKind kind = message == WM_KEYDOWN ? EventKind::KeyDown
                           : message == WM_KEYUP ? EventKind::KeyUp
                                                 : EventKind::Char;
    ControlEvent event = MakeEvent(kind, target);
    event.key = key;
    target->DispatchEvent(event);
}

void CUIManager::OnSize()
{
    Dispatch(m_focus, EventKind::WindowSize);
    if (m_root) m_root->MarkNeedUpdate();
    RequestLayout();
    if (m_layered) InvalidateAll();
}

void CUIManager::OnNativeKillFocus(HWND newFocus)
{
    for (const ChildWindow& child : m_childWindows)
        if (child.window == newFocus) {
            m_focus = child.control;
            return;
        }
}

void CUIManager::OnClose()
{
    Dispatch(m_hot, EventKind::MouseLeave);
    Dispatch(m_pushed, EventKind::ButtonUp);
    FocusControl(nullptr, false);
    if (GetActiveWindow() == m_window) {
        HWND parent = GetWindow(m_window, GW_OWNER);
        if (parent == nullptr) parent = GetParent(m_window);
        if (parent != nullptr) SetFocus(parent);
    }
    m_toolTip.reset();
}

bool CUIManager::OnSetCursor(UINT hitTest)
{
    if (hitTest != HTCLIENT) return false;
    if (m_mouseCaptured) return true;
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(m_window, &point);
    CControlUI* control = ControlAtPoint(point);
    if (control == nullptr) return false;
    // The point under the cursor now: the mouse move that brought it here comes after this
    // message, so the last mouse position is still the one before (a layout's separator
    // strip is a few pixels wide).
    ControlEvent event = MakeEvent(EventKind::SetCursor, control);
    event.mouse = point;
    control->DispatchEvent(event);
    return (control->GetFlags() & ControlFlagSetsCursor) != 0;
}

void CUIManager::TrackMouse()
{
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, m_window, m_hoverTime};
    if (m_toolTip)
        track.dwHoverTime =
            static_cast<DWORD>(SendMessageW(m_toolTip.get(), TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    if (TrackMouseEvent(&track)) m_mouseTracking = true;
}

// The old hot control and every leave watcher get mouse leave, the new one mouse enter.
void CUIManager::MoveHot(CControlUI* next)
{
    if (next == m_hot) return;
    CControlUI* old = m_hot;
    m_hot = nullptr;
    if (old != nullptr) Dispatch(old, EventKind::MouseLeave);
    const std::vector<CControlUI*> watchers = m_leaveWatchers;
    for (CControlUI* watcher : watchers)
        if (watcher != old && std::find(m_leaveWatchers.begin(), m_leaveWatchers.end(), watcher) !=
                                  m_leaveWatchers.end())
            Dispatch(watcher, EventKind::MouseLeave);
    HideToolTip();
    if (next == nullptr || !Owns(next)) return;
    Dispatch(next, EventKind::MouseEnter);
    m_hot = next;
}

void CUIManager::OnMouseMove(POINT point)
{
    if (!m_mouseTracking) TrackMouse();
    m_lastMouse = point;
    CControlUI* control = ControlAtPoint(point);
    if (control != nullptr && !Owns(control)) return;
    if (!m_mouseCaptured) MoveHot(control);
    CControlUI* target = m_pushed != nullptr ? m_pushed : control;
    Dispatch(target, EventKind::MouseMove);
}

// The synthetic move goes first, while tracking still counts as on: re-arming tracking for
// a cursor outside the window would stop hover and leave from being tracked again later.
void CUIManager::OnMouseLeave()
{
    HideToolTip();
    if (!m_mouseTracking) return;
    POINT cursor = {-1, -1};
    POINT screen;
    GetCursorPos(&screen);
    if (GetActiveWindow() == m_window && !IsIconic(m_window) &&
        WindowFromPoint(screen) == m_window) {
        POINT client = screen;
        ScreenToClient(m_window, &client);
        RECT rc = ClientRect();
        if (PtInRect(&rc, client)) cursor = client;
    }
    SendMessageW(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
    m_mouseTracking = false;
}

void CUIManager::OnButtonDown(POINT point, bool doubleClick)
{
    if (!m_noActivate) SetFocus(m_window);
    m_lastMouse = point;
    CControlUI* control = ControlAtPoint(point);
    if (control == nullptr || !Owns(control)) return;
    m_pushed = control;
    if (!doubleClick) FocusControl(control);
    CaptureMouse();
    // Focus handlers may have destroyed the control (ForgetControl clears m_pushed).
    if (m_pushed != control) return;
    Dispatch(control, doubleClick ? EventKind::DoubleClick : EventKind::ButtonDown);
}

void CUIManager::OnButtonUp(POINT point)
{
    m_lastMouse = point;
    CControlUI* pushed = m_pushed;
    if (pushed == nullptr) return;
    ReleaseMouse();
    m_pushed = nullptr;
    Dispatch(pushed, EventKind::ButtonUp);
}

void CUIManager::OnRightButtonDown(POINT point)
{
    if (!m_noActivate) SetFocus(m_window);
    m_lastMouse = point;
    CControlUI* control = ControlAtPoint(point);
    if (control == nullptr || !Owns(control)) return;
    m_pushed = control;
    FocusControl(control);
    // Focus handlers may have destroyed the control (ForgetControl clears m_pushed).
    if (m_pushed != control) return;
    Dispatch(control, EventKind::RightButtonDown);
}

void CUIManager::OnContextMenu(POINT screenPoint)
{
    if (!m_root || m_mouseCaptured) return;
    POINT point = screenPoint;
    ScreenToClient(m_window, &point);
    m_lastMouse = point;
    CControlUI* pushed = m_pushed;
    if (pushed == nullptr) return;
    m_pushed = nullptr;
    Dispatch(pushed, EventKind::ContextMenu, 0, 0);
}

void CUIManager::OnWheel(POINT screenPoint, short delta)
{
    POINT point = screenPoint;
    ScreenToClient(m_window, &point);
    m_lastMouse = point;
    CControlUI* control = ControlAtPoint(point);
    if (control != nullptr && Owns(control))
        Dispatch(control, EventKind::ScrollWheel, delta < 0 ? 1 : 0);
    SendMessageW(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(m_lastMouse.x, m_lastMouse.y));
}

void CUIManager::CaptureMouse()
{
    SetCapture(m_window);
    m_mouseCaptured = true;
}

void CUIManager::ReleaseMouse()
{
    m_mouseCaptured = false;  // first: ReleaseCapture sends WM_CAPTURECHANGED at once
    ReleaseCapture();
}

bool CUIManager::IsMouseCaptured() const
{
    return m_mouseCaptured;
}

}  // namespace SkinUI
