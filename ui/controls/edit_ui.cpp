// CEditUI: attributes, the box's opening and closing, events and drawing; the box itself
// lives in edit_wnd.cpp.
#include "ui/controls/edit_ui.h"

#include "ui/controls/edit_wnd.h"
#include "ui/core/attribute_table.h"
#include "ui/core/attribute_values.h"
#include "ui/core/ui_manager.h"
#include "ui/render/text_render.h"

namespace SkinUI {
namespace {

// A line of text is this much higher than its font.
constexpr int kLineMargin = 8;

using Entry = AttributeEntry<CEditUI>;
const Entry kEditAttributes[] = {
    {L"readonly", [](CEditUI& e, const std::wstring& v) { e.SetReadOnly(ParseBool(v)); }},
    {L"numberonly", [](CEditUI& e, const std::wstring& v) { e.SetNumberOnly(ParseBool(v)); }},
    {L"password", [](CEditUI& e, const std::wstring& v) { e.SetPassword(ParseBool(v)); }},
    {L"autoselall", [](CEditUI& e, const std::wstring& v) { e.SetAutoSelectAll(ParseBool(v)); }},
    {L"maxchar", [](CEditUI& e, const std::wstring& v) { e.SetMaxChar(ParseInt(v)); }},
    {L"normalimage", [](CEditUI& e, const std::wstring& v) { e.SetNormalImage(v); }},
    {L"hotimage", [](CEditUI& e, const std::wstring& v) { e.SetHotImage(v); }},
    {L"focusedimage", [](CEditUI& e, const std::wstring& v) { e.SetFocusedImage(v); }},
    {L"disabledimage", [](CEditUI& e, const std::wstring& v) { e.SetDisabledImage(v); }},
    {L"nativebkcolor",
     [](CEditUI& e, const std::wstring& v) { e.SetNativeBkColor(ParseColor(v)); }},
};

}  // namespace

CEditUI::CEditUI()
{
    SetTextPadding(RECT{4, 3, 4, 3});
    SetBkColor(0xFFFFFFFF);
}

// The box goes first, while the manager still knows the control.
CEditUI::~CEditUI()
{
    m_window.reset();
}

std::wstring CEditUI::GetClassName() const
{
    return L"Edit";
}

CControlUI* CEditUI::QueryInterface(const std::wstring& name)
{
    return name == L"Edit" ? this : CLabelUI::QueryInterface(name);
}

UINT CEditUI::GetFlags() const
{
    return IsEnabled() ? (ControlFlagTabStop | ControlFlagSetsCursor) : 0;
}

HWND CEditUI::NativeWindow() const
{
    return m_window ? m_window->Handle() : nullptr;
}

void CEditUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kEditAttributes, *this, name, value)) CLabelUI::ApplyAttribute(name, value);
}

SIZE CEditUI::PreferredSize(SIZE /*available*/)
{
    const SIZE fixed = {GetRequestedWidth(), GetRequestedHeight()};
    if (fixed.cy > 0 || RenderContext() == nullptr) return fixed;
    const FontInfo& font = RenderContext()->Fonts().FontInfoByNumber(GetFont());
    return SIZE{fixed.cx, font.metrics.tmHeight + kLineMargin};
}

// --- settings -------------------------------------------------------------------------------

void CEditUI::SetText(const std::wstring& text)
{
    CLabelUI::SetText(text);
    if (m_window) m_window->SetText(text);
}

void CEditUI::SetMaxChar(int count)
{
    m_maxChar = count;
    if (m_window) m_window->SetMaxChar(count);
}

void CEditUI::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    if (m_window) m_window->SetReadOnly(readOnly);
}

void CEditUI::SetNumberOnly(bool numberOnly)
{
    m_nativeStyle = numberOnly ? (m_nativeStyle | ES_NUMBER) : (m_nativeStyle & ~ES_NUMBER);
    if (m_window) m_window->SetNumberOnly(numberOnly);
}

void CEditUI::SetPassword(bool password)
{
    m_password = password;
    if (m_window) m_window->SetPasswordChar(password ? m_passwordChar : L'\0');
    Invalidate();
}

