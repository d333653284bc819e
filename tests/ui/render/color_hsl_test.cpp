// Hue, saturation and lightness adjustment of colours and images.
#include "tests/ui/render/canvas.h"
#include "ui/render/color_hsl.h"

#include <gtest/gtest.h>

using namespace SkinUI;
using namespace SkinUITest;

TEST(ColorHsl, NeutralValuesAreIdentityAndShiftsMoveAroundTheWheel)
{
    for (DWORD color : {0xFF123456u, 0x80FFFFFFu, 0x00000000u, 0xFFFF0000u})
        EXPECT_EQ(ShiftColorHSL(color, 180, 100, 100), color);
    EXPECT_EQ(ShiftColorHSL(0xFFFF0000, 300, 100, 100), 0xFF00FF00u)
        << "red turned by 120 degrees is green";
    EXPECT_EQ(ShiftColorHSL(0x80FF0000, 60, 100, 100), 0x800000FFu)
        << "turned back by 120: blue, alpha kept";
    EXPECT_EQ(ShiftColorHSL(0xFFFF0000, 180, 0, 100), 0xFF808080u) << "no saturation: grey";
    EXPECT_EQ(ShiftColorHSL(0xFFFFFFFF, 180, 100, 50), 0xFF808080u) << "half lightness of white";
    EXPECT_EQ(ShiftColorHSL(0xFF808080, 0, 100, 100), 0xFF808080u) << "greys have no hue to turn";
}

TEST(ColorHsl, ImagePixelsAreAdjustedFromTheUnadjustedCopyAndRestored)
{
    auto image = makeImage(2, 1, [](int x, int) { return x == 0 ? 0xFFFF0000 : 0x80FF0000; });
    image->usesHSL = true;
    image->unadjusted.assign(image->dib.pixels, image->dib.pixels + 2);

    ShiftImageHSL(true, image.get(), 300, 100, 100);
    EXPECT_EQ(image->dib.pixels[0], 0xFF00FF00u);
    EXPECT_EQ(image->dib.pixels[1], 0x80008000u) << "premultiplied green at alpha 0x80";
    ShiftImageHSL(true, image.get(), 300, 100, 100);
    EXPECT_EQ(image->dib.pixels[0], 0xFF00FF00u) << "always starts from the unadjusted pixels";

    ShiftImageHSL(true, image.get(), 180, 100, 100);
    EXPECT_EQ(image->dib.pixels[0], 0xFFFF0000u);
    EXPECT_EQ(image->dib.pixels[1], 0x80800000u);

    ShiftImageHSL(true, image.get(), 300, 100, 100);
    ShiftImageHSL(false, image.get(), 300, 100, 100);
    EXPECT_EQ(image->dib.pixels[0], 0xFFFF0000u) << "adjustment switched off restores the image";

    auto plain = makeImage(1, 1, [](int, int) { return 0xFFFF0000; });
    ShiftImageHSL(true, plain.get(), 300, 100, 100);
    EXPECT_EQ(plain->dib.pixels[0], 0xFFFF0000u) << "images not loaded for HSL stay as they are";
    ShiftImageHSL(true, nullptr, 300, 100, 100);
}
