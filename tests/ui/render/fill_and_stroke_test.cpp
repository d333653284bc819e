// Colour fills, gradients (system and banded), borders and clip regions.
#include "tests/ui/render/blend_path_fixture.h"
#include "tests/ui/render/canvas.h"
#include "ui/render/clip.h"
#include "ui/render/fill_and_stroke.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

class FillTest : public BothBlendPaths {};

}  // namespace

TEST_P(FillTest, ColourAlphaDecidesBetweenNothingOpaqueAndBlend)
{
    Canvas canvas(8, 8);
    FillColor(canvas.dc(), RECT{0, 0, 8, 8}, 0x00FFFFFF);
    EXPECT_TRUE(sameColor(canvas.pixel(4, 4), 0x000000)) << "alpha 0 draws nothing";

    FillColor(canvas.dc(), RECT{2, 2, 6, 6}, 0xFF336699);
    EXPECT_TRUE(sameColor(canvas.pixel(3, 3), 0x336699, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(1, 1), 0x000000, 0)) << "outside the rectangle";

    // Half-transparent white over black and over blue: the colour weighs by its alpha.
    canvas.fill(0xFF000000);
    FillColor(canvas.dc(), RECT{0, 0, 8, 8}, 0x80FFFFFF);
    EXPECT_TRUE(sameColor(canvas.pixel(4, 4), 0x808080, 3)) << std::hex << canvas.pixel(4, 4);
    canvas.fill(0xFF0000FF);
    FillColor(canvas.dc(), RECT{0, 0, 8, 8}, 0x40FF0000);
    EXPECT_TRUE(sameColor(canvas.pixel(4, 4), 0x4000BF, 3)) << std::hex << canvas.pixel(4, 4);
}

TEST_P(FillTest, OpaqueGradientRunsFromTheFirstColourToTheSecond)
{
    for (bool vertical : {true, false}) {
        Canvas canvas(64, 64);
        FillGradient(canvas.dc(), RECT{0, 0, 64, 64}, 0xFFFF0000, 0xFF0000FF, vertical, 64);
        auto at = [&](int i) { return vertical ? canvas.pixel(10, i) : canvas.pixel(i, 10); };
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        EXPECT_GT(channel(at(0), 16), 230);
        EXPECT_LT(channel(at(0), 0), 25);
        EXPECT_GT(channel(at(63), 0), 230);
        EXPECT_LT(channel(at(63), 16), 25);
        EXPECT_NEAR(channel(at(32), 16), 127, 12);
        for (int i = 1; i < 64; ++i)
            EXPECT_LE(channel(at(i), 16), channel(at(i - 1), 16)) << "red only falls, at " << i;
    }
}

TEST_P(FillTest, TranslucentGradientBlendsWithTheMeanAlpha)
{
    // Black at alpha 0 to black at alpha 255: drawn with alpha 127 over white.
    Canvas canvas(16, 16, 0xFFFFFFFF);
    FillGradient(canvas.dc(), RECT{0, 0, 16, 16}, 0x00000000, 0xFF000000, true, 16);
    EXPECT_TRUE(sameColor(canvas.pixel(8, 0), 0x808080, 3)) << std::hex << canvas.pixel(8, 0);
    EXPECT_TRUE(sameColor(canvas.pixel(8, 15), 0x808080, 3));

    canvas.fill(0xFFFFFFFF);
    FillGradient(canvas.dc(), RECT{0, 0, 16, 16}, 0x00000000, 0x00FFFFFF, true, 16);
    EXPECT_TRUE(sameColor(canvas.pixel(8, 8), 0xFFFFFF, 0)) << "mean alpha 0 draws nothing";
}

TEST(GradientBands, FallbackBandsFollowTheStepCount)
{
    DisableSystemBlending(true);
    // 2 bands for steps below 4: the lower half is `to`, the upper half the mean colour.
    Canvas canvas(4, 8);
    FillGradient(canvas.dc(), RECT{0, 0, 4, 8}, 0xFF000000, 0xFFFFFFFF, true, 2);
    EXPECT_TRUE(sameColor(canvas.pixel(0, 7), 0xFFFFFF, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(0, 4), 0xFFFFFF, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(0, 3), 0x7F7F7F, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(0, 0), 0x7F7F7F, 0));
    DisableSystemBlending(false);
}

