// CLabelUI: attributes, text drawing and the measured preferred size. The GDI+ text effects
// live in label_effects.cpp.
#include "ui/controls/label_ui.h"

#include "ui/core/attribute_table.h"
#include "ui/core/attribute_values.h"
#include "ui/core/ui_manager.h"
#include "ui/render/gdi_handles.h"
#include "ui/render/text_render.h"

namespace SkinUI {
namespace {

constexpr UINT kAlignFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;
// Wide and high enough for any text a window shows.
constexpr LONG kMeasureExtent = 9999;
// A single line is this much higher than its font.
constexpr int kLineMargin = 8;

bool Contains(const std::wstring& text, const wchar_t* word)
{
    return text.find(word) != std::wstring::npos;
}

// The words found in `value` apply in a fixed order, whatever order the skin wrote them in:
// "left" first, then "center", then "right", so the last of these found wins.
UINT ApplyHorizontalAlign(UINT style, const std::wstring& value)
{
    if (Contains(value, L"left")) style &= ~(DT_CENTER | DT_RIGHT);
    if (Contains(value, L"center")) style = (style & ~DT_RIGHT) | DT_CENTER;
    if (Contains(value, L"right")) style = (style & ~DT_CENTER) | DT_RIGHT;
    return style;
}

// "top", then "vcenter", then "bottom", like the horizontal words.
UINT ApplyVerticalAlign(UINT style, const std::wstring& value)
{
    if (Contains(value, L"top")) style &= ~(DT_BOTTOM | DT_VCENTER);
    if (Contains(value, L"vcenter")) style = (style & ~DT_BOTTOM) | DT_VCENTER;
    if (Contains(value, L"bottom")) style = (style & ~DT_VCENTER) | DT_BOTTOM;
    return style;
}

UINT WithFlag(UINT style, UINT flag, bool on)
{
    return on ? (style | flag) : (style & ~flag);
}

// Effect attributes change one field of the label's effects.
template <typename Change>
void ChangeEffects(CLabelUI& label, Change change)
{
    TextEffects effects = label.GetTextEffects();
    change(effects);
    label.SetTextEffects(effects);
}

void ApplyLuminousFuzzy(CLabelUI& label, const std::wstring& value)
{
    const double fuzzy = ParseFractions(value)[0];
    if (fuzzy < 0.0001) return;  // no blur at all is not a glow
    ChangeEffects(label, [&](TextEffects& e) { e.luminousFuzzy = static_cast<float>(fuzzy); });
}

void ApplyShadowOffset(CLabelUI& label, const std::wstring& value)
{
    const SIZE offsetAndAngle = ParseSize(value);
    if (offsetAndAngle.cy < -180 || offsetAndAngle.cy > 180) return;
    ChangeEffects(label, [&](TextEffects& e) {
        e.shadowOffset = offsetAndAngle.cx;
        e.shadowAngle = offsetAndAngle.cy;
    });
}

// An effect switch or colour: `field` of TextEffects set from the parsed value.
template <bool TextEffects::*Field>
void ApplyEffectSwitch(CLabelUI& label, const std::wstring& value)
{
    ChangeEffects(label, [&](TextEffects& e) { e.*Field = ParseBool(value); });
}

template <DWORD TextEffects::*Field>
void ApplyEffectColor(CLabelUI& label, const std::wstring& value)
{
    ChangeEffects(label, [&](TextEffects& e) { e.*Field = ParseColor(value); });
}

template <int TextEffects::*Field>
void ApplyEffectNumber(CLabelUI& label, const std::wstring& value)
{
    ChangeEffects(label, [&](TextEffects& e) { e.*Field = ParseInt(value); });
}

using Entry = AttributeEntry<CLabelUI>;
const Entry kLabelAttributes[] = {
    {L"align",
     [](CLabelUI& l, const std::wstring& v) {
         l.SetTextStyle(ApplyHorizontalAlign(l.GetTextStyle(), v));
     }},
    {L"valign",
     [](CLabelUI& l, const std::wstring& v) {
         l.SetTextStyle(ApplyVerticalAlign(l.GetTextStyle(), v));
     }},
    {L"endellipsis",
     [](CLabelUI& l, const std::wstring& v) {
         l.SetTextStyle(WithFlag(l.GetTextStyle(), DT_END_ELLIPSIS, ParseBool(v)));
     }},
    {L"font", [](CLabelUI& l, const std::wstring& v) { l.SetFont(ParseInt(v)); }},
    {L"textcolor", [](CLabelUI& l, const std::wstring& v) { l.SetTextColor(ParseColor(v)); }},
    {L"disabledtextcolor",
     [](CLabelUI& l, const std::wstring& v) { l.SetDisabledTextColor(ParseColor(v)); }},
    {L"textpadding", [](CLabelUI& l, const std::wstring& v) { l.SetTextPadding(ParseRect(v)); }},
    {L"multiline", [](CLabelUI& l, const std::wstring& v) { l.SetMultiLine(ParseBool(v)); }},
    {L"showhtml", [](CLabelUI& l, const std::wstring& v) { l.SetShowHtml(ParseBool(v)); }},
    {L"enabledeffect", ApplyEffectSwitch<&TextEffects::enabled>},
    {L"enabledluminous", ApplyEffectSwitch<&TextEffects::luminous>},
    {L"enabledstroke", ApplyEffectSwitch<&TextEffects::stroke>},
    {L"enabledshadow", ApplyEffectSwitch<&TextEffects::shadow>},
    {L"luminousfuzzy", ApplyLuminousFuzzy},
    {L"gradientangle", ApplyEffectNumber<&TextEffects::gradientAngle>},
    {L"gradientlength", ApplyEffectNumber<&TextEffects::gradientLength>},
    {L"shadowoffset", ApplyShadowOffset},
    {L"textcolor1", ApplyEffectColor<&TextEffects::textColor1>},
    {L"textshadowcolora", ApplyEffectColor<&TextEffects::shadowColorA>},
    {L"textshadowcolorb", ApplyEffectColor<&TextEffects::shadowColorB>},
    {L"strokecolor", ApplyEffectColor<&TextEffects::strokeColor>},
};

}  // namespace

CLabelUI::CLabelUI() = default;

CLabelUI::~CLabelUI() = default;

std::wstring CLabelUI::GetClassName() const
{
    return L"Label";
}

CControlUI* CLabelUI::QueryInterface(const std::wstring& name)
{
    return name == L"Label" ? this : CControlUI::QueryInterface(name);
}

void CLabelUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kLabelAttributes, *this, name, value))
        CControlUI::ApplyAttribute(name, value);
}

