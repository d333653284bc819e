// The computed drop shadow as a pure function: a window's shape and the shadow's look in,
// premultiplied ARGB pixels out. No system calls, so every pixel can be checked directly
// (layered windows are not composited on every display a test runs on).
#pragma once

#include <cstdint>
#include <vector>

namespace SkinUI {

// The pixels left .. right - 1 of one row.
struct PixelRun {
    int left;
    int right;
};

// Which pixels of a window (width x height, origin at its top-left) belong to it, row by row.
class WindowShape {
public:
    // A window of that size (negative counts as 0) with no pixels yet.
    WindowShape(int width, int height);
    // The whole rectangle of a window of that size.
    static WindowShape Rectangle(int width, int height);

    // Adds the pixels of a rectangle (right and bottom exclusive), clipped to the window.
    void addRect(int left, int top, int right, int bottom);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // The runs of row y (0 <= y < height), in the order they were added; they may overlap.
    const std::vector<PixelRun>& row(int y) const { return m_rows[static_cast<size_t>(y)]; }

private:
    int m_width;
    int m_height;
    std::vector<std::vector<PixelRun>> m_rows;
};

// How the computed shadow looks.
struct ShadowLook {
    uint8_t darkness = 150;  // alpha of the solid part
    uint8_t sharpness = 5;   // width of the soft edge (0-20)
    int8_t size = 0;         // growth beyond the window outline; negative shrinks
    int8_t xOffset = 5;      // shift of the shadow from the window's top-left
    int8_t yOffset = 5;
    uint32_t color = 0;  // 0x00BBGGRR, as RGB() makes it
};

struct ShadowBitmapSize {
    int width;
    int height;
    bool empty() const { return width <= 0 || height <= 0; }
};

// The computed shadow's bitmap for a window of that size: the window grown by `size` on each
// side. Empty (a dimension 0 or less) when there is nothing to draw.
ShadowBitmapSize ComputedShadowSize(int windowWidth, int windowHeight, int8_t size);

// The alpha of the round kernel stamped along the window's rows, at squared distance
// `distanceSquared` from its centre. With radius r = max(size, sharpness), solid radius
// s = max(size - sharpness, 0) and distance d: darkness for d < s; for s <= d <= r
// darkness * (1 - (d - s) / (sharpness + 1)), with d taken in 1/256 pixel steps (rounded
// down) and the product rounded down; 0 beyond r.
uint8_t ShadowKernelAlpha(const ShadowLook& look, int distanceSquared);

// Writes the shadow of `shape` into `pixels` (ComputedShadowSize words, row 0 at the top,
// premultiplied ARGB; nothing when that size is empty). Every pixel is written and nothing
// outside. The shadow bitmap's pixel (x, y) lies over the window's pixel
// (x + xOffset - size, y + yOffset - size).
//
// Each row's extent (its leftmost to its rightmost pixel) is shrunk by sharpness - size on
// both sides when sharpness exceeds size (a row shrunk to nothing stamps nothing), and the
// kernel stamped on every pixel of it keeps the largest alpha. Pixels over the window itself
// stay 0: the shadow window lies above its owner and would darken it.
void ComputeShadow(const WindowShape& shape, const ShadowLook& look, uint32_t* pixels);

}  // namespace SkinUI
