// WindowImplBase; see window_impl_base.h.
#include "ui/window/window_impl_base.h"

#include "ui/render/resource_settings.h"
#include "ui/window/skin_archive_resource.h"

#include <windowsx.h>

#include <cstdlib>
#include <cwchar>

namespace SkinUI {
namespace {

constexpr DWORD kCaptionBitsMask = 0xFF3FFFFF;  // every style bit but WS_CAPTION's two
constexpr wchar_t kLoadFailedText[] = L"加载资源文件失败";
constexpr wchar_t kLoadFailedTitle[] = L"SkinUI";

// Handlers that clear the flag: the message goes on.
LRESULT NotHandled(bool& handled)
{
    handled = false;
    return 0;
}

MONITORINFO MonitorOf(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info;
}

bool IsCaptionExempt(const std::wstring& className)
{
    for (const wchar_t* exempt : {L"Button", L"Option", L"Text"}) {
        if (_wcsicmp(className.c_str(), exempt) == 0) return true;
    }
    return false;
}

}  // namespace

WindowImplBase::~WindowImplBase()
{
    // The manager goes before the window base would let go of the window.
    ReleaseNativeWindow();
}

void WindowImplBase::OnNotify(NotifyMsg& msg)
{
    DispatchNotification(msg);
}

LRESULT WindowImplBase::FilterMessage(UINT message, WPARAM wParam, LPARAM, bool&)
{
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
        return DefaultKeyResponse(wParam);
    return 0;
}

ControlPtr WindowImplBase::CreateCustomControl(const std::wstring&)
{
    return nullptr;
}

const NotifyMap* WindowImplBase::MessageMap() const
{
    static const NotifyMapEntry entries[] = {
        NotifyRecordEntry<WindowImplBase, &WindowImplBase::HandleClick>(L"click", L""),
        {},
    };
    static const NotifyMap map = {CNotifyPump::MessageMap(), entries};
    return &map;
}

LRESULT WindowImplBase::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = true;
    LRESULT result = Dispatch(message, wParam, lParam, handled);
    if (handled) return result;
    handled = true;  // HandleOtherMessage clears it unless it handles the message
    result = HandleOtherMessage(message, wParam, lParam, handled);
    if (handled) return result;
    if (m_manager.HandleWindowMessage(message, wParam, lParam, result)) return result;
    return CallPreviousProcedure(message, wParam, lParam);
}

// Exactly one handler per message; any other message is not handled.
LRESULT WindowImplBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    using Handler = LRESULT (WindowImplBase::*)(UINT, WPARAM, LPARAM, bool&);
    static const struct {
        UINT message;
        Handler handler;
    } kHandlers[] = {
        {WM_CREATE, &WindowImplBase::HandleCreate},
        {WM_DESTROY, &WindowImplBase::HandleDestroy},
        {WM_SIZE, &WindowImplBase::HandleSize},
        {WM_SETFOCUS, &WindowImplBase::HandleSetFocus},
        {WM_KILLFOCUS, &WindowImplBase::HandleKillFocus},
        {WM_CLOSE, &WindowImplBase::HandleClose},
        {WM_GETMINMAXINFO, &WindowImplBase::HandleGetMinMaxInfo},
        {WM_NCCALCSIZE, &WindowImplBase::HandleNcCalcSize},
        {WM_NCHITTEST, &WindowImplBase::HandleNcHitTest},
        {WM_NCPAINT, &WindowImplBase::HandleNcPaint},
        {WM_NCACTIVATE, &WindowImplBase::HandleNcActivate},
        {WM_KEYDOWN, &WindowImplBase::HandleKeyDown},
        {WM_CHAR, &WindowImplBase::HandleChar},
        {WM_SYSCOMMAND, &WindowImplBase::HandleSysCommand},
        {WM_MOUSEMOVE, &WindowImplBase::HandleMouseMove},
        {WM_LBUTTONDOWN, &WindowImplBase::HandleLButtonDown},
        {WM_LBUTTONUP, &WindowImplBase::HandleLButtonUp},
        {WM_MOUSEWHEEL, &WindowImplBase::HandleMouseWheel},
        {WM_MOUSEHOVER, &WindowImplBase::HandleMouseHover},
    };
    for (const auto& entry : kHandlers) {
        if (entry.message == message)
            return (this->*entry.handler)(message, wParam, lParam, handled);
    }
    return NotHandled(handled);
}

