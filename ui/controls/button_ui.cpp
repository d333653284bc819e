// CButtonUI: attributes, state images and their drawing order, the caption's state colours;
// the input handling and the fade are in button_input.cpp.
#include "ui/controls/button_ui.h"

#include "ui/core/attribute_table.h"
#include "ui/core/attribute_values.h"
#include "ui/core/ui_manager.h"
#include "ui/render/fill_and_stroke.h"

namespace SkinUI {
namespace {

constexpr int kFiveStatusStrips = 5;
constexpr int kLineMargin = 8;

void ApplyFadeDelta(CButtonUI& button, const std::wstring& value)
{
    const int delta = ParseInt(value);
    button.SetFadeDelta(static_cast<BYTE>(delta < 0 ? 0 : delta > 255 ? 255 : delta));
}

using Entry = AttributeEntry<CButtonUI>;
const Entry kButtonAttributes[] = {
    {L"normalimage", [](CButtonUI& b, const std::wstring& v) { b.SetNormalImage(v); }},
    {L"hotimage", [](CButtonUI& b, const std::wstring& v) { b.SetHotImage(v); }},
    {L"pushedimage", [](CButtonUI& b, const std::wstring& v) { b.SetPushedImage(v); }},
    {L"focusedimage", [](CButtonUI& b, const std::wstring& v) { b.SetFocusedImage(v); }},
    {L"disabledimage", [](CButtonUI& b, const std::wstring& v) { b.SetDisabledImage(v); }},
    {L"foreimage", [](CButtonUI& b, const std::wstring& v) { b.SetForeImage(v); }},
    {L"hotforeimage", [](CButtonUI& b, const std::wstring& v) { b.SetHotForeImage(v); }},
    {L"fivestatusimage", [](CButtonUI& b, const std::wstring& v) { b.SetFiveStatusImage(v); }},
    {L"fadedelta", ApplyFadeDelta},
    {L"hotbkcolor", [](CButtonUI& b, const std::wstring& v) { b.SetHotBkColor(ParseColor(v)); }},
    {L"hottextcolor",
     [](CButtonUI& b, const std::wstring& v) { b.SetHotTextColor(ParseColor(v)); }},
    {L"pushedtextcolor",
     [](CButtonUI& b, const std::wstring& v) { b.SetPushedTextColor(ParseColor(v)); }},
    {L"focusedtextcolor",
     [](CButtonUI& b, const std::wstring& v) { b.SetFocusedTextColor(ParseColor(v)); }},
};

}  // namespace

CButtonUI::CButtonUI()
{
    SetTextStyle(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

CButtonUI::~CButtonUI() = default;

std::wstring CButtonUI::GetClassName() const
{
    return L"Button";
}

CControlUI* CButtonUI::QueryInterface(const std::wstring& name)
{
    return name == L"Button" ? this : CLabelUI::QueryInterface(name);
}

UINT CButtonUI::GetFlags() const
{
    return (IsEnabled() ? ControlFlagSetsCursor : 0) |
           (IsKeyboardEnabled() ? ControlFlagTabStop : 0);
}

bool CButtonUI::Activate()
{
    if (!CLabelUI::Activate()) return false;
    if (CUIManager* manager = GetWindowManager()) manager->SendNotification(this, L"click");
    return true;
}

void CButtonUI::SetEnabled(bool enabled)
{
    CLabelUI::SetEnabled(enabled);
    if (!enabled) m_state = 0;
}

void CButtonUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kButtonAttributes, *this, name, value))
        CLabelUI::ApplyAttribute(name, value);
}

SIZE CButtonUI::PreferredSize(SIZE /*available*/)
{
    const SIZE fixed = {GetRequestedWidth(), GetRequestedHeight()};
    IRenderContext* context = RenderContext();
    if (fixed.cy > 0 || context == nullptr) return fixed;
    return SIZE{fixed.cx,
                context->Fonts().FontInfoByNumber(GetFont()).metrics.tmHeight + kLineMargin};
}

bool CButtonUI::ReplaceImage(ImageDrawInfo& info, const std::wstring& descriptor)
{
    if (!info.SetDescriptor(descriptor)) return false;
    Invalidate();
    return true;
}

void CButtonUI::SetStateImage(StateImage& image, const std::wstring& descriptor)
{
    image.strip = -1;
    ReplaceImage(image.info, descriptor);
}

void CButtonUI::SetNormalImage(const std::wstring& descriptor)
{
    SetStateImage(m_normal, descriptor);
}

void CButtonUI::SetHotImage(const std::wstring& descriptor)
{
    SetStateImage(m_hot, descriptor);
}

void CButtonUI::SetHotForeImage(const std::wstring& descriptor)
{
    ReplaceImage(m_hotFore, descriptor);
}

void CButtonUI::SetPushedImage(const std::wstring& descriptor)
{
    SetStateImage(m_pushed, descriptor);
}

void CButtonUI::SetPushedForeImage(const std::wstring& descriptor)
{
    ReplaceImage(m_pushedFore, descriptor);
}

void CButtonUI::SetFocusedImage(const std::wstring& descriptor)
{
    SetStateImage(m_focused, descriptor);
}

void CButtonUI::SetDisabledImage(const std::wstring& descriptor)
{
    SetStateImage(m_disabled, descriptor);
}

void CButtonUI::SetForeImage(const std::wstring& descriptor)
{
    ReplaceImage(ForeImage(), descriptor);
}

