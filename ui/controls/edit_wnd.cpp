// CEditWnd: the window class, creation and the box's messages; see edit_wnd.h.
#include "ui/controls/edit_wnd.h"

#include "ui/controls/edit_ui.h"
#include "ui/core/ui_manager.h"
#include "ui/render/gdi_values.h"
#include "ui/render/snapshot.h"

#include <algorithm>

namespace SkinUI {
namespace {

constexpr wchar_t kClassName[] = L"EditWnd";
// The caret of a box in a layered window blinks with this timer.
constexpr UINT_PTR kCaretTimer = 20;
constexpr UINT kReflectedCommand = WM_COMMAND + ReflectedMessageOffset;
constexpr UINT kReflectedColorEdit = WM_CTLCOLOREDIT + ReflectedMessageOffset;
constexpr UINT kReflectedColorStatic = WM_CTLCOLORSTATIC + ReflectedMessageOffset;
// The colour that leaves the box's background to the system.
constexpr DWORD kSystemBackground = 0xFFFFFFFF;

// How many messages of boxes are being handled right now (user interface thread only). A
// box is never destroyed inside one: the system edit may still use its state after the
// message that reached us returns to it.
int g_messageDepth = 0;

// Registers "EditWnd" with the system edit's class values and returns the system edit's
// procedure, to which the superclass passes every message it does not answer itself.
WNDPROC RegisterEditClass(WNDPROC procedure)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, L"Edit", &wc)) return nullptr;
    const WNDPROC system = wc.lpfnWndProc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    wc.style &= ~CS_GLOBALCLASS;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    return system;
}

// Paints the window's controls under `rc` (client coordinates), stopping at `stop`, and
// returns that part covered with `overlay`.
DibSection SkinUnder(CUIManager& manager, CControlUI& stop, const RECT& rc, DWORD overlay)
{
    CControlUI* root = manager.Root();
    if (root == nullptr || IsRectEmpty(&rc) || rc.left < 0 || rc.top < 0) return DibSection();
    // Drawn at the window's own coordinates: clip regions are set in device units.
    DibSection canvas = CreateDibSection32(rc.right, rc.bottom);
    MemoryDC dc;
    if (!canvas || !dc) return DibSection();
    SelectGuard select(dc.get(), canvas.bitmap.get());
    root->PaintTo(dc.get(), rc, &stop);
    return Snapshot(dc.get(), rc, overlay);
}

}  // namespace

void CEditWnd::WindowDestroyer::operator()(HWND window) const
{
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);  // no more calls to the object
    if (g_messageDepth == 0) {
        DestroyWindow(window);
        return;
    }
    ShowWindow(window, SW_HIDE);
    PostMessageW(window, WM_CLOSE, 0, 0);
}

CEditWnd::CEditWnd(CEditUI& owner, CUIManager& manager) : m_owner(&owner), m_manager(manager) {}

CEditWnd::~CEditWnd() = default;

std::unique_ptr<CEditWnd> CEditWnd::Open(CEditUI& owner)
{
    CUIManager* manager = owner.GetWindowManager();
    if (manager == nullptr || manager->PaintWindow() == nullptr) return nullptr;
    const RECT rc = owner.NativeRect();
    if (IsRectEmpty(&rc)) return nullptr;
    std::unique_ptr<CEditWnd> box(new CEditWnd(owner, *manager));
    if (!box->Create(rc)) return nullptr;
    box->Configure();
    box->ShowFocused();
    return box;
}

WNDPROC CEditWnd::SystemProcedure()
{
    static const WNDPROC system = RegisterEditClass(&CEditWnd::Procedure);
    return system;
}

LRESULT CEditWnd::CallSystem(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Only windows of the class reach here, so the class and its procedure exist.
    return CallWindowProcW(SystemProcedure(), hwnd, message, wParam, lParam);
}

bool CEditWnd::Create(const RECT& rc)
{
    if (SystemProcedure() == nullptr) return false;  // registers the class on first use
    const UINT style = m_owner->GetTextStyle();
    DWORD windowStyle = WS_CHILD | ES_AUTOHSCROLL | m_owner->GetNativeStyle();
    if (style & DT_CENTER) {
        windowStyle |= ES_CENTER;
    } else if (style & DT_RIGHT) {
        windowStyle |= ES_RIGHT;
    }
    if (m_owner->IsPassword()) windowStyle |= ES_PASSWORD;
    m_layered = m_manager.IsLayered();
    HWND window = CreateWindowExW(0, kClassName, L"", windowStyle, rc.left, rc.top,
                                  rc.right - rc.left, rc.bottom - rc.top, m_manager.PaintWindow(),
                                  nullptr, GetModuleHandleW(nullptr), this);
    return window != nullptr;  // m_window was set by WM_NCCREATE
}

