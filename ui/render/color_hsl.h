// Colour adjustment by hue, saturation and lightness, for single colours and for images
// loaded as HSL-adjustable. Hue 180, saturation 100 and lightness 100 are neutral.
#pragma once

#include <windows.h>

namespace SkinUI {

struct ImageInfo;

// The colour with its hue turned by (hue - 180) degrees and its saturation and lightness
// scaled by the percentages; alpha is kept. Neutral values return the colour unchanged.
DWORD ShiftColorHSL(DWORD argb, short hue, short saturation, short lightness);

// Rewrites the pixels of an image that uses HSL from its unadjusted pixels: adjusted when
// `adjust` is on and the values are not neutral, else copied back unchanged. Images that do
// not use HSL (or null) are left alone.
void ShiftImageHSL(bool adjust, ImageInfo* image, short hue, short saturation, short lightness);

}  // namespace SkinUI