void CEditUI::SetPasswordChar(wchar_t ch)
{
    m_passwordChar = ch;
    if (m_window && m_password) m_window->SetPasswordChar(ch);
    Invalidate();
}

void CEditUI::SetAutoSelectAll(bool selectAll)
{
    m_autoSelectAll = selectAll;
}

void CEditUI::SetNativeBkColor(DWORD argb)
{
    m_nativeBkColor = argb;
    if (m_window) InvalidateRect(m_window->Handle(), nullptr, TRUE);
}

void CEditUI::SetImage(ImageDrawInfo& image, const std::wstring& descriptor)
{
    if (image.SetDescriptor(descriptor)) Invalidate();
}

void CEditUI::SetNormalImage(const std::wstring& descriptor)
{
    SetImage(m_normalImage, descriptor);
}

void CEditUI::SetHotImage(const std::wstring& descriptor)
{
    SetImage(m_hotImage, descriptor);
}

void CEditUI::SetFocusedImage(const std::wstring& descriptor)
{
    SetImage(m_focusedImage, descriptor);
}

void CEditUI::SetDisabledImage(const std::wstring& descriptor)
{
    SetImage(m_disabledImage, descriptor);
}

// --- place and visibility -------------------------------------------------------------------

RECT CEditUI::NativeRect() const
{
    RECT rc = TextRect();
    if (IsRectEmpty(&rc)) return RECT{};
    if (IRenderContext* context = RenderContext()) {
        const LONG fontHeight = context->Fonts().FontInfoByNumber(GetFont()).metrics.tmHeight;
        const LONG height = rc.bottom - rc.top;
        if (fontHeight > 0 && fontHeight < height) {
            rc.top += (height - fontHeight) / 2;
            rc.bottom = rc.top + fontHeight;
        }
    }
    for (const CControlUI* ancestor = GetParent(); ancestor != nullptr;
         ancestor = ancestor->GetParent()) {
        const RECT content = ancestor->GetContentRect();
        if (!ancestor->IsVisible() || !IntersectRect(&rc, &rc, &content)) return RECT{};
    }
    return rc;
}

void CEditUI::Place(RECT rect, bool invalidate)
{
    CLabelUI::Place(rect, invalidate);
    if (m_window) m_window->Reposition();
}

void CEditUI::Offset(int dx, int dy, bool invalidate)
{
    CLabelUI::Offset(dx, dy, invalidate);
    if (m_window) m_window->Reposition();
}

void CEditUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    if (!IsVisible()) CloseNativeWindow();
}

void CEditUI::SetInnerVisible(bool visible)
{
    if (visible) return;
    CUIManager* manager = GetWindowManager();
    if (manager != nullptr && manager->Focus() == this) manager->FocusControl(nullptr);
    CloseNativeWindow();
}

void CEditUI::SetEnabled(bool enabled)
{
    CLabelUI::SetEnabled(enabled);
    if (m_window) m_window->SetEnabled(enabled);
    if (enabled) return;
    m_state = 0;
    CloseNativeWindow();
}

// --- the box --------------------------------------------------------------------------------

bool CEditUI::HasOpenBox() const
{
    return m_window && !m_window->IsClosing();
}

void CEditUI::OpenNativeWindow()
{
    if (m_window) {
        if (CUIManager* manager = GetWindowManager())
            manager->RemoveChildWindow(m_window->Handle());
        m_window.reset();
    }
    m_window = CEditWnd::Open(*this);
}

void CEditUI::CloseNativeWindow()
{
    if (!m_window) return;
    CUIManager* manager = GetWindowManager();
    // Taking the focus gives the native focus to the window, which closes the box itself.
    if (manager != nullptr && manager->Focus() == this) manager->FocusControl(nullptr);
    if (m_window) m_window->Close();
}

void CEditUI::StoreNativeText(const std::wstring& text)
{
    CLabelUI::SetText(text);
}

void CEditUI::NativeWindowDestroyed(CEditWnd* box, HWND window)
{
    Invalidate();
    if (CUIManager* manager = GetWindowManager()) manager->RemoveChildWindow(window);
    m_state = 0;
    if (m_window.get() == box) m_window.reset();
}