// The owner's settings, then the text (not reported as typed).
void CEditWnd::Configure()
{
    HWND window = Handle();
    HFONT font = m_manager.Fonts().FontByNumber(m_owner->GetFont());
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetMaxChar(m_owner->GetMaxChar());
    if (m_owner->IsPassword()) SetPasswordChar(m_owner->GetPasswordChar());
    SetText(m_owner->GetText());
    SendMessageW(window, EM_SETMODIFY, FALSE, 0);
    SendMessageW(window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(EC_USEFONTINFO, EC_USEFONTINFO));
    EnableWindow(window, m_owner->IsEnabled());
    SetReadOnly(m_owner->IsReadOnly());
}

void CEditWnd::ShowFocused()
{
    HWND window = Handle();
    // Listed first: the window's kill-focus handling then knows whose box takes the focus.
    m_manager.AddChildWindow(m_owner, window);
    m_manager.InvalidateArea(PlaceInWindow());
    if (m_layered) {
        const UINT blink = GetCaretBlinkTime();
        if (blink != INFINITE) SetTimer(window, kCaretTimer, blink, nullptr);
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetFocus(window);
    const int length = GetWindowTextLengthW(window);
    if (m_owner->IsAutoSelectAll()) {
        SendMessageW(window, EM_SETSEL, 0, std::max(length, 1));
    } else {
        SendMessageW(window, EM_SETSEL, length, length);
    }
}

LRESULT CALLBACK CEditWnd::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<CEditWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_window.reset(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CEditWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return CallSystem(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = CallSystem(hwnd, message, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_window.release();  // the system destroyed it
        // The owner deletes `self` here.
        if (self->m_owner != nullptr) self->m_owner->NativeWindowDestroyed(self, hwnd);
        return result;
    }
    ++g_messageDepth;
    // Nothing touches `self` after HandleMessage: a notification may have deleted it.
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    --g_messageDepth;
    return result;
}

LRESULT CEditWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = Handle();
    switch (message) {
    case WM_KEYDOWN: return OnKeyDown(wParam, lParam);
    case WM_CHAR:
        if (wParam == VK_RETURN) return 0;  // "return" was sent at the key press
        break;
    case WM_KILLFOCUS: return OnKillFocus(reinterpret_cast<HWND>(wParam));
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_PAINT: return OnPaint();
    case WM_PRINT: return OnPrint(reinterpret_cast<HDC>(wParam), lParam);
    case WM_TIMER:
        if (wParam != kCaretTimer) break;
        OnCaretTimer();
        return 0;
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE) OnTextChanged();
        return 0;
    case kReflectedColorEdit:
    case kReflectedColorStatic:
        return reinterpret_cast<LRESULT>(OnColorRequest(reinterpret_cast<HDC>(wParam)));
    default: break;
    }
    return CallSystem(window, message, wParam, lParam);
}

LRESULT CEditWnd::OnKeyDown(WPARAM key, LPARAM lParam)
{
    if (key != VK_RETURN) return CallSystem(Handle(), WM_KEYDOWN, key, lParam);
    m_manager.SendNotification(m_owner, L"return");
    return 0;
}

