// HSL colour adjustment; see color_hsl.h.
#include "ui/render/color_hsl.h"

#include "ui/render/image_info.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace SkinUI {
namespace {

struct Hsl {
    double hue;         // degrees, 0 <= hue < 360
    double saturation;  // 0..1
    double lightness;   // 0..1
};

Hsl ToHsl(double r, double g, double b)
{
    double high = std::max({r, g, b});
    double low = std::min({r, g, b});
    double lightness = (high + low) / 2;
    double delta = high - low;
    if (delta <= 0) return Hsl{0, 0, lightness};
    double saturation = lightness <= 0.5 ? delta / (high + low) : delta / (2 - high - low);
    double hue = high == r   ? (g - b) / delta
                 : high == g ? 2 + (b - r) / delta
                             : 4 + (r - g) / delta;
    hue *= 60;
    if (hue < 0) hue += 360;
    return Hsl{hue, saturation, lightness};
}

double HueToChannel(double p, double q, double hue)
{
    hue = std::fmod(hue, 360.0);
    if (hue < 0) hue += 360;
    if (hue < 60) return p + (q - p) * hue / 60;
    if (hue < 180) return q;
    if (hue < 240) return p + (q - p) * (240 - hue) / 60;
    return p;
}

unsigned ToByte(double value)
{
    return static_cast<unsigned>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
}

DWORD FromHsl(const Hsl& hsl, DWORD alphaBits)
{
    double l = hsl.lightness;
    double s = hsl.saturation;
    if (s <= 0) {
        unsigned grey = ToByte(l);
        return alphaBits | (grey << 16) | (grey << 8) | grey;
    }
    double q = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    double p = 2 * l - q;
    unsigned r = ToByte(HueToChannel(p, q, hsl.hue + 120));
    unsigned g = ToByte(HueToChannel(p, q, hsl.hue));
    unsigned b = ToByte(HueToChannel(p, q, hsl.hue - 120));
    return alphaBits | (r << 16) | (g << 8) | b;
}

bool IsNeutral(short hue, short saturation, short lightness)
{
    return hue == 180 && saturation == 100 && lightness == 100;
}

// Image pixels are premultiplied: they are adjusted as straight colours and premultiplied again.
uint32_t ShiftPremultiplied(uint32_t pixel, short hue, short saturation, short lightness)
{
    unsigned alpha = pixel >> 24;
    if (alpha == 0) return pixel;
    auto straight = [&](int shift) {
        return std::min(255u, ((pixel >> shift) & 0xFF) * 255 / alpha);
    };
    DWORD shifted =
        ShiftColorHSL((alpha << 24) | (straight(16) << 16) | (straight(8) << 8) | straight(0), hue,
                      saturation, lightness);
    uint32_t result = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8)
        result |= (((shifted >> shift) & 0xFF) * alpha / 255) << shift;
    return result;
}

}  // namespace

DWORD ShiftColorHSL(DWORD argb, short hue, short saturation, short lightness)
{
    if (IsNeutral(hue, saturation, lightness)) return argb;
    Hsl hsl =
        ToHsl(((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0);
    hsl.hue += hue - 180;
    if (hsl.hue <= 0) hsl.hue += 360;
    hsl.saturation = std::min(1.0, hsl.saturation * saturation / 100);
    hsl.lightness = std::min(1.0, hsl.lightness * lightness / 100);
    return FromHsl(hsl, argb & 0xFF000000);
}

void ShiftImageHSL(bool adjust, ImageInfo* image, short hue, short saturation, short lightness)
{
    if (!image || !image->usesHSL || !image->dib) return;
    size_t count = static_cast<size_t>(image->width()) * image->height();
    if (image->unadjusted.size() != count)
        return;  // the copy was never taken: nothing to start from
    if (!adjust || IsNeutral(hue, saturation, lightness)) {
        std::memcpy(image->dib.pixels, image->unadjusted.data(), count * 4);
        return;
    }
    for (size_t i = 0; i < count; ++i)
        image->dib.pixels[i] = ShiftPremultiplied(image->unadjusted[i], hue, saturation, lightness);
}

}  // namespace SkinUI
