// Plain text: drawing and measuring with the context's fonts, after substituting language
// string tokens.
#pragma once

#include "ui/render/render_context.h"

#include <string>

namespace SkinUI {

// Draws `text` into `rc` with the font `font` (an unknown number: the default font), the
// colour's red, green and blue, a transparent background and the native text style flags
// (DT_NOPREFIX is always added, so "&" is shown as written). With DT_CALCRECT nothing is
// drawn and `rc` gets the rectangle the text needs: its right and bottom move (lines wrap at
// its width with DT_WORDBREAK); otherwise `rc` is left as it is.
void DrawPlainText(HDC dc, IRenderContext& context, RECT& rc, const std::wstring& text, DWORD argb,
                   int font, UINT style);

// The width and height of `text` drawn on one line with `font`.
SIZE MeasureText(HDC dc, IRenderContext& context, const std::wstring& text, int font);

}  // namespace SkinUI