void WindowImplBase::OnNativeDestroyed(HWND)
{
    m_manager.RemovePreFilter(this);
    m_manager.RemoveReceiver(this);
    if (CControlUI* root = m_manager.Root()) m_manager.ForgetControl(root);
}

LRESULT WindowImplBase::HandleCreate(UINT, WPARAM, LPARAM, bool&)
{
    MakeFrameless();
    m_manager.AttachWindow(NativeHandle(), WindowClassName());
    m_manager.AddPreFilter(this);
    if (ResourceFolder().empty()) SetResourceFolder(ModuleFolder() + SkinFolder());
    if (!UseSkinArchive()) return 0;  // the window stays empty
    ControlPtr root = BuildSkin();
    if (!root) {
        MessageBoxW(nullptr, kLoadFailedText, kLoadFailedTitle, MB_ICONERROR);
        std::exit(1);
    }
    m_manager.AttachRoot(std::move(root));
    m_manager.AddReceiver(this);
    OnSkinReady();
    return 0;
}

// No caption; children and siblings clipped. The frame change applies by placing the window
// at its client rectangle.
void WindowImplBase::MakeFrameless()
{
    const HWND window = NativeHandle();
    SetWindowLongPtrW(window, GWL_STYLE,
                      static_cast<LONG_PTR>(FramelessStyle() | WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
    RECT client = {};
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, client.left, client.top, client.right - client.left,
                 client.bottom - client.top, SWP_FRAMECHANGED);
}

// False when a "ZIPRES" skin archive was asked for and cannot be had.
bool WindowImplBase::UseSkinArchive()
{
    switch (ResourceKind()) {
    case SkinResourceKind::ZipFile: SetSkinArchive(SkinZipFileName(), true); return true;
    case SkinResourceKind::ZipResource: return UseSkinArchiveResource(SkinResourceId()) != nullptr;
    case SkinResourceKind::File:
    case SkinResourceKind::Resource: return true;
    }
    return true;
}

ControlPtr WindowImplBase::BuildSkin()
{
    const std::wstring type = ResourceKind() == SkinResourceKind::Resource ? L"xml" : L"";
    CSkinBuilder builder;
    return builder.Build({SkinFile(), type, this, &m_manager});
}

LRESULT WindowImplBase::HandleNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    if (IsIconic(NativeHandle())) handled = false;
    return wParam == 0 ? TRUE : FALSE;
}

// Maximised, the window fills its monitor's work area; otherwise all of it is client area.
LRESULT WindowImplBase::HandleNcCalcSize(UINT, WPARAM, LPARAM lParam, bool&)
{
    if (!IsZoomed(NativeHandle())) return 0;
    // Both forms of the message start with the proposed window rectangle.
    RECT& proposed = *reinterpret_cast<RECT*>(lParam);
    const MONITORINFO monitor = MonitorOf(NativeHandle());
    proposed.right = proposed.left + (monitor.rcWork.right - monitor.rcWork.left);
    proposed.bottom = proposed.top + (monitor.rcWork.bottom - monitor.rcWork.top);
    return WVR_REDRAW;
}

LRESULT WindowImplBase::HandleNcPaint(UINT, WPARAM, LPARAM, bool&)
{
    return 0;
}

LRESULT WindowImplBase::HandleNcHitTest(UINT, WPARAM, LPARAM lParam, bool&)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(NativeHandle(), &point);
    RECT client = {};
    GetClientRect(NativeHandle(), &client);
    if (!IsZoomed(NativeHandle())) {
        const LRESULT border = HitTestSizeBox(point, client);
        if (border != HTNOWHERE) return border;
    }
    return InCaption(point, client) ? HTCAPTION : HTCLIENT;
}

