// CWindowWnd; see window_wnd.h.
//
// The object is found through the window property "WndX" for every kind of window (own class,
// superclass, hooked window): the user data of a window we hook or superclass may belong to
// its own procedure.
#include "ui/window/window_wnd.h"

#include "ui/core/ui_manager.h"
#include "ui/render/resource_settings.h"

#include <algorithm>

namespace SkinUI {
namespace {

constexpr wchar_t kObjectProperty[] = L"WndX";

CWindowWnd* ObjectOf(HWND window)
{
    return static_cast<CWindowWnd*>(GetPropW(window, kObjectProperty));
}

// An error saying that the class exists already counts as success.
bool Registered(ATOM atom)
{
    return atom != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int RoundUpTo16(int pixels)
{
    return (pixels + 15) / 16 * 16;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT WorkAreaNearest(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

// The top-left corner of `window` centred on `centre`: right and bottom edges pulled inside
// `area` where they stick out, then left and top edges, which win.
POINT CentredInside(const RECT& window, const RECT& centre, const RECT& area)
{
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG x = (centre.left + centre.right) / 2 - width / 2;
    LONG y = (centre.top + centre.bottom) / 2 - height / 2;
    x = std::max(std::min(x, area.right - width), area.left);
    y = std::max(std::min(y, area.bottom - height), area.top);
    return {x, y};
}

}  // namespace

CWindowWnd::~CWindowWnd()
{
    Detach();
}

HWND CWindowWnd::CreateNative(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x,
                              int y, int width, int height, HMENU menu)
{
    if (!RegisterWindowClass()) return nullptr;
    // The handle is stored by the window procedure when creation begins.
    HWND window = CreateWindowExW(exStyle, WindowClassName(), title, style, x, y, width, height,
                                  parent, menu, ModuleInstance(), this);
    return window ? m_window : nullptr;
}

HWND CWindowWnd::CreateNative(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle,
                              const RECT& rect, HMENU menu)
{
    return CreateNative(parent, title, style, exStyle, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, menu);
}

HWND CWindowWnd::CreateNative(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle)
{
    return CreateNative(parent, title, style, exStyle, 0, 0, 0, 0, nullptr);
}

void CWindowWnd::ShowNative(bool show, bool takeFocus)
{
    if (!IsWindow(m_window)) return;
    ShowWindow(m_window, !show ? SW_HIDE : takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
}

UINT CWindowWnd::RunModal()
{
    const HWND window = m_window;
    const HWND owner = GetWindow(window, GW_OWNER);
    auto giveBackOwner = [owner] {
        if (!owner) return;
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    };
    ShowWindow(window, SW_SHOWNORMAL);
    if (owner) EnableWindow(owner, FALSE);
    UINT result = 0;
    MSG msg = {};
    bool quit = false;
    while (IsWindow(window)) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            quit = msg.message == WM_QUIT;
            break;
        }
        if (msg.hwnd == window && msg.message == WM_CLOSE) {
            result = static_cast<UINT>(msg.wParam);
            giveBackOwner();
        }
        if (CUIManager::TranslateForManagers(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    giveBackOwner();
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    return result;
}

void CWindowWnd::PostClose(UINT result)
{
    if (IsWindow(m_window)) PostMessageW(m_window, WM_CLOSE, result, 0);
}

void CWindowWnd::CenterOnOwner()
{
    if (!IsWindow(m_window)) return;
    const HWND owner = GetWindow(m_window, GW_OWNER);
    const RECT area = WorkAreaNearest(owner ? owner : m_window);
    const RECT centre = owner && !IsIconic(owner) ? WindowRect(owner) : area;
    const POINT place = CentredInside(WindowRect(m_window), centre, area);
    SetWindowPos(m_window, nullptr, place.x, place.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::AttachIcon(UINT resourceId)
{
    auto load = [resourceId](int width, int height) {
        return OwnedIcon(static_cast<HICON>(
            LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                       RoundUpTo16(width), RoundUpTo16(height), LR_DEFAULTCOLOR)));
    };
    OwnedIcon big = load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    OwnedIcon small = load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window no longer shows the icons held until now.
    m_bigIcon = std::move(big);
    m_smallIcon = std::move(small);
}

void CWindowWnd::ResizeClientArea(int width, int height)
{
    RECT rect = {};
    if (!GetClientRect(m_window, &rect)) return;
    if (width != -1) rect.right = width;
    if (height != -1) rect.bottom = height;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(m_window, GWL_EXSTYLE));
    // A child window's "menu" is its id.
    const bool menu = !(style & WS_CHILD) && GetMenu(m_window) != nullptr;
    AdjustWindowRectEx(&rect, style, menu, exStyle);
    SetWindowPos(m_window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWindowWnd::HookWindow(HWND window)
{
    if (m_window || !IsWindow(window) || ObjectOf(window)) return false;
    if (!SetPropW(window, kObjectProperty, this)) return false;
    m_window = window;
    m_previousProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowWnd::WindowProcedure)));
    m_subclassed = true;
    return true;
}

void CWindowWnd::UnhookWindow()
{
    if (m_subclassed) Detach();
}

LRESULT CWindowWnd::SendToSelf(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageW(m_window, message, wParam, lParam);
}

bool CWindowWnd::PostToSelf(UINT message, WPARAM wParam, LPARAM lParam)
{
    return PostMessageW(m_window, message, wParam, lParam) != FALSE;
}

LRESULT CWindowWnd::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallPreviousProcedure(message, wParam, lParam);
}

void CWindowWnd::OnNativeDestroyed(HWND) {}

LRESULT CWindowWnd::CallPreviousProcedure(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(m_previousProcedure, m_window, message, wParam, lParam);
}

bool CWindowWnd::RegisterWindowClass()
{
    const HINSTANCE instance = ModuleInstance();
    if (SuperClassName()) return RegisterSuperclass(instance);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = ClassStyle();
    wc.lpfnWndProc = &CWindowWnd::WindowProcedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the standard arrow
    wc.lpszClassName = WindowClassName();
    return Registered(RegisterClassExW(&wc));
}

// The superclass keeps everything of the class it extends but its procedure, which becomes
// this object's previous procedure.
bool CWindowWnd::RegisterSuperclass(HINSTANCE instance)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, SuperClassName(), &wc) &&
        !GetClassInfoExW(instance, SuperClassName(), &wc))
        return false;
    m_previousProcedure = wc.lpfnWndProc;
    wc.lpfnWndProc = &CWindowWnd::WindowProcedure;
    wc.hInstance = instance;
    wc.lpszClassName = WindowClassName();
    return Registered(RegisterClassExW(&wc));
}

LRESULT CALLBACK CWindowWnd::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    CWindowWnd* object =
        message == WM_NCCREATE ? AttachAtCreation(window, lParam) : ObjectOf(window);
    if (!object) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) return object->DetachAtLastMessage(wParam, lParam);
    return object->ProcessMessage(message, wParam, lParam);
}

CWindowWnd* CWindowWnd::AttachAtCreation(HWND window, LPARAM createStruct)
{
    auto* object =
        static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(createStruct)->lpCreateParams);
    if (!object || !SetPropW(window, kObjectProperty, object)) return nullptr;
    object->m_window = window;
    return object;
}

// The previous procedure sees the last message first; then the object lets go of the window
// and hears that it is gone (it may delete itself there, so nothing follows).
LRESULT CWindowWnd::DetachAtLastMessage(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallPreviousProcedure(WM_NCDESTROY, wParam, lParam);
    const HWND window = m_window;
    Detach();
    OnNativeDestroyed(window);
    return result;
}

void CWindowWnd::Detach()
{
    if (!m_window) return;
    if (ObjectOf(m_window) == this) RemovePropW(m_window, kObjectProperty);
    if (m_subclassed) {
        SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProcedure));
        m_previousProcedure = DefWindowProcW;
        m_subclassed = false;
    }
    m_window = nullptr;
}

}  // namespace SkinUI
