// BlitImage: stretching, nine parts, tiling, hole and fade, on both blend paths.
#include "tests/ui/render/blend_path_fixture.h"
#include "tests/ui/render/canvas.h"
#include "ui/render/image_blit.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
                   kGrey = 0xFF808080, kYellow = 0xFFFFFF00, kBlack = 0xFF000000;

// 12x12: 4-pixel corners red, green, blue, white (clockwise from top-left except bottom-right
// white), grey edges, yellow centre.
std::unique_ptr<ImageInfo> nineGrid()
{
    return makeImage(12, 12, [](int x, int y) {
        bool left = x < 4, right = x >= 8, top = y < 4, bottom = y >= 8;
        if (top && left) return kRed;
        if (top && right) return kGreen;
        if (bottom && left) return kBlue;
        if (bottom && right) return kWhite;
        if (left || right || top || bottom) return kGrey;
        return kYellow;
    });
}

BlitLayout wholeImage(const ImageInfo& image, bool blend)
{
    BlitLayout layout;
    layout.source = RECT{0, 0, image.width(), image.height()};
    layout.hasAlpha = blend;  // an opaque image takes the blend path when told it has alpha
    return layout;
}

class BlitImageTest : public BothBlendPaths {};

}  // namespace

TEST_P(BlitImageTest, StretchedImageFillsTheDestinationAndKeepsItsQuadrants)
{
    auto image = makeImage(2, 2, [](int x, int y) {
        return y == 0 ? (x == 0 ? kRed : kGreen) : (x == 0 ? kBlue : kWhite);
    });
    for (bool blend : {false, true}) {
        Canvas canvas(20, 20);
        BlitImage(canvas.dc(), image->bitmap(), RECT{0, 0, 20, 20}, canvas.rect(),
                  wholeImage(*image, blend));
        EXPECT_TRUE(sameColor(canvas.pixel(2, 2), kRed)) << blend;
        EXPECT_TRUE(sameColor(canvas.pixel(17, 2), kGreen)) << blend;
        EXPECT_TRUE(sameColor(canvas.pixel(2, 17), kBlue)) << blend;
        EXPECT_TRUE(sameColor(canvas.pixel(17, 17), kWhite)) << blend;
    }
}

TEST_P(BlitImageTest, NinePartCornersKeepTheirSizeWhileEdgesAndCentreStretch)
{
    auto image = nineGrid();
    for (bool blend : {false, true}) {
        Canvas canvas(40, 30);
        BlitLayout layout = wholeImage(*image, blend);
        layout.corner = RECT{4, 4, 4, 4};
        BlitImage(canvas.dc(), image->bitmap(), RECT{0, 0, 40, 30}, canvas.rect(), layout);
        SCOPED_TRACE(blend ? "blend" : "copy");
        EXPECT_TRUE(sameColor(canvas.pixel(0, 0), kRed));
        EXPECT_TRUE(sameColor(canvas.pixel(3, 3), kRed));
        EXPECT_TRUE(sameColor(canvas.pixel(4, 3), kGrey));  // the corner ends after 4 pixels
        EXPECT_TRUE(sameColor(canvas.pixel(3, 4), kGrey));
        EXPECT_TRUE(sameColor(canvas.pixel(36, 0), kGreen));
        EXPECT_TRUE(sameColor(canvas.pixel(35, 0), kGrey));
        EXPECT_TRUE(sameColor(canvas.pixel(0, 26), kBlue));
        EXPECT_TRUE(sameColor(canvas.pixel(0, 25), kGrey));
        EXPECT_TRUE(sameColor(canvas.pixel(39, 29), kWhite));
        EXPECT_TRUE(sameColor(canvas.pixel(20, 15), kYellow));
        EXPECT_TRUE(sameColor(canvas.pixel(4, 4), kYellow));
        EXPECT_TRUE(sameColor(canvas.pixel(35, 25), kYellow));
    }
}

TEST_P(BlitImageTest, HoleLeavesTheCentreUntouched)
{
    auto image = nineGrid();
    Canvas canvas(40, 30);
    BlitLayout layout = wholeImage(*image, true);
    layout.corner = RECT{4, 4, 4, 4};
    layout.hole = true;
    BlitImage(canvas.dc(), image->bitmap(), RECT{0, 0, 40, 30}, canvas.rect(), layout);
    EXPECT_TRUE(sameColor(canvas.pixel(20, 15), kBlack));
    EXPECT_TRUE(sameColor(canvas.pixel(0, 0), kRed));
    EXPECT_TRUE(sameColor(canvas.pixel(20, 0), kGrey));
}

