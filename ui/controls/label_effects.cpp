// CLabelUI's text effects: the text turned into a GDI+ path and filled with a gradient from
// the text colour to "textcolor1", optionally under a shadow (offset by a length and an angle,
// in a gradient of the two shadow colours), a glow (wide translucent outlines as wide as the
// blur factor asks) and above it an outline in the stroke colour.
//
// GDI+ is started for the one paint that draws effects and shut down right after it: labels
// without effects (all of the installer's) never load it, and no GDI+ state outlives a paint,
// so nothing has to be shut down while the process ends.
#include "ui/controls/label_ui.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace SkinUI {
namespace {

namespace Gp = Gdiplus;

constexpr float kPi = 3.14159265f;
constexpr int kGlowRings = 3;
// The widest glow ring per unit of blur: a skin's absurd blur factor would otherwise make GDI+
// widen the outline by thousands of pixels, for seconds per paint.
constexpr float kMaxGlowWidth = 32.0f;
constexpr BYTE kGlowAlpha = 0x40;

// GDI+ for the lifetime of the object.
class GdiplusSession {
public:
    GdiplusSession()
    {
        Gp::GdiplusStartupInput input;
        m_started = Gp::GdiplusStartup(&m_token, &input, nullptr) == Gp::Ok;
    }
    ~GdiplusSession()
    {
        if (m_started) Gp::GdiplusShutdown(m_token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool Started() const { return m_started; }

private:
    ULONG_PTR m_token = 0;
    bool m_started = false;
};

Gp::RectF ToRectF(const RECT& rc)
{
    return Gp::RectF(static_cast<Gp::REAL>(rc.left), static_cast<Gp::REAL>(rc.top),
                     static_cast<Gp::REAL>(rc.right - rc.left),
                     static_cast<Gp::REAL>(rc.bottom - rc.top));
}

// The text style flags as a GDI+ string format.
void SetFormat(Gp::StringFormat& format, UINT style)
{
    format.SetAlignment((style & DT_CENTER)  ? Gp::StringAlignmentCenter
                        : (style & DT_RIGHT) ? Gp::StringAlignmentFar
                                             : Gp::StringAlignmentNear);
    format.SetLineAlignment((style & DT_VCENTER)  ? Gp::StringAlignmentCenter
                            : (style & DT_BOTTOM) ? Gp::StringAlignmentFar
                                                  : Gp::StringAlignmentNear);
    if (style & DT_SINGLELINE) format.SetFormatFlags(Gp::StringFormatFlagsNoWrap);
    if (style & DT_END_ELLIPSIS) format.SetTrimming(Gp::StringTrimmingEllipsisCharacter);
}

int FontStyleOf(const TEXTMETRICW& metrics)
{
    int style = Gp::FontStyleRegular;
    if (metrics.tmWeight >= FW_BOLD) style |= Gp::FontStyleBold;
    if (metrics.tmItalic) style |= Gp::FontStyleItalic;
    if (metrics.tmUnderlined) style |= Gp::FontStyleUnderline;
    return style;
}

std::unique_ptr<Gp::FontFamily> FamilyOf(HDC dc, HFONT font)
{
    auto family = std::make_unique<Gp::FontFamily>();
    Gp::Font gdiplusFont(dc, font);
    if (gdiplusFont.GetLastStatus() == Gp::Ok && gdiplusFont.GetFamily(family.get()) == Gp::Ok)
        return family;
    return std::make_unique<Gp::FontFamily>(L"Arial");
}

// The text's outline in `rc`, in the label's font (its family, or a sans-serif one when GDI+
// cannot use it).
void AddText(Gp::GraphicsPath& path, HDC dc, const FontInfo& font, const std::wstring& text,
             const RECT& rc, UINT style)
{
    const std::unique_ptr<Gp::FontFamily> family = FamilyOf(dc, font.font.get());
    Gp::StringFormat format;
    SetFormat(format, style);
    const auto emSize =
        static_cast<Gp::REAL>(font.metrics.tmHeight - font.metrics.tmInternalLeading);
    path.AddString(text.c_str(), static_cast<INT>(text.size()), family.get(),
                   FontStyleOf(font.metrics), emSize, ToRectF(rc), &format);
}

void DrawShadow(Gp::Graphics& graphics, const Gp::GraphicsPath& path, const RECT& rc,
                const TextEffects& effects)
{
    const float radians = static_cast<float>(effects.shadowAngle) * kPi / 180.0f;
    const float length = static_cast<float>(effects.shadowOffset);
    std::unique_ptr<Gp::GraphicsPath> shadow(path.Clone());
    Gp::Matrix offset;
    offset.Translate(length * std::cos(radians), length * std::sin(radians));
    shadow->Transform(&offset);
    Gp::LinearGradientBrush brush(ToRectF(rc), Gp::Color(effects.shadowColorA),
                                  Gp::Color(effects.shadowColorB), Gp::LinearGradientModeVertical);
    graphics.FillPath(&brush, shadow.get());
}

// Rings of translucent outline, the widest first, in the text colour.
void DrawGlow(Gp::Graphics& graphics, const Gp::GraphicsPath& path, DWORD argb,
              const TextEffects& effects)
{
    const Gp::Color glow(kGlowAlpha, static_cast<BYTE>(argb >> 16), static_cast<BYTE>(argb >> 8),
                         static_cast<BYTE>(argb));
    const float width = std::min(effects.luminousFuzzy, kMaxGlowWidth);
    for (int ring = kGlowRings; ring > 0; --ring) {
        Gp::Pen pen(glow, width * static_cast<float>(ring));
        pen.SetLineJoin(Gp::LineJoinRound);
        graphics.DrawPath(&pen, &path);
    }
}

void FillText(Gp::Graphics& graphics, const Gp::GraphicsPath& path, const RECT& rc, DWORD argb,
              const TextEffects& effects)
{
    Gp::RectF area = ToRectF(rc);
    if (effects.gradientLength > 0) {
        area.Width = static_cast<Gp::REAL>(effects.gradientLength);
        area.Height = static_cast<Gp::REAL>(effects.gradientLength);
    }
    if (area.Width <= 0 || area.Height <= 0) return;
    Gp::LinearGradientBrush brush(area, Gp::Color(argb), Gp::Color(effects.textColor1),
                                  static_cast<Gp::REAL>(effects.gradientAngle));
    brush.SetWrapMode(Gp::WrapModeTileFlipXY);
    graphics.FillPath(&brush, &path);
}

}  // namespace

void CLabelUI::DrawEffectText(HDC dc)
{
    const std::wstring text = GetText();
    IRenderContext* context = RenderContext();
    if (text.empty() || context == nullptr) return;
    GdiplusSession session;
    if (!session.Started()) return;
    const RECT rc = TextRect();
    const DWORD argb = StateTextColor();
    Gp::Graphics graphics(dc);
    graphics.SetSmoothingMode(Gp::SmoothingModeAntiAlias);
    Gp::GraphicsPath path;
    AddText(path, dc, context->Fonts().FontInfoByNumber(m_font), text, rc, m_textStyle);
    if (m_effects.shadow) DrawShadow(graphics, path, rc, m_effects);
    if (m_effects.luminous) DrawGlow(graphics, path, argb, m_effects);
    FillText(graphics, path, rc, argb, m_effects);
    if (m_effects.stroke && (m_effects.strokeColor >> 24) != 0) {
        Gp::Pen pen(Gp::Color(m_effects.strokeColor), 1.0f);
        graphics.DrawPath(&pen, &path);
    }
}

}  // namespace SkinUI
