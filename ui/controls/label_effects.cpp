// CLabelUI's text effects: the text turned into a GDI+ path and filled with a gradient from
// the text colour to "textcolor1", optionally under a shadow (offset by a length and an angle,
// in a gradient of the two shadow colours), a glow (wide translucent outlines as wide as the
// blur factor asks) and above it an outline in the stroke colour.
//
// GDI+ is started for the one paint that draws effects and shut down right after it: labels
// without effects (all of the installer's) never load it, and no GDI+ state outlives a paint,
// so nothing has to be shut down while the process ends. Where the system's GDI+ cannot be
// loaded or started, the text is drawn plain: a label's text is content the user has to read,
// its effects are decoration.
#include "ui/controls/label_ui.h"

#include "ui/render/gdiplus_functions.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {
namespace {

namespace Gp = Gdiplus;

constexpr float kPi = 3.14159265f;
constexpr int kGlowRings = 3;
// The widest glow ring per unit of blur: a skin's absurd blur factor would otherwise make GDI+
// widen the outline by thousands of pixels, for seconds per paint.
constexpr float kMaxGlowWidth = 32.0f;
constexpr DWORD kGlowAlpha = 0x40;

using Path = GdiplusObject<Gp::GpPath>;
using Brush = GdiplusObject<Gp::GpLineGradient, Gp::GpBrush>;
using FontFamily = GdiplusObject<Gp::GpFontFamily>;

// What one paint of effects draws with: the functions and the graphics of the target DC.
struct Painter {
    const GdiplusFunctions& gdiplus;
    Gp::GpGraphics* graphics;
};

Gp::RectF ToRectF(const RECT& rc)
{
    return Gp::RectF(static_cast<Gp::REAL>(rc.left), static_cast<Gp::REAL>(rc.top),
                     static_cast<Gp::REAL>(rc.right - rc.left),
                     static_cast<Gp::REAL>(rc.bottom - rc.top));
}

// The text style flags as a GDI+ string format.
GdiplusObject<Gp::GpStringFormat> FormatOf(const GdiplusFunctions& gdiplus, UINT style)
{
    auto format = MakeGdiplusObject<Gp::GpStringFormat>(
        gdiplus.GdipCreateStringFormat, gdiplus.GdipDeleteStringFormat, 0, LANG_NEUTRAL);
    if (!format) return format;
    gdiplus.GdipSetStringFormatAlign(format.get(), (style & DT_CENTER)  ? Gp::StringAlignmentCenter
                                                   : (style & DT_RIGHT) ? Gp::StringAlignmentFar
                                                                        : Gp::StringAlignmentNear);
    gdiplus.GdipSetStringFormatLineAlign(format.get(),
                                         (style & DT_VCENTER)  ? Gp::StringAlignmentCenter
                                         : (style & DT_BOTTOM) ? Gp::StringAlignmentFar
                                                               : Gp::StringAlignmentNear);
    if (style & DT_SINGLELINE)
        gdiplus.GdipSetStringFormatFlags(format.get(), Gp::StringFormatFlagsNoWrap);
    if (style & DT_END_ELLIPSIS)
        gdiplus.GdipSetStringFormatTrimming(format.get(), Gp::StringTrimmingEllipsisCharacter);
    return format;
}

int FontStyleOf(const TEXTMETRICW& metrics)
{
    int style = Gp::FontStyleRegular;
    if (metrics.tmWeight >= FW_BOLD) style |= Gp::FontStyleBold;
    if (metrics.tmItalic) style |= Gp::FontStyleItalic;
    if (metrics.tmUnderlined) style |= Gp::FontStyleUnderline;
    return style;
}

// The family of `font` as GDI+ sees it (or of the DC's font when `font` says nothing), or a
// sans-serif one when GDI+ cannot use it.
FontFamily FamilyOf(const GdiplusFunctions& gdiplus, HDC dc, HFONT font)
{
    Gp::GpFont* made = nullptr;
    LOGFONTW logFont = {};
    const Gp::GpStatus status = font && GetObjectW(font, sizeof(logFont), &logFont)
                                    ? gdiplus.GdipCreateFontFromLogfontW(dc, &logFont, &made)
                                    : gdiplus.GdipCreateFontFromDC(dc, &made);
    const GdiplusObject<Gp::GpFont> gdiplusFont(status == Gp::Ok ? made : nullptr,
                                                gdiplus.GdipDeleteFont);
    if (gdiplusFont) {
        auto family = MakeGdiplusObject<Gp::GpFontFamily>(
            gdiplus.GdipGetFamily, gdiplus.GdipDeleteFontFamily, gdiplusFont.get());
        if (family) return family;
    }
    return MakeGdiplusObject<Gp::GpFontFamily>(gdiplus.GdipCreateFontFamilyFromName,
                                               gdiplus.GdipDeleteFontFamily, L"Arial",
                                               static_cast<Gp::GpFontCollection*>(nullptr));
}

// The text's outline in `rc`, in the label's font; null when GDI+ cannot make it.
Path TextPath(const GdiplusFunctions& gdiplus, HDC dc, const FontInfo& font,
              const std::wstring& text, const RECT& rc, UINT style)
{
    auto path = MakeGdiplusObject<Gp::GpPath>(gdiplus.GdipCreatePath, gdiplus.GdipDeletePath,
                                              Gp::FillModeAlternate);
    const FontFamily family = FamilyOf(gdiplus, dc, font.font.get());
    const auto format = FormatOf(gdiplus, style);
    if (!path || !family || !format) return Path(nullptr, gdiplus.GdipDeletePath);
    const auto emSize =
        static_cast<Gp::REAL>(font.metrics.tmHeight - font.metrics.tmInternalLeading);
    const Gp::RectF layout = ToRectF(rc);
    gdiplus.GdipAddPathString(path.get(), text.c_str(), static_cast<INT>(text.size()), family.get(),
                              FontStyleOf(font.metrics), emSize, &layout, format.get());
    return path;
}

void DrawShadow(const Painter& painter, Gp::GpPath* path, const RECT& rc,
                const TextEffects& effects)
{
    const GdiplusFunctions& gdiplus = painter.gdiplus;
    const auto shadow =
        MakeGdiplusObject<Gp::GpPath>(gdiplus.GdipClonePath, gdiplus.GdipDeletePath, path);
    const auto offset =
        MakeGdiplusObject<Gp::GpMatrix>(gdiplus.GdipCreateMatrix, gdiplus.GdipDeleteMatrix);
    const Gp::RectF area = ToRectF(rc);
    const Brush brush = MakeGdiplusObject<Gp::GpLineGradient>(
        gdiplus.GdipCreateLineBrushFromRect, gdiplus.GdipDeleteBrush, &area,
        static_cast<Gp::ARGB>(effects.shadowColorA), static_cast<Gp::ARGB>(effects.shadowColorB),
        Gp::LinearGradientModeVertical, Gp::WrapModeTile);
    if (!shadow || !offset || !brush) return;
    const float radians = static_cast<float>(effects.shadowAngle) * kPi / 180.0f;
    const float length = static_cast<float>(effects.shadowOffset);
    gdiplus.GdipTranslateMatrix(offset.get(), length * std::cos(radians),
                                length * std::sin(radians), Gp::MatrixOrderPrepend);
    gdiplus.GdipTransformPath(shadow.get(), offset.get());
    gdiplus.GdipFillPath(painter.graphics, brush.get(), shadow.get());
}

// An outline of `path`, `width` wide, in `argb`.
void DrawOutline(const Painter& painter, Gp::GpPath* path, Gp::ARGB argb, float width,
                 Gp::LineJoin join)
{
    const GdiplusFunctions& gdiplus = painter.gdiplus;
    const auto pen = MakeGdiplusObject<Gp::GpPen>(gdiplus.GdipCreatePen1, gdiplus.GdipDeletePen,
                                                  argb, width, Gp::UnitWorld);
    if (!pen) return;
    gdiplus.GdipSetPenLineJoin(pen.get(), join);
    gdiplus.GdipDrawPath(painter.graphics, pen.get(), path);
}

// Rings of translucent outline, the widest first, in the text colour.
void DrawGlow(const Painter& painter, Gp::GpPath* path, DWORD argb, const TextEffects& effects)
{
    const Gp::ARGB glow = (kGlowAlpha << 24) | (argb & 0x00FFFFFF);
    const float width = std::min(effects.luminousFuzzy, kMaxGlowWidth);
    for (int ring = kGlowRings; ring > 0; --ring)
        DrawOutline(painter, path, glow, width * static_cast<float>(ring), Gp::LineJoinRound);
}

void FillText(const Painter& painter, Gp::GpPath* path, const RECT& rc, DWORD argb,
              const TextEffects& effects)
{
    Gp::RectF area = ToRectF(rc);
    if (effects.gradientLength > 0) {
        area.Width = static_cast<Gp::REAL>(effects.gradientLength);
        area.Height = static_cast<Gp::REAL>(effects.gradientLength);
    }
    if (area.Width <= 0 || area.Height <= 0) return;
    const GdiplusFunctions& gdiplus = painter.gdiplus;
    const Brush brush = MakeGdiplusObject<Gp::GpLineGradient>(
        gdiplus.GdipCreateLineBrushFromRectWithAngle, gdiplus.GdipDeleteBrush, &area,
        static_cast<Gp::ARGB>(argb), static_cast<Gp::ARGB>(effects.textColor1),
        static_cast<Gp::REAL>(effects.gradientAngle), FALSE, Gp::WrapModeTile);
    if (!brush) return;
    gdiplus.GdipSetLineWrapMode(brush.get(), Gp::WrapModeTileFlipXY);
    gdiplus.GdipFillPath(painter.graphics, brush.get(), path);
}

// The effects of `text` in `rc`, drawn with GDI+ started for this paint alone; false when GDI+
// draws nothing (it does not start, or cannot make the graphics or the text's outline).
bool DrawEffects(const GdiplusFunctions& gdiplus, HDC dc, const FontInfo& font,
                 const std::wstring& text, const RECT& rc, DWORD argb, UINT style,
                 const TextEffects& effects)
{
    const GdiplusSession session(gdiplus);
    if (!session.Started()) return false;
    const auto graphics = MakeGdiplusObject<Gp::GpGraphics>(gdiplus.GdipCreateFromHDC,
                                                            gdiplus.GdipDeleteGraphics, dc);
    const Path path = TextPath(gdiplus, dc, font, text, rc, style);
    if (!graphics || !path) return false;
    gdiplus.GdipSetSmoothingMode(graphics.get(), Gp::SmoothingModeAntiAlias);
    const Painter painter{gdiplus, graphics.get()};
    if (effects.shadow) DrawShadow(painter, path.get(), rc, effects);
    if (effects.luminous) DrawGlow(painter, path.get(), argb, effects);
    FillText(painter, path.get(), rc, argb, effects);
    if (effects.stroke && (effects.strokeColor >> 24) != 0)
        DrawOutline(painter, path.get(), effects.strokeColor, 1.0f, Gp::LineJoinMiter);
    return true;
}

}  // namespace

void CLabelUI::DrawEffectText(HDC dc)
{
    const std::wstring text = GetText();
    IRenderContext* context = RenderContext();
    if (text.empty() || context == nullptr) return;
    const RECT rc = TextRect();
    const DWORD argb = StateTextColor();
    const GdiplusFunctions* gdiplus = SystemGdiplus();
    if (gdiplus != nullptr && DrawEffects(*gdiplus, dc, context->Fonts().FontInfoByNumber(m_font),
                                          text, rc, argb, m_textStyle, m_effects))
        return;
    DrawTextIn(dc, rc, text, argb, m_textStyle);
}

}  // namespace SkinUI
