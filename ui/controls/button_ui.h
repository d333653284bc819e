// CButtonUI: a label that can be clicked. It keeps state bits (focused, hot, pushed, captured,
// disabled), draws an image for each state (or one strip of a five-state image each), can
// fade between its normal and hot images on a 30 ms timer, colours its text by state, and
// sends "click" when it is activated: a press and release inside it, Space or Enter while it
// has the focus, or its shortcut.
//
// The base of the option and check box controls.
#pragma once

#include "ui/controls/label_ui.h"

#include <optional>

namespace SkinUI {

// An image of one button state: a descriptor of its own, or one strip of a five-state image.
struct StateImage {
    ImageDrawInfo info;
    int strip = -1;  // 0..4: the strip of a "fivestatusimage" it shows; -1: the whole image
};

class CButtonUI : public CLabelUI {
public:
    // State bits.
    static constexpr UINT StateFocused = 0x01;
    static constexpr UINT StateSelected = 0x02;
    static constexpr UINT StateDisabled = 0x04;
    static constexpr UINT StateHot = 0x08;
    static constexpr UINT StatePushed = 0x10;
    static constexpr UINT StateCaptured = 0x40;
    // The control timer of the fade, and its period in milliseconds.
    static constexpr UINT FadeTimer = 11;
    static constexpr UINT FadeInterval = 30;

    CButtonUI();

    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    // ControlFlagSetsCursor when enabled, ControlFlagTabStop when keyboard-enabled.
    UINT GetFlags() const override;
    // Sends "click" when the base allows it (visible and enabled).
    bool Activate() override;
    // Disabling clears the state bits.
    void SetEnabled(bool enabled = true) override;
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override;
    void HandleEvent(ControlEvent& event) override;
    // With a fixed height the fixed size, else the fixed width and one line of the font.
    SIZE PreferredSize(SIZE available) override;
    void DrawStateImage(HDC dc) override;
    void DrawCaption(HDC dc) override;

    UINT GetButtonState() const { return m_state; }
    // The alpha of the normal image while fading (255: all normal, 0: all hot).
    BYTE GetFadeAlpha() const { return m_fadeAlpha; }
    BYTE GetFadeDelta() const { return m_fadeDelta; }
    // The fade's step per tick; 0 switches fading off.
    void SetFadeDelta(BYTE delta);

    // Image descriptors (see ImageDrawInfo). The same descriptor again, already loaded,
    // changes nothing; another one replaces it and repaints.
    void SetNormalImage(const std::wstring& descriptor);
    void SetHotImage(const std::wstring& descriptor);
    void SetHotForeImage(const std::wstring& descriptor);
    void SetPushedImage(const std::wstring& descriptor);
    void SetPushedForeImage(const std::wstring& descriptor);
    void SetFocusedImage(const std::wstring& descriptor);
    void SetDisabledImage(const std::wstring& descriptor);
    // The control's foreground image, drawn over the state image.
    void SetForeImage(const std::wstring& descriptor);
    // One image in five equal vertical strips: normal, pushed, hot, focused, disabled. A
    // floating button without a fixed size takes the size of one strip.
    void SetFiveStatusImage(const std::wstring& descriptor);

    // ARGB; 0: none.
    void SetHotBkColor(DWORD argb);
    void SetHotTextColor(DWORD argb);
    void SetPushedTextColor(DWORD argb);
    void SetFocusedTextColor(DWORD argb);

protected:
    ~CButtonUI() override;

    // Keeps the focused and disabled bits in step with the control and gives the state.
    UINT RefreshState();
    void SetButtonState(UINT state) { m_state = state; }
    // The state images as drawn for `state` (an option leaves the pushed bit out).
    void DrawButtonStateImage(HDC dc, UINT state);
    void DrawButtonCaption(HDC dc, UINT state);
    // Draws `info` over the control (with `fade` instead of its own fade when given); false
    // when it is not drawn: no descriptor, or its image cannot be loaded.
    bool DrawImage(HDC dc, ImageDrawInfo& info, std::optional<BYTE> fade = std::nullopt);
    // Stores a new descriptor in `info`; true when it changed (and was repainted).
    bool ReplaceImage(ImageDrawInfo& info, const std::wstring& descriptor);

private:
    // True when the button handled the event itself.
    bool HandleButtonEvent(ControlEvent& event);
    bool OnKeyDown(const ControlEvent& event);
    void OnButtonDown(const ControlEvent& event);
    void OnMouseMove(const ControlEvent& event);
    void OnButtonUp(const ControlEvent& event);
    void OnMouseEnter(const ControlEvent& event);
    void OnMouseLeave(const ControlEvent& event);
    void OnFadeTick();
    void StartFade();
    bool IsInside(POINT point) const;
    bool DrawState(HDC dc, StateImage& image, std::optional<BYTE> fade = std::nullopt);
    void SetStateImage(StateImage& image, const std::wstring& descriptor);
    bool DrawHotImages(HDC dc);
    void DrawNormalImages(HDC dc);
    void TakeStripSize();

    UINT m_state = 0;
    DWORD m_hotBkColor = 0;
    DWORD m_hotTextColor = 0;
    DWORD m_pushedTextColor = 0;
    DWORD m_focusedTextColor = 0;
    BYTE m_fadeAlpha = 255;
    BYTE m_fadeDelta = 0;
    StateImage m_normal;
    StateImage m_hot;
    ImageDrawInfo m_hotFore;
    StateImage m_pushed;
    ImageDrawInfo m_pushedFore;
    StateImage m_focused;
    StateImage m_disabled;
};

}  // namespace SkinUI
