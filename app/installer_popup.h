// How the installer's skinned windows come to the screen: an unowned popup at the system's
// default place and size, which the skin then sizes.
#pragma once

#include "ui/window/window_wnd.h"

#include <windows.h>

// Creates `window` as a visible popup titled `title`; false when the system refuses it.
inline bool createInstallerPopup(SkinUI::CWindowWnd& window, const wchar_t* title)
{
    return window.CreateNative(nullptr, title, WS_POPUP | WS_VISIBLE, 0, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT) != nullptr;
}

// Creates the popup, centres it on its monitor's work area and shows it, activated.
inline bool openInstallerPopup(SkinUI::CWindowWnd& window, const wchar_t* title)
{
    if (!createInstallerPopup(window, title)) return false;
    window.CenterOnOwner();
    window.ShowNative(true, true);
    return true;
}
