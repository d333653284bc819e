// The computed shadow's pixels: the kernel's values, known pixels of a plain window, the fast
// function against the stamping reference on many shapes and looks (never writing outside its
// bitmap), and window shapes read from regions.
#include "tests/ui/window/naive_shadow.h"
#include "ui/render/gdi_handles.h"
#include "ui/window/region_shape.h"
#include "ui/window/shadow_bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace SkinUI;
using namespace SkinUITest;

namespace {

ShadowLook Look(int size, int sharpness, int darkness = 150, int x = 5, int y = 5,
                uint32_t color = 0)
{
    ShadowLook look;
    look.size = static_cast<int8_t>(size);
    look.sharpness = static_cast<uint8_t>(sharpness);
    look.darkness = static_cast<uint8_t>(darkness);
    look.xOffset = static_cast<int8_t>(x);
    look.yOffset = static_cast<int8_t>(y);
    look.color = color;
    return look;
}

std::string Describe(const ShadowLook& look)
{
    return "size " + std::to_string(look.size) + ", sharpness " + std::to_string(look.sharpness) +
           ", darkness " + std::to_string(look.darkness) + ", offsets " +
           std::to_string(look.xOffset) + "," + std::to_string(look.yOffset) + ", colour " +
           std::to_string(look.color);
}

// The fast function's pixels, written into a buffer with guard words on both sides that must
// stay untouched.
std::vector<uint32_t> FastShadow(const WindowShape& shape, const ShadowLook& look)
{
    const ShadowBitmapSize size = ComputedShadowSize(shape.width(), shape.height(), look.size);
    const size_t count = size.empty() ? 0 : static_cast<size_t>(size.width) * size.height;
    const size_t guard = 64;
    std::vector<uint32_t> buffer(count + 2 * guard, 0xDEADBEEF);
    ComputeShadow(shape, look, buffer.data() + guard);
    for (size_t i = 0; i < guard; ++i) {
        EXPECT_EQ(buffer[i], 0xDEADBEEF) << "written before the bitmap";
        EXPECT_EQ(buffer[guard + count + i], 0xDEADBEEF) << "written after the bitmap";
    }
    return std::vector<uint32_t>(buffer.begin() + guard, buffer.begin() + guard + count);
}

WindowShape RoundedShape(int width, int height, int ellipse)
{
    Region region(CreateRoundRectRgn(0, 0, width + 1, height + 1, ellipse, ellipse));
    return ShapeFromRegion(region.get(), width, height);
}

}  // namespace

TEST(ShadowKernel, FallsFromTheSolidRadiusToTheEdgeInSharpnessPlusOneSteps)
{
    const ShadowLook soft = Look(0, 5);  // radius 5, no solid part
    EXPECT_EQ(ShadowKernelAlpha(soft, 0), 150);
    EXPECT_EQ(ShadowKernelAlpha(soft, 2), 114) << "150 * (1 - 1.4140625 / 6), rounded down";
    EXPECT_EQ(ShadowKernelAlpha(soft, 9), 75) << "d = 3";
    EXPECT_EQ(ShadowKernelAlpha(soft, 25), 25) << "d = 5, the radius";
    EXPECT_EQ(ShadowKernelAlpha(soft, 26), 0) << "beyond the radius";
    EXPECT_EQ(ShadowKernelAlpha(soft, -1), 0);

    const ShadowLook solid = Look(8, 3);  // radius 8, solid radius 5
    EXPECT_EQ(ShadowKernelAlpha(solid, 24), 150) << "d < 5 is solid";
    EXPECT_EQ(ShadowKernelAlpha(solid, 25), 150) << "d = 5 starts the fall at full darkness";
    EXPECT_EQ(ShadowKernelAlpha(solid, 36), 112) << "150 * (1 - 1 / 4), rounded down";
    EXPECT_EQ(ShadowKernelAlpha(solid, 64), 37) << "d = 8";
    EXPECT_EQ(ShadowKernelAlpha(solid, 65), 0);

    EXPECT_EQ(ShadowKernelAlpha(Look(0, 0, 255), 0), 255) << "sharpness 0: a single pixel";
    EXPECT_EQ(ShadowKernelAlpha(Look(0, 0, 255), 1), 0);
    EXPECT_EQ(ShadowKernelAlpha(Look(-4, 2), 4), 50) << "a negative size has no solid part";
    EXPECT_EQ(ShadowKernelAlpha(Look(0, 20, 0), 0), 0) << "darkness 0";

    int previous = 255;
    for (int q = 0; q <= 401; ++q) {
        const int alpha = ShadowKernelAlpha(Look(0, 20, 255), q);
        EXPECT_LE(alpha, previous) << "falls with distance, q = " << q;
        previous = alpha;
    }
}

