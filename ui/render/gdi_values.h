// Small conversions between the framework's values and GDI's: rectangle sizes and ARGB
// colours (alpha in the top byte) as the COLORREFs that pens, brushes and text take.
#pragma once

#include <windows.h>

namespace SkinUI {

inline int RectWidth(const RECT& rc)
{
    return rc.right - rc.left;
}

inline int RectHeight(const RECT& rc)
{
    return rc.bottom - rc.top;
}

// True when all four values are 0 (descriptors use that for "not given").
inline bool IsZeroRect(const RECT& rc)
{
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

// The red, green and blue of an ARGB colour; GDI has no use for its alpha.
inline COLORREF ArgbToColorRef(DWORD argb)
{
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace SkinUI