void CButtonUI::SetFiveStatusImage(const std::wstring& descriptor)
{
    StateImage* const strips[kFiveStatusStrips] = {&m_normal, &m_pushed, &m_hot, &m_focused,
                                                   &m_disabled};
    for (int strip = 0; strip < kFiveStatusStrips; ++strip) {
        strips[strip]->info.SetDescriptor(descriptor);
        strips[strip]->strip = strip;
    }
    TakeStripSize();
    Invalidate();
}

// A floating button without a fixed size is as large as one strip (the image loads now).
void CButtonUI::TakeStripSize()
{
    IRenderContext* context = RenderContext();
    if (!IsFloat() || GetRequestedWidth() != 0 || GetRequestedHeight() != 0 || !context) return;
    if (!DrawImageDescriptor(nullptr, *context, GetRect(), PaintRect(), m_normal.info)) return;
    SetRequestedWidth(m_normal.info.image->width() / kFiveStatusStrips);
    SetRequestedHeight(m_normal.info.image->height());
}

void CButtonUI::SetHotBkColor(DWORD argb)
{
    m_hotBkColor = argb;
    Invalidate();
}

void CButtonUI::SetHotTextColor(DWORD argb)
{
    m_hotTextColor = argb;
    Invalidate();
}

void CButtonUI::SetPushedTextColor(DWORD argb)
{
    m_pushedTextColor = argb;
    Invalidate();
}

void CButtonUI::SetFocusedTextColor(DWORD argb)
{
    m_focusedTextColor = argb;
    Invalidate();
}

UINT CButtonUI::RefreshState()
{
    m_state = IsFocused() ? (m_state | StateFocused) : (m_state & ~StateFocused);
    m_state = IsEnabled() ? (m_state & ~StateDisabled) : (m_state | StateDisabled);
    return m_state;
}

bool CButtonUI::DrawImage(HDC dc, ImageDrawInfo& info, std::optional<BYTE> fade)
{
    IRenderContext* context = RenderContext();
    if (context == nullptr || info.descriptor.empty()) return false;
    ImageDrawOverrides overrides;
    overrides.fade = fade;
    return DrawImageDescriptor(dc, *context, GetRect(), PaintRect(), info, overrides);
}

bool CButtonUI::DrawState(HDC dc, StateImage& image, std::optional<BYTE> fade)
{
    if (image.strip < 0) return DrawImage(dc, image.info, fade);
    // The strip's place is known once the image is loaded.
    if (!DrawImage(nullptr, image.info)) return false;
    const LONG width = image.info.image->width() / kFiveStatusStrips;
    ImageDrawOverrides overrides;
    overrides.source =
        RECT{image.strip * width, 0, (image.strip + 1) * width, image.info.image->height()};
    overrides.fade = fade;
    return DrawImageDescriptor(dc, *RenderContext(), GetRect(), PaintRect(), image.info, overrides);
}

void CButtonUI::DrawStateImage(HDC dc)
{
    DrawButtonStateImage(dc, RefreshState());
}

// Each state falls back to the normal images when its own image is not drawn; a pushed or
// hot foreground image (or the hot background colour) ends the drawing.
void CButtonUI::DrawButtonStateImage(HDC dc, UINT state)
{
    if (state & StateDisabled) {
        if (!DrawState(dc, m_disabled)) DrawNormalImages(dc);
    } else if (state & StatePushed) {
        if (!DrawState(dc, m_pushed)) DrawState(dc, m_normal);
        if (DrawImage(dc, m_pushedFore)) return;
    } else if (state & StateHot) {
        if (DrawHotImages(dc)) return;
    } else if (!(state & StateFocused) || !DrawState(dc, m_focused)) {
        DrawNormalImages(dc);
    }
    DrawImage(dc, ForeImage());
}

// True when a hot foreground image or the hot background colour ended the drawing.
bool CButtonUI::DrawHotImages(HDC dc)
{
    if (m_fadeDelta != 0) {
        if (m_fadeAlpha != 0) DrawState(dc, m_normal, m_fadeAlpha);
        DrawState(dc, m_hot, static_cast<BYTE>(255 - m_fadeAlpha));
    } else if (!DrawState(dc, m_hot)) {
        DrawState(dc, m_normal);
    }
    if (DrawImage(dc, m_hotFore)) return true;
    if (m_hotBkColor == 0) return false;
    FillColor(dc, PaintRect(), GetAdjustedColor(m_hotBkColor));
    return true;
}

// While a fade runs back to normal the hot image shows through; without a fade the normal
// image keeps its descriptor's own fade.
void CButtonUI::DrawNormalImages(HDC dc)
{
    if (m_fadeDelta == 0) {
        DrawState(dc, m_normal);
        return;
    }
    if (m_fadeAlpha < 255) DrawState(dc, m_hot, static_cast<BYTE>(255 - m_fadeAlpha));
    DrawState(dc, m_normal, m_fadeAlpha);
}

void CButtonUI::DrawCaption(HDC dc)
{
    DrawButtonCaption(dc, RefreshState());
}

void CButtonUI::DrawButtonCaption(HDC dc, UINT state)
{
    StoreDefaultColors();
    const std::wstring text = GetText();
    if (text.empty()) return;
    DWORD color = StateTextColor();
    if ((state & StatePushed) && m_pushedTextColor != 0) {
        color = m_pushedTextColor;
    } else if ((state & StateHot) && m_hotTextColor != 0) {
        color = m_hotTextColor;
    } else if ((state & StateFocused) && m_focusedTextColor != 0) {
        color = m_focusedTextColor;
    }
    DrawTextIn(dc, TextRect(), text, color, GetTextStyle());
}

}  // namespace SkinUI
