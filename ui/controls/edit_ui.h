// CEditUI: a one-line text entry. The control draws its state image and its text (masked by
// the password character when asked) like a label; while it is being edited, a native text
// box (CEditWnd) lies over its text rectangle and takes the keyboard. The box opens when the
// control gets the focus or is clicked while focused, and closes when it loses the native
// focus, or when the control is hidden (itself or through an ancestor) or disabled.
//
// Notifications: "textchanged" when the user's typing changed the text (never for SetText),
// "return" when Enter is pressed in the box.
//
// Ownership: the control owns its box; the box reports its own end to the control, which
// then lets it go (see CEditWnd).
#pragma once

#include "ui/controls/label_ui.h"

#include <windows.h>

#include <memory>
#include <string>

namespace SkinUI {

class CEditWnd;

class CEditUI : public CLabelUI {
public:
    CEditUI();

    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    // Tab stop and I-beam cursor while enabled, nothing while disabled.
    UINT GetFlags() const override;
    // The open box, or null.
    HWND NativeWindow() const override;
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override;

    // A fixed height keeps the fixed size; otherwise the fixed width and one line of the
    // font plus 8 pixels.
    SIZE PreferredSize(SIZE available) override;
    void HandleEvent(ControlEvent& event) override;

    // Stores the text and, with an open box, shows it there too (not reported as typed).
    void SetText(const std::wstring& text) override;
    // Placing or moving the control moves an open box with it (hidden while clipped away).
    void Place(RECT rect, bool invalidate = true) override;
    void Offset(int dx, int dy, bool invalidate = true) override;
    // Hiding or disabling the control closes an open box (the text typed so far stays).
    void SetVisible(bool visible = true) override;
    // Unlike other controls the edit does not keep the visibility its parent imposes (it
    // still says it is visible inside a hidden container), but a hidden ancestor takes its
    // focus and closes its box.
    void SetInnerVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;

    void DrawStateImage(HDC dc) override;
    void DrawCaption(HDC dc) override;

    // The longest text the box accepts (255 at first; 0 or less: no limit). Text set by
    // SetText is never cut.
    int GetMaxChar() const { return m_maxChar; }
    void SetMaxChar(int count);
    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    // The box refuses anything but digits.
    bool IsNumberOnly() const { return (m_nativeStyle & ES_NUMBER) != 0; }
    void SetNumberOnly(bool numberOnly);
    // The text shows as password characters ('*' at first), in the box and when drawn.
    bool IsPassword() const { return m_password; }
    void SetPassword(bool password);
    wchar_t GetPasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(wchar_t ch);
    // A click into an open box selects its whole text instead of placing the caret.
    bool IsAutoSelectAll() const { return m_autoSelectAll; }
    void SetAutoSelectAll(bool selectAll);
    // The box's background (ARGB): 0xFFFFFFFF leaves it to the system, an opaque colour
    // fills it, a translucent one covers what the window shows under the box.
    DWORD GetNativeBkColor() const { return m_nativeBkColor; }
    void SetNativeBkColor(DWORD argb);
    // Extra style bits of the box (ES_NUMBER for "numberonly").
    UINT GetNativeStyle() const { return m_nativeStyle; }

    void SetNormalImage(const std::wstring& descriptor);
    void SetHotImage(const std::wstring& descriptor);
    void SetFocusedImage(const std::wstring& descriptor);
    void SetDisabledImage(const std::wstring& descriptor);

    // Where the box lies, in the window's client coordinates: the text rectangle, no higher
    // than one line of the font and then centred vertically, clipped by the content
    // rectangle of every ancestor; empty when an ancestor is hidden or nothing is left.
    RECT NativeRect() const;

protected:
    ~CEditUI() override;

private:
    friend class CEditWnd;
    // State bits.
    static constexpr UINT kFocused = 0x01;
    static constexpr UINT kDisabled = 0x04;
    static constexpr UINT kHot = 0x08;

    // The box's calls: its text changed (stored without writing it back), and its window is
    // gone (the control lets the box go).
    void StoreNativeText(const std::wstring& text);
    void NativeWindowDestroyed(CEditWnd* box, HWND window);

    // A box that is open and not closing.
    bool HasOpenBox() const;
    // Opens a box, letting a closing one go first.
    void OpenNativeWindow();
    // Takes the focus from the control if it holds it (the window then takes the native
    // focus) and closes the box.
    void CloseNativeWindow();
    // The edit's part of HandleEvent; true when the event ends here.
    bool HandleEditEvent(ControlEvent& event);
    bool OnSetFocus();
    void OnPress(const ControlEvent& event);
    void OnMouseEnter(const ControlEvent& event);
    void OnMouseLeave(const ControlEvent& event);
    bool DrawImage(HDC dc, ImageDrawInfo& image);
    void SetImage(ImageDrawInfo& image, const std::wstring& descriptor);

    std::unique_ptr<CEditWnd> m_window;
    int m_maxChar = 255;
    bool m_readOnly = false;
    bool m_password = false;
    bool m_autoSelectAll = false;
    wchar_t m_passwordChar = L'*';
    UINT m_state = 0;
    DWORD m_nativeBkColor = 0xFFFFFFFF;
    UINT m_nativeStyle = 0;
    ImageDrawInfo m_normalImage;
    ImageDrawInfo m_hotImage;
    ImageDrawInfo m_focusedImage;
    ImageDrawInfo m_disabledImage;
};

}  // namespace SkinUI