// The skin window hears of a focus that leaves for another window: it never had the focus
// while the box held it.
LRESULT CEditWnd::OnKillFocus(HWND next)
{
    HWND window = Handle();
    HWND skin = m_manager.PaintWindow();
    const LRESULT result = CallSystem(window, WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
    Close();
    if (next != skin) SendMessageW(skin, WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
    return result;
}

void CEditWnd::Close()
{
    if (m_closing || !m_window) return;
    m_closing = true;
    ShowWindow(Handle(), SW_HIDE);
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

LRESULT CEditWnd::OnPaint()
{
    const LRESULT result = CallSystem(Handle(), WM_PAINT, 0, 0);
    if (m_layered) ListForPrinting();
    return result;
}

void CEditWnd::ListForPrinting()
{
    m_manager.AddChildWindow(m_owner, Handle());
    m_manager.InvalidateArea(PlaceInWindow());
}

// The system never shows the caret of a box in a layered window: the frame gets a
// one-pixel line of the text colour where it is, while it is on.
LRESULT CEditWnd::OnPrint(HDC dc, LPARAM flags)
{
    HWND window = Handle();
    const LRESULT result = CallSystem(window, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
    POINT caret;
    if (!m_layered || !m_caretShown || dc == nullptr || GetFocus() != window ||
        !GetCaretPos(&caret))
        return result;
    RECT client;
    GetClientRect(window, &client);
    Pen pen(CreatePen(PS_SOLID, 1, ArgbToColorRef(m_owner->GetTextColor())));
    SelectGuard select(dc, pen.get());
    MoveToEx(dc, caret.x, client.top, nullptr);
    LineTo(dc, caret.x, client.bottom);
    return result;
}

void CEditWnd::OnCaretTimer()
{
    m_caretShown = !m_caretShown;
    InvalidateRect(Handle(), nullptr, FALSE);
    ListForPrinting();
}

void CEditWnd::OnTextChanged()
{
    // Only typing counts: the control's own SetText stores its text before the box shows it
    // (the box reports that as a change too), and Wine also reports a key that the limit or
    // "numberonly" refused.
    const std::wstring text = NativeText();
    if (text == m_owner->GetText()) return;
    m_owner->StoreNativeText(text);
    if (m_layered) m_owner->Invalidate();
    m_manager.SendNotification(m_owner, L"textchanged");
}

HBRUSH CEditWnd::OnColorRequest(HDC dc)
{
    const DWORD color = m_owner->GetNativeBkColor();
    if (color == kSystemBackground) return nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ArgbToColorRef(m_owner->GetTextColor()));
    return (color >> 24) == 0xFF ? SolidBrush(color) : PatternBrush(color);
}

HBRUSH CEditWnd::SolidBrush(DWORD argb)
{
    if (!m_solidBrush || m_solidColor != argb) {
        m_solidBrush.reset(CreateSolidBrush(ArgbToColorRef(argb)));
        m_solidColor = argb;
    }
    return m_solidBrush.get();
}

// Made again at every request (what lies under the box may have changed); the brush of the
// previous request is freed first, so typing does not pile up brushes and bitmaps.
HBRUSH CEditWnd::PatternBrush(DWORD argb)
{
    m_patternBrush.reset();
    m_patternBitmap = DibSection();
    m_patternBitmap = SkinUnder(m_manager, *m_owner, PlaceInWindow(), argb);
    if (m_patternBitmap) m_patternBrush.reset(CreatePatternBrush(m_patternBitmap.bitmap.get()));
    return m_patternBrush.get();
}

RECT CEditWnd::PlaceInWindow() const
{
    RECT rc;
    GetWindowRect(Handle(), &rc);
    MapWindowPoints(nullptr, m_manager.PaintWindow(), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::wstring CEditWnd::NativeText() const
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(Handle())) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(Handle(), &text[0], int(text.size()))));
    return text;
}

void CEditWnd::Reposition()
{
    if (m_closing) return;
    const RECT rc = m_owner->NativeRect();
    if (IsRectEmpty(&rc)) {
        ShowWindow(Handle(), SW_HIDE);
        return;
    }
    SetWindowPos(Handle(), nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CEditWnd::SetText(const std::wstring& text)
{
    SetWindowTextW(Handle(), text.c_str());
}

void CEditWnd::SetMaxChar(int count)
{
    SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(std::max(count, 0)), 0);
}

void CEditWnd::SetReadOnly(bool readOnly)
{
    SendMessageW(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void CEditWnd::SetPasswordChar(wchar_t ch)
{
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, ch, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void CEditWnd::SetNumberOnly(bool numberOnly)
{
    const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    SetWindowLongPtrW(Handle(), GWL_STYLE, numberOnly ? (style | ES_NUMBER) : (style & ~ES_NUMBER));
}

void CEditWnd::SetEnabled(bool enabled)
{
    EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

void CEditWnd::PressAt(POINT point)
{
    const RECT place = PlaceInWindow();
    const POINT local = {point.x - place.left, point.y - place.top};
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
}

}  // namespace SkinUI