TEST(Strokes, BordersStayInsideTheirRectangleAndLinesJoinTheirEnds)
{
    Canvas canvas(20, 20);
    StrokeRect(canvas.dc(), RECT{2, 2, 18, 18}, 2, 0xFFFF0000);
    EXPECT_TRUE(sameColor(canvas.pixel(2, 2), 0xFF0000, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(3, 10), 0xFF0000, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(17, 10), 0xFF0000, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(1, 10), 0x000000, 0)) << "outside";
    EXPECT_TRUE(sameColor(canvas.pixel(4, 10), 0x000000, 0)) << "not filled";
    EXPECT_TRUE(sameColor(canvas.pixel(10, 10), 0x000000, 0));

    canvas.fill(0xFF000000);
    StrokeRoundRect(canvas.dc(), RECT{0, 0, 20, 20}, 1, 10, 10, 0xFF00FF00);
    EXPECT_TRUE(sameColor(canvas.pixel(10, 0), 0x00FF00, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(0, 0), 0x000000, 0)) << "the corner is rounded off";

    canvas.fill(0xFF000000);
    StrokeLine(canvas.dc(), RECT{0, 5, 19, 5}, 1, 0x800000FF);  // alpha is ignored
    EXPECT_TRUE(sameColor(canvas.pixel(10, 5), 0x0000FF, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(10, 6), 0x000000, 0));

    canvas.fill(0xFF000000);
    StrokeRect(canvas.dc(), RECT{2, 2, 18, 18}, 1, 0xFFFFFFFF, PS_DOT);
    int lit = 0;
    for (int x = 2; x < 18; ++x) lit += sameColor(canvas.pixel(x, 2), 0xFFFFFF, 0) ? 1 : 0;
    EXPECT_GT(lit, 2) << "a dotted border is drawn";
    EXPECT_LT(lit, 16) << "with gaps";
}

TEST(Clips, RoundClipCutsCornersAndRestoresThePreviousClip)
{
    Canvas canvas(20, 20);
    {
        ClipRegion clip = RoundClip(canvas.dc(), RECT{0, 0, 20, 20}, RECT{0, 0, 19, 19}, 10, 10);
        FillColor(canvas.dc(), canvas.rect(), 0xFFFFFFFF);
        EXPECT_TRUE(sameColor(canvas.pixel(0, 0), 0x000000, 0));
        EXPECT_TRUE(sameColor(canvas.pixel(10, 10), 0xFFFFFF, 0));
        EXPECT_TRUE(sameColor(canvas.pixel(10, 0), 0xFFFFFF, 0));

        clip.UsePrevious();  // a floating child may draw outside for a while
        FillColor(canvas.dc(), RECT{0, 0, 1, 1}, 0xFF00FF00);
        EXPECT_TRUE(sameColor(canvas.pixel(0, 0), 0x00FF00, 0));
        clip.UseNew();
        FillColor(canvas.dc(), RECT{19, 19, 20, 20}, 0xFF00FF00);
        EXPECT_TRUE(sameColor(canvas.pixel(19, 19), 0x000000, 0));
    }
    FillColor(canvas.dc(), RECT{19, 19, 20, 20}, 0xFFFF0000);
    EXPECT_TRUE(sameColor(canvas.pixel(19, 19), 0xFF0000, 0)) << "no clip after the record is gone";
}

TEST(Clips, NestedClipsIntersectAndUnwindInOrder)
{
    Canvas canvas(20, 20);
    ClipRegion outer = RoundClip(canvas.dc(), canvas.rect(), RECT{0, 0, 19, 19}, 12, 12);
    {
        ClipRegion inner = RectClip(canvas.dc(), RECT{0, 0, 10, 10});
        FillColor(canvas.dc(), canvas.rect(), 0xFFFFFFFF);
        EXPECT_TRUE(sameColor(canvas.pixel(5, 5), 0xFFFFFF, 0));
        EXPECT_TRUE(sameColor(canvas.pixel(15, 15), 0x000000, 0)) << "outside the inner rectangle";
        EXPECT_TRUE(sameColor(canvas.pixel(0, 0), 0x000000, 0))
            << "the outer round corner still applies";
    }
    FillColor(canvas.dc(), canvas.rect(), 0xFF0000FF);
    EXPECT_TRUE(sameColor(canvas.pixel(15, 15), 0x0000FF, 0));
    EXPECT_TRUE(sameColor(canvas.pixel(0, 0), 0x000000, 0))
        << "the outer round clip is back, corners and all";
}

INSTANTIATE_TEST_SUITE_P(BlendPaths, FillTest, ::testing::Bool(), blendPathName);
