// "UpdateLayeredWindow" and "SetLayeredWindowAttributes" of user32, looked up once at run time
// (they are missing on old systems). Null means the system offers no layered windows; callers
// then stay opaque.
#pragma once

#include <windows.h>

namespace SkinUI {

using UpdateLayeredWindowFunction = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                  BLENDFUNCTION*, DWORD);
using SetLayeredWindowAttributesFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

UpdateLayeredWindowFunction SystemUpdateLayeredWindow();
SetLayeredWindowAttributesFunction SystemSetLayeredWindowAttributes();

}  // namespace SkinUI