TEST(ShadowBitmap, PlainWindowWithTheDefaultsHasASoftRightEdgeAndNothingOverTheWindow)
{
    // Bitmap pixel (x, y) lies over window pixel (x + 5, y + 5).
    const std::vector<uint32_t> pixels = FastShadow(WindowShape::Rectangle(200, 150), Look(0, 5));
    ASSERT_EQ(pixels.size(), 200u * 150u);
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * 200 + x]; };
    EXPECT_EQ(at(100, 100), 0u) << "over the window";
    EXPECT_EQ(at(194, 100), 0u) << "over the window's last column";
    EXPECT_EQ(at(195, 100), 0x7D000000u) << "1 past the row's last stamp: 150 * 5 / 6";
    EXPECT_EQ(at(199, 100), 0x19000000u) << "5 past it, the radius: 150 / 6";
    EXPECT_EQ(at(100, 149), 0x96000000u) << "below the window: the last row's stamps, solid";
    EXPECT_EQ(at(2, 149), 0x4B000000u) << "3 before the row's first stamp (5): 150 / 2";
    EXPECT_EQ(at(2, 140), 0u) << "over the window";

    const std::vector<uint32_t> hidden =
        FastShadow(WindowShape::Rectangle(200, 150), Look(0, 5, 150, 0, 0));
    ASSERT_EQ(hidden.size(), 200u * 150u);
    EXPECT_EQ(std::count(hidden.begin(), hidden.end(), 0u), 200 * 150)
        << "without an offset the whole shadow lies under the window";
}

TEST(ShadowBitmap, FastShadowEqualsStampingTheKernelOnEveryRowSpan)
{
    WindowShape lShape(40, 40);
    lShape.addRect(0, 0, 40, 12);
    lShape.addRect(0, 12, 14, 40);
    WindowShape twoRunsPerRow(35, 30);  // a U: the rows' extents bridge the gap
    twoRunsPerRow.addRect(0, 0, 10, 30);
    twoRunsPerRow.addRect(25, 0, 35, 30);
    twoRunsPerRow.addRect(0, 25, 35, 30);
    const std::vector<std::pair<const char*, WindowShape>> shapes = {
        {"rectangle", WindowShape::Rectangle(40, 30)},
        {"rounded rectangle", RoundedShape(60, 44, 20)},
        {"L", lShape},
        {"U", twoRunsPerRow},
        {"1x1", WindowShape::Rectangle(1, 1)},
        {"3x2", WindowShape::Rectangle(3, 2)},
        {"0x0", WindowShape::Rectangle(0, 0)},
        {"no pixels", WindowShape(20, 10)},
    };
    const std::vector<ShadowLook> looks = {
        Look(0, 5),                          // the defaults
        Look(8, 3, 200, 3, 4),               // size > sharpness: a solid part
        Look(2, 6, 150, -4, 6),              // size < sharpness
        Look(0, 0, 150, 1, 1),               // sharpness 0: stamps of one pixel
        Look(-3, 5, 150, 2, -2),             // negative size
        Look(-2, 0),                         //
        Look(0, 20, 180, 20, -20),           // the widest soft edge
        Look(25, 20, 150, -20, 20),          //
        Look(4, 4, 0),                       // darkness 0
        Look(3, 7, 255, 0, 0, 0x003264C8),   // darkness 255, a colour, no offset
        Look(10, 2, 90, -7, 3, 0x00FFFFFF),  //
    };
    for (const auto& [name, shape] : shapes) {
        for (const ShadowLook& look : looks) {
            SCOPED_TRACE(std::string(name) + ", " + Describe(look));
            const std::vector<uint32_t> expected = NaiveShadow(shape, look);
            const std::vector<uint32_t> actual = FastShadow(shape, look);
            ASSERT_EQ(actual.size(), expected.size());
            for (size_t i = 0; i < expected.size(); ++i) {
                const int width = shape.width() + 2 * look.size;
                ASSERT_EQ(actual[i], expected[i]) << "pixel " << i % width << "," << i / width;
            }
        }
    }
}

TEST(WindowShapes, RegionsBecomeTheirPixelsClippedToTheWindow)
{
    Region round(CreateRoundRectRgn(0, 0, 61, 45, 20, 20));
    const WindowShape shape = ShapeFromRegion(round.get(), 60, 44);
    ASSERT_EQ(shape.width(), 60);
    ASSERT_EQ(shape.height(), 44);
    for (int y = 0; y < 44; ++y) {
        for (int x = 0; x < 60; ++x) {
            bool inside = false;
            for (const PixelRun& run : shape.row(y)) inside |= x >= run.left && x < run.right;
            EXPECT_EQ(inside, PtInRegion(round.get(), x, y) != FALSE) << x << "," << y;
        }
    }

    Region wide(CreateRectRgn(-10, 5, 100, 8));
    const WindowShape clipped = ShapeFromRegion(wide.get(), 50, 6);
    ASSERT_EQ(clipped.row(5).size(), 1u);
    EXPECT_EQ(clipped.row(5)[0].left, 0);
    EXPECT_EQ(clipped.row(5)[0].right, 50);
    EXPECT_TRUE(clipped.row(4).empty());

    Region empty(CreateRectRgn(0, 0, 0, 0));
    const WindowShape none = ShapeFromRegion(empty.get(), 30, 20);
    for (int y = 0; y < 20; ++y) EXPECT_TRUE(none.row(y).empty());
    EXPECT_TRUE(ShapeFromRegion(nullptr, 30, 20).row(0).empty()) << "no region: no pixels";
}