void CLabelUI::SetText(const std::wstring& text)
{
    if (text != GetText()) ForgetEstimate();
    CControlUI::SetText(text);
}

void CLabelUI::SetRequestedWidth(int cx)
{
    if (cx >= 0) ForgetEstimate();
    CControlUI::SetRequestedWidth(cx);
}

void CLabelUI::SetRequestedHeight(int cy)
{
    if (cy >= 0) ForgetEstimate();
    CControlUI::SetRequestedHeight(cy);
}

void CLabelUI::SetTextStyle(UINT style)
{
    m_textStyle = style;
    ForgetEstimate();
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD argb)
{
    m_textColor = argb;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD argb)
{
    m_disabledTextColor = argb;
    Invalidate();
}

void CLabelUI::SetFont(int index)
{
    m_font = index;
    ForgetEstimate();
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT padding)
{
    m_textPadding = padding;
    ForgetEstimate();
    Invalidate();
}

void CLabelUI::SetShowHtml(bool showHtml)
{
    if (m_showHtml == showHtml) return;
    m_showHtml = showHtml;
    ForgetEstimate();
    Invalidate();
}

// Multi-line text wraps at word ends; turning it off again keeps the word-break flag.
void CLabelUI::SetMultiLine(bool multiLine)
{
    SetTextStyle(multiLine ? ((m_textStyle & ~DT_SINGLELINE) | DT_WORDBREAK)
                           : (m_textStyle | DT_SINGLELINE));
}

void CLabelUI::SetTextEffects(const TextEffects& effects)
{
    m_effects = effects;
    Invalidate();
}

