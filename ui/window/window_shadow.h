// CWndShadow: a soft drop shadow for a top-level window, drawn by a separate layered,
// click-through popup that the window owns and that follows it (moves, sizes, shows, hides,
// dies with it). The shadow is computed from the window's shape (shadow_bitmap.h) or drawn
// from a nine-part image.
#pragma once

#include "ui/render/image_info.h"
#include "ui/render/layered_window_functions.h"
#include "ui/window/shadow_bitmap.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace SkinUI {

// The signature of user32's "UpdateLayeredWindow".
using LayeredWindowUpdater = UpdateLayeredWindowFunction;

// Replaces the function shadows push their bitmaps through (user32's "UpdateLayeredWindow",
// looked up once at first use; null: shadows are unavailable). For tests, which read the
// pushed bitmap from the source DC since layered alpha is not composited on every display.
// Returns the function used until now.
LayeredWindowUpdater SetLayeredWindowUpdater(LayeredWindowUpdater updater);

class CWndShadow {
public:
    CWndShadow() = default;
    // Closes the shadow window and stops following the parent. The parent keeps working: our
    // window procedure is taken out of its chain when it is still the newest one, and
    // otherwise stays in the chain forwarding every message.
    ~CWndShadow();
    CWndShadow(const CWndShadow&) = delete;
    CWndShadow& operator=(const CWndShadow&) = delete;

    // Registers the window class "SkinShadowWnd" of `instance` for every shadow of the
    // process. False when it is already registered, when the system has no layered-window
    // update function, or when the system refuses the class.
    static bool RegisterShadowClass(HINSTANCE instance);

    // Gives `parent` this shadow: creates the shadow window and subclasses the parent to
    // follow it. Refused (false) before RegisterShadowClass, for a handle that is not a
    // window, when this shadow already follows a window, or when `parent` already has a
    // shadow (subclassing it twice would make its procedure call itself forever).
    bool Attach(HWND parent);

    // Alpha of the solid part, 0-255; false outside.
    bool SetDarkness(int darkness);
    // Width of the soft edge, 0-20; false outside.
    bool SetSharpness(int sharpness);
    // Growth beyond the window outline; negative values shrink the shadow.
    void SetSize(int8_t size);
    // Shift of the shadow, each -20...20; false when either is outside.
    bool SetPosition(int x, int y);
    // Colour of the shadow (0x00BBGGRR); the darkness gives its alpha.
    void SetColor(COLORREF color);
    // Draws the shadow from the skin image `name` instead of computing it: the image is laid
    // in nine parts with `corners` (left, top, right, bottom widths) over the window grown by
    // `padding` on each side, its centre left out; both are clamped to +-kSkinNumberLimit.
    // False when the image cannot be loaded; the previous image (or the computed shadow) then
    // stays.
    bool SetImage(const std::wstring& name, const RECT& padding, const RECT& corners);

private:
    enum Status : unsigned { kEnabled = 1, kVisible = 2, kParentVisible = 4 };

    static LRESULT CALLBACK ParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);
    void OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnParentDestroy();
    void OnParentSize(WPARAM kind, int width, int height);
    void OnParentShow(bool shown);
    void ForgetParent();

    void Show();
    void Hide(unsigned clearedStatus);
    void UpdateIfVisible();
    void Update();
    void MoveToPlace();
    POINT Place(const RECT& parentRect) const;
    DibSection RenderImageShadow(int parentWidth, int parentHeight) const;

    HWND m_parent = nullptr;
    HWND m_window = nullptr;  // the shadow window, destroyed with the parent
    unsigned m_status = 0;    // Status bits
    ShadowLook m_look;
    int m_lastWidth = 0;  // the parent's size from its last size message
    int m_lastHeight = 0;
    bool m_updatePending = false;  // carried out at the parent's next paint
    std::unique_ptr<ImageInfo> m_image;
    RECT m_imagePadding = {};
    RECT m_imageCorners = {};
};

}  // namespace SkinUI