// The size box's corner or edge under `point`, or HTNOWHERE.
LRESULT WindowImplBase::HitTestSizeBox(POINT point, const RECT& client) const
{
    const RECT box = m_manager.SizeBox();
    const bool left = point.x < client.left + box.left;
    const bool right = point.x >= client.right - box.right;
    if (point.y < client.top + box.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (point.y >= client.bottom - box.bottom)
        return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    return HTNOWHERE;
}

// In the caption band and over a control that is no button, option or text.
bool WindowImplBase::InCaption(POINT point, const RECT& client) const
{
    const RECT caption = m_manager.CaptionRect();
    if (point.x < client.left + caption.left || point.x >= client.right - caption.right ||
        point.y < caption.top || point.y >= caption.bottom)
        return false;
    CControlUI* control = m_manager.ControlAtPoint(point);
    return control && !IsCaptionExempt(control->GetClassName());
}

LRESULT WindowImplBase::HandleGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled)
{
    auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
    const MONITORINFO monitor = MonitorOf(NativeHandle());
    info.ptMaxPosition.x = monitor.rcWork.left - monitor.rcMonitor.left;
    info.ptMaxPosition.y = monitor.rcWork.top - monitor.rcMonitor.top;
    info.ptMaxTrackSize.x = monitor.rcWork.right - monitor.rcWork.left;
    info.ptMaxTrackSize.y = monitor.rcWork.bottom - monitor.rcWork.top;
    info.ptMinTrackSize.x = m_manager.MinInfo().cx;
    info.ptMinTrackSize.y = m_manager.MinInfo().cy;
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleSize(UINT, WPARAM, LPARAM, bool& handled)
{
    const SIZE corner = m_manager.RoundCorner();
    const HWND window = NativeHandle();
    if (!IsIconic(window) && (corner.cx != 0 || corner.cy != 0)) {
        RECT rect = {};
        GetWindowRect(window, &rect);
        HRGN region = CreateRoundRectRgn(0, 0, rect.right - rect.left + 1,
                                         rect.bottom - rect.top + 1, corner.cx, corner.cy);
        // The system owns the region once it is the window's.
        if (region && !SetWindowRgn(window, region, TRUE)) DeleteObject(region);
    }
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool&)
{
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendToSelf(WM_CLOSE);
        return 0;
    }
    const bool wasMaximized = IsZoomed(NativeHandle()) != FALSE;
    const LRESULT result = CallPreviousProcedure(message, wParam, lParam);
    if (NativeHandle() && (IsZoomed(NativeHandle()) != FALSE) != wasMaximized)
        SwapMaximizeButtons(wasMaximized);
    return result;
}

void WindowImplBase::SwapMaximizeButtons(bool wasMaximized)
{
    CControlUI* maximize = m_manager.ControlByName(L"maxbtn");
    CControlUI* restore = m_manager.ControlByName(L"restorebtn");
    if (!maximize || !restore) return;
    maximize->SetVisible(wasMaximized);
    restore->SetVisible(!wasMaximized);
}

void WindowImplBase::HandleClick(NotifyMsg& msg)
{
    const std::wstring sender = msg.sender ? msg.sender->GetName() : std::wstring();
    if (sender == L"closebtn")
        PostToSelf(WM_CLOSE, 1);
    else if (sender == L"minbtn")
        SendToSelf(WM_SYSCOMMAND, SC_MINIMIZE);
    else if (sender == L"maxbtn")
        SendToSelf(WM_SYSCOMMAND, SC_MAXIMIZE);
    else if (sender == L"restorebtn")
        SendToSelf(WM_SYSCOMMAND, SC_RESTORE);
}

LRESULT WindowImplBase::DefaultKeyResponse(WPARAM key)
{
    if (key != VK_ESCAPE) return 0;
    PostToSelf(WM_CLOSE, 1);
    return 1;
}

DWORD WindowImplBase::FramelessStyle() const
{
    return static_cast<DWORD>(GetWindowLongPtrW(NativeHandle(), GWL_STYLE)) & kCaptionBitsMask;
}

LRESULT WindowImplBase::HandleClose(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleDestroy(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleMouseWheel(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleMouseHover(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleChar(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleKeyDown(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleKillFocus(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleSetFocus(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleLButtonDown(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleLButtonUp(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleMouseMove(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

LRESULT WindowImplBase::HandleOtherMessage(UINT, WPARAM, LPARAM, bool& handled)
{
    return NotHandled(handled);
}

}  // namespace SkinUI
