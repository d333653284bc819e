// Colour fills, two-colour gradients, lines, rectangles and rounded rectangles, with ARGB
// colours (alpha in the top byte).
#pragma once

#include <windows.h>

namespace SkinUI {

// Alpha 0 draws nothing, alpha 0xFF fills opaquely, anything between blends source-over.
void FillColor(HDC dc, const RECT& rc, DWORD argb);

// A gradient from `from` (top or left) to `to` (bottom or right). Its alpha is the mean of the
// two alphas: 0 draws nothing, below 0xFF the gradient is blended with that constant alpha.
// `steps` sets the number of bands when the system gradient function is missing.
void FillGradient(HDC dc, const RECT& rc, DWORD from, DWORD to, bool vertical, int steps);

// A line from (left, top) to (right, bottom); the colour's alpha is ignored.
void StrokeLine(HDC dc, const RECT& rc, int width, DWORD argb, int penStyle = PS_SOLID);

// The outline of a rectangle, drawn inside it; the colour's alpha is ignored.
void StrokeRect(HDC dc, const RECT& rc, int width, DWORD argb, int penStyle = PS_SOLID);
void StrokeRoundRect(HDC dc, const RECT& rc, int width, int ellipseWidth, int ellipseHeight,
                     DWORD argb, int penStyle = PS_SOLID);

}  // namespace SkinUI
