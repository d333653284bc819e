// CLabelUI: a control that shows a text: aligned by the native text style flags, inside a
// padding, plain or with the skin text markup, in the window's default colours unless the skin
// gives its own (the defaults are stored at the first paint). Its preferred size comes from
// the text, measured once and kept until something that changes it changes. A label can also
// draw its text through GDI+ with a gradient, a glow, an outline and a shadow ("text effects";
// the installer's skins never ask for them).
//
// The base of the text, button, progress and edit controls.
#pragma once

#include "ui/core/control_ui.h"
#include "ui/render/text_markup.h"

#include <windows.h>

#include <string>
#include <vector>

namespace SkinUI {

// The GDI+ text effects of a label and their colours (ARGB).
struct TextEffects {
    bool enabled = false;  // draw the text through GDI+ at all
    bool luminous = false;
    bool stroke = false;
    bool shadow = false;
    float luminousFuzzy = 3.0f;     // blur factor of the glow
    int gradientLength = 0;         // pixels; 0: the text rectangle's extent
    int gradientAngle = 0;          // degrees
    DWORD textColor1 = 0xFFFFFFFF;  // the gradient runs from the text colour to this one
    DWORD shadowColorA = 0xFF000000;
    DWORD shadowColorB = 0xFFFFFFFF;
    DWORD strokeColor = 0;
    int shadowOffset = 0;  // pixels
    int shadowAngle = 0;   // degrees, -180..180
};

class CLabelUI : public CControlUI {
public:
    CLabelUI();

    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override;

    // These change the text's size and so forget the measured size.
    void SetText(const std::wstring& text) override;
    void SetRequestedWidth(int cx) override;
    void SetRequestedHeight(int cy) override;

    // The fixed size when both sides are fixed; otherwise the text's size plus the padding
    // (a side that is fixed keeps its value), measured with the window's fonts and kept until
    // the text, font, style, padding or fixed size change (for multi-line text also until the
    // available width changes). Without a manager, the fixed size.
    SIZE PreferredSize(SIZE available) override;
    // Focus only sets or clears the focused flag, without a repaint; the rest as any control.
    void HandleEvent(ControlEvent& event) override;
    void DrawCaption(HDC dc) override;

    // Native text style flags (DT_*); 0x24 (vertical centre, single line) at first.
    UINT GetTextStyle() const { return m_textStyle; }
    void SetTextStyle(UINT style);
    // ARGB; 0 stands for the window's default until the first paint stores it.
    DWORD GetTextColor() const { return m_textColor; }
    void SetTextColor(DWORD argb);
    DWORD GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetDisabledTextColor(DWORD argb);
    // The number of a font of the window's font table; -1 (or an unknown one): its default.
    int GetFont() const { return m_font; }
    void SetFont(int index);
    RECT GetTextPadding() const { return m_textPadding; }
    void SetTextPadding(RECT padding);
    // Whether the text is drawn with the skin text markup.
    bool IsShowHtml() const { return m_showHtml; }
    void SetShowHtml(bool showHtml);
    // Multi-line text wraps at word ends; single-line text stays on one line.
    bool IsMultiLine() const { return (m_textStyle & DT_SINGLELINE) == 0; }
    void SetMultiLine(bool multiLine);
    const TextEffects& GetTextEffects() const { return m_effects; }
    void SetTextEffects(const TextEffects& effects);

protected:
    ~CLabelUI() override;

    // Replaces a text colour of 0 by the window's default for it, for good. Drawing calls
    // it first; without a manager it does nothing.
    void StoreDefaultColors();
    // The item rectangle less the text padding.
    RECT TextRect() const;
    // Draws `text` into `rc` with this label's font and the `style` flags in `argb`: with the
    // markup when "showhtml" is set (its links go to `links`, at most `linkCapacity`, when
    // `links` is not null), else plain.
    void DrawTextIn(HDC dc, RECT rc, const std::wstring& text, DWORD argb, UINT style,
                    std::vector<MarkupLink>* links = nullptr, size_t linkCapacity = 0);
    // The colour of plain drawing: the text colour when enabled, else the disabled one.
    DWORD StateTextColor() const;

private:
    struct SizeEstimate {
        SIZE available = {0, 0};
        SIZE size = {0, 0};
        bool dirty = true;
    };

    SIZE MeasureSingleLine();
    SIZE MeasureMultiLine(SIZE available);
    // The rectangle the text needs when laid out from (0, 0) in `bounds` (DT_CALCRECT).
    RECT TextExtent(HDC dc, RECT bounds);
    void ForgetEstimate() { m_estimate.dirty = true; }
    void DrawEffectText(HDC dc);

    DWORD m_textColor = 0;
    DWORD m_disabledTextColor = 0;
    int m_font = -1;
    UINT m_textStyle = DT_VCENTER | DT_SINGLELINE;
    RECT m_textPadding = {0, 0, 0, 0};
    bool m_showHtml = false;
    SizeEstimate m_estimate;
    TextEffects m_effects;
};

}  // namespace SkinUI