SIZE CLabelUI::PreferredSize(SIZE available)
{
    const SIZE fixed = {GetRequestedWidth(), GetRequestedHeight()};
    if (fixed.cx > 0 && fixed.cy > 0) return fixed;
    if (RenderContext() == nullptr) return fixed;
    const bool multiLine = IsMultiLine();
    const bool sameRoom =
        available.cx == m_estimate.available.cx && available.cy == m_estimate.available.cy;
    if (!m_estimate.dirty && (!multiLine || sameRoom)) return m_estimate.size;
    m_estimate.size = multiLine ? MeasureMultiLine(available) : MeasureSingleLine();
    m_estimate.available = available;
    m_estimate.dirty = false;
    return m_estimate.size;
}

SIZE CLabelUI::MeasureSingleLine()
{
    const RECT& pad = m_textPadding;
    SIZE size = {GetRequestedWidth(), GetRequestedHeight()};
    if (size.cy == 0) {
        const FontInfo& font = RenderContext()->Fonts().FontInfoByNumber(m_font);
        size.cy = font.metrics.tmHeight + kLineMargin + pad.top + pad.bottom;
    }
    if (size.cx == 0) {
        MemoryDC dc;
        const RECT used = TextExtent(dc.get(), RECT{0, 0, kMeasureExtent, kMeasureExtent});
        size.cx = (used.right - used.left) + pad.left + pad.right;
    }
    return size;
}

SIZE CLabelUI::MeasureMultiLine(SIZE available)
{
    const RECT& pad = m_textPadding;
    const LONG width = GetRequestedWidth() != 0 ? GetRequestedWidth() : available.cx;
    MemoryDC dc;
    const RECT used = TextExtent(dc.get(), RECT{pad.left, 0, width - pad.right, kMeasureExtent});
    return SIZE{width, pad.top + pad.bottom + (used.bottom - used.top)};
}

RECT CLabelUI::TextExtent(HDC dc, RECT bounds)
{
    const UINT style = (m_textStyle & ~kAlignFlags) | DT_CALCRECT;
    IRenderContext& context = *RenderContext();
    if (m_showHtml) {
        DrawMarkupText(dc, context, bounds, GetText(), m_textColor, nullptr, 0, m_font, style);
    } else {
        DrawPlainText(dc, context, bounds, GetText(), m_textColor, m_font, style);
    }
    return bounds;
}

void CLabelUI::HandleEvent(ControlEvent& event)
{
    if (event.kind != EventKind::SetFocus && event.kind != EventKind::KillFocus) {
        CControlUI::HandleEvent(event);
        return;
    }
    SetFocusedFlag(event.kind == EventKind::SetFocus);
}

void CLabelUI::StoreDefaultColors()
{
    IRenderContext* context = RenderContext();
    if (context == nullptr) return;
    if (m_textColor == 0) m_textColor = context->Colors().text;
    if (m_disabledTextColor == 0) m_disabledTextColor = context->Colors().disabledText;
}

RECT CLabelUI::TextRect() const
{
    RECT rc = GetRect();
    rc.left += m_textPadding.left;
    rc.top += m_textPadding.top;
    rc.right -= m_textPadding.right;
    rc.bottom -= m_textPadding.bottom;
    return rc;
}

DWORD CLabelUI::StateTextColor() const
{
    return IsEnabled() ? m_textColor : m_disabledTextColor;
}

void CLabelUI::DrawTextIn(HDC dc, RECT rc, const std::wstring& text, DWORD argb, UINT style,
                          std::vector<MarkupLink>* links, size_t linkCapacity)
{
    IRenderContext* context = RenderContext();
    if (context == nullptr) return;
    if (m_showHtml) {
        DrawMarkupText(dc, *context, rc, text, argb, links, linkCapacity, m_font, style);
    } else {
        DrawPlainText(dc, *context, rc, text, argb, m_font, style);
    }
}

void CLabelUI::DrawCaption(HDC dc)
{
    StoreDefaultColors();
    if (m_effects.enabled) {
        DrawEffectText(dc);
        return;
    }
    const std::wstring text = GetText();
    if (text.empty()) return;
    DrawTextIn(dc, TextRect(), text, StateTextColor(), m_textStyle);
}

}  // namespace SkinUI