TEST_P(BlitImageTest, TilesRepeatAtSourceSizeAndTheLastOneIsCut)
{
    // Columns 0-1 red, 2-3 blue: tiles of 4 into 10 pixels end with a cut tile of 2 red.
    auto image = makeImage(4, 2, [](int x, int) { return x < 2 ? kRed : kBlue; });
    for (bool blend : {false, true}) {
        Canvas canvas(10, 4);
        BlitLayout layout = wholeImage(*image, blend);
        layout.xTiled = true;
        BlitImage(canvas.dc(), image->bitmap(), RECT{0, 0, 10, 4}, canvas.rect(), layout);
        const uint32_t expected[10] = {kRed, kRed,  kBlue, kBlue, kRed,
                                       kRed, kBlue, kBlue, kRed,  kRed};
        for (int x = 0; x < 10; ++x) {
            EXPECT_TRUE(sameColor(canvas.pixel(x, 0), expected[x]))
                << "x " << x << " blend " << blend;
            EXPECT_TRUE(sameColor(canvas.pixel(x, 3), expected[x]))
                << "stretched vertically, x " << x;
        }
    }
    // Both directions: rows 0 red, 1 blue repeat downwards too, the last row cut.
    auto checker = makeImage(2, 2, [](int, int y) { return y == 0 ? kRed : kBlue; });
    Canvas canvas(5, 5);
    BlitLayout layout = wholeImage(*checker, false);
    layout.xTiled = layout.yTiled = true;
    BlitImage(canvas.dc(), checker->bitmap(), RECT{0, 0, 5, 5}, canvas.rect(), layout);
    for (int y = 0; y < 5; ++y)
        EXPECT_TRUE(sameColor(canvas.pixel(4, y), y % 2 == 0 ? kRed : kBlue)) << "y " << y;
}

TEST_P(BlitImageTest, FadeAndPerPixelAlphaBlendOverTheBackground)
{
    auto white = makeImage(2, 2, [](int, int) { return kWhite; });
    Canvas canvas(4, 4);
    BlitLayout layout = wholeImage(*white, false);
    layout.fade = 128;
    BlitImage(canvas.dc(), white->bitmap(), RECT{0, 0, 4, 4}, canvas.rect(), layout);
    EXPECT_TRUE(sameColor(canvas.pixel(1, 1), 0x808080, 3)) << std::hex << canvas.pixel(1, 1);

    auto halfWhite = makeImage(2, 2, [](int, int) { return 0x80FFFFFF; });
    ASSERT_TRUE(halfWhite->hasAlpha);
    for (uint32_t background : {kBlack, kWhite, kRed}) {
        canvas.fill(background);
        BlitImage(canvas.dc(), halfWhite->bitmap(), RECT{0, 0, 4, 4}, canvas.rect(),
                  wholeImage(*halfWhite, true));
        uint32_t expected = 0;
        for (int shift = 0; shift < 24; shift += 8)
            expected |= static_cast<uint32_t>((255 * 128 + channel(background, shift) * 127) / 255)
                        << shift;
        EXPECT_TRUE(sameColor(canvas.pixel(2, 2), expected, 3))
            << std::hex << canvas.pixel(2, 2) << " on " << background;
    }
}

TEST_P(BlitImageTest, OnlyPartsMeetingThePaintRectangleAreDrawn)
{
    auto image = nineGrid();
    Canvas canvas(40, 30);
    BlitLayout layout = wholeImage(*image, GetParam());
    layout.corner = RECT{4, 4, 4, 4};
    // The paint rectangle lies in the bottom-right corner only.
    BlitImage(canvas.dc(), image->bitmap(), RECT{0, 0, 40, 30}, RECT{37, 27, 40, 30}, layout);
    EXPECT_TRUE(sameColor(canvas.pixel(39, 29), kWhite));
    EXPECT_TRUE(sameColor(canvas.pixel(0, 0), kBlack));
    EXPECT_TRUE(sameColor(canvas.pixel(20, 15), kBlack));
}

TEST_P(BlitImageTest, NegativeBorderWidthsDrawNothingOutsideTheDestination)
{
    auto image = nineGrid();
    for (bool blend : {false, true}) {
        constexpr uint32_t background = 0xFF336699;
        Canvas canvas(30, 30, background);
        BlitLayout layout = wholeImage(*image, blend);
        layout.corner = RECT{-5, -5, -5, -5};  // a skin's typo; the image is simply stretched
        BlitImage(canvas.dc(), image->bitmap(), RECT{10, 10, 20, 20}, canvas.rect(), layout);
        EXPECT_TRUE(sameColor(canvas.pixel(7, 7), background)) << blend;
        EXPECT_TRUE(sameColor(canvas.pixel(22, 22), background)) << blend;
        EXPECT_TRUE(sameColor(canvas.pixel(10, 10), kRed)) << blend;
        EXPECT_TRUE(sameColor(canvas.pixel(19, 19), kWhite)) << blend;
    }
}

TEST(BlitImageDirectCopy, SameSizeOpaqueImageIsCopiedOnlyWithinThePaintRectangle)
{
    auto image = makeImage(8, 8, [](int x, int) { return x < 4 ? kRed : kBlue; });
    Canvas canvas(8, 8);
    BlitLayout layout;
    layout.source = RECT{0, 0, 8, 8};
    BlitImage(canvas.dc(), image->bitmap(), RECT{0, 0, 8, 8}, RECT{2, 0, 6, 8}, layout);
    EXPECT_TRUE(sameColor(canvas.pixel(1, 1), kBlack));
    EXPECT_TRUE(sameColor(canvas.pixel(3, 1), kRed));
    EXPECT_TRUE(sameColor(canvas.pixel(5, 1), kBlue));
    EXPECT_TRUE(sameColor(canvas.pixel(7, 1), kBlack));
}

INSTANTIATE_TEST_SUITE_P(BlendPaths, BlitImageTest, ::testing::Bool(), blendPathName);