// --- events ---------------------------------------------------------------------------------

void CEditUI::HandleEvent(ControlEvent& event)
{
    if (!HandleEditEvent(event)) CLabelUI::HandleEvent(event);
}

bool CEditUI::HandleEditEvent(ControlEvent& event)
{
    switch (event.kind) {
    case EventKind::SetCursor:
        if (!IsEnabled()) return false;
        ::SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
        return true;
    case EventKind::WindowSize:
        if (!HasOpenBox()) return false;
        GetWindowManager()->FocusFirstTabStop(this);  // the box opens again where it now lies
        return true;
    case EventKind::ScrollWheel: return HasOpenBox();
    case EventKind::SetFocus: return OnSetFocus();
    case EventKind::KillFocus:
        if (IsEnabled()) Invalidate();
        return false;
    case EventKind::ButtonDown:
    case EventKind::DoubleClick:
    case EventKind::RightButtonDown: OnPress(event); return true;
    case EventKind::MouseMove:
    case EventKind::ButtonUp:
    case EventKind::ContextMenu: return true;
    case EventKind::MouseEnter: OnMouseEnter(event); return true;
    case EventKind::MouseLeave: OnMouseLeave(event); return true;
    default: return false;
    }
}

// Opens the box; the label then records the focus.
bool CEditUI::OnSetFocus()
{
    if (!IsEnabled()) return false;
    if (HasOpenBox()) return true;
    OpenNativeWindow();
    Invalidate();
    return false;
}

void CEditUI::OnPress(const ControlEvent& event)
{
    if (!IsEnabled()) return;
    GetWindowManager()->ReleaseMouse();
    if (IsFocused() && !HasOpenBox()) {
        OpenNativeWindow();
    } else if (HasOpenBox() && !m_autoSelectAll) {
        m_window->PressAt(event.mouse);
    }
}

void CEditUI::OnMouseEnter(const ControlEvent& event)
{
    const RECT item = GetRect();
    if (!IsEnabled() || !PtInRect(&item, event.mouse) || (m_state & kHot) != 0) return;
    m_state |= kHot;
    Invalidate();
}

// A leave while the mouse is still over the control (over the box, say) waits for the
// manager's next leave.
void CEditUI::OnMouseLeave(const ControlEvent& event)
{
    CUIManager* manager = GetWindowManager();
    const RECT item = GetRect();
    if (PtInRect(&item, event.mouse)) {
        manager->AddLeaveWatcher(this);
        return;
    }
    if (IsEnabled() && (m_state & kHot) != 0) {
        m_state &= ~kHot;
        Invalidate();
    }
    manager->RemoveLeaveWatcher(this);
}

// --- drawing --------------------------------------------------------------------------------

bool CEditUI::DrawImage(HDC dc, ImageDrawInfo& image)
{
    IRenderContext* context = RenderContext();
    return context != nullptr && DrawImageDescriptor(dc, *context, GetRect(), PaintRect(), image);
}

void CEditUI::DrawStateImage(HDC dc)
{
    m_state = IsFocused() ? (m_state | kFocused) : (m_state & ~kFocused);
    m_state = IsEnabled() ? (m_state & ~kDisabled) : (m_state | kDisabled);
    ImageDrawInfo* chosen = &m_normalImage;
    if ((m_state & kDisabled) != 0) {
        chosen = &m_disabledImage;
    } else if ((m_state & kFocused) != 0) {
        chosen = &m_focusedImage;
    } else if ((m_state & kHot) != 0) {
        chosen = &m_hotImage;
    }
    if (chosen != &m_normalImage && DrawImage(dc, *chosen)) return;
    DrawImage(dc, m_normalImage);
}

void CEditUI::DrawCaption(HDC dc)
{
    IRenderContext* context = RenderContext();
    std::wstring text = GetText();
    if (context == nullptr || text.empty()) return;
    StoreDefaultColors();
    if (m_password) text.assign(text.size(), m_passwordChar);
    RECT rc = TextRect();
    DrawPlainText(dc, *context, rc, text, StateTextColor(), GetFont(),
                  GetTextStyle() | DT_SINGLELINE);
}

}  // namespace SkinUI
