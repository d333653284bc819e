// The computed drop shadow; see shadow_bitmap.h.
//
// Stamping the kernel on every pixel of every row costs width x height x (2r + 1)^2. Since the
// kernel only falls with distance, the largest stamped alpha at a pixel is the kernel at the
// distance to the nearest stamped pixel, and that is found by looking at the rows within r,
// nearest first, stopping once no farther row can be nearer: inside the shadow one row
// decides.
#include "ui/window/shadow_bitmap.h"

#include <algorithm>
#include <cmath>

namespace SkinUI {
namespace {

// The first and last stamped pixel of one window row; none when first > last.
struct StampedSpan {
    int first = 1;
    int last = 0;
    bool empty() const { return first > last; }
};

int KernelRadius(const ShadowLook& look)
{
    return std::max<int>(look.size, look.sharpness);
}

int SolidRadius(const ShadowLook& look)
{
    return std::max(look.size - look.sharpness, 0);
}

// floor(sqrt(n)), exact for every n.
uint64_t IntegerSquareRoot(uint64_t n)
{
    auto root = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
    while (root * root > n) --root;
    while ((root + 1) * (root + 1) <= n) ++root;
    return root;
}

uint32_t PremultipliedPixel(uint32_t color, uint8_t alpha)
{
    const uint32_t red = color & 0xFF;
    const uint32_t green = (color >> 8) & 0xFF;
    const uint32_t blue = (color >> 16) & 0xFF;
    return uint32_t{alpha} << 24 | (red * alpha / 255) << 16 | (green * alpha / 255) << 8 |
           (blue * alpha / 255);
}

// The shadow pixel for every squared distance 0 .. radius^2.
std::vector<uint32_t> KernelPixels(const ShadowLook& look, int radius)
{
    std::vector<uint32_t> pixels(static_cast<size_t>(radius) * radius + 1);
    for (size_t q = 0; q < pixels.size(); ++q)
        pixels[q] = PremultipliedPixel(look.color, ShadowKernelAlpha(look, static_cast<int>(q)));
    return pixels;
}

// Each window row's extent, shrunk by sharpness - size when the sharpness is larger, in the
// shadow bitmap's columns.
std::vector<StampedSpan> StampedSpans(const WindowShape& shape, const ShadowLook& look)
{
    const int shrink = std::max(look.sharpness - look.size, 0);
    std::vector<StampedSpan> spans(static_cast<size_t>(shape.height()));
    for (int y = 0; y < shape.height(); ++y) {
        const std::vector<PixelRun>& runs = shape.row(y);
        if (runs.empty()) continue;
        int left = runs.front().left, right = runs.front().right;
        for (const PixelRun& run : runs) {
            left = std::min(left, run.left);
            right = std::max(right, run.right);
        }
        spans[static_cast<size_t>(y)] = {left + shrink + look.size, right - 1 - shrink + look.size};
    }
    return spans;
}

// Squared distance from (x, y) of the bitmap to the nearest stamped pixel, or more than
// radius^2 when none is within the radius.
int NearestStampSquared(int x, int y, const std::vector<StampedSpan>& spans, int size, int radius)
{
    const int rows = static_cast<int>(spans.size());
    const int windowRow = y - size;  // the window row whose stamps are centred on bitmap row y
    int nearest = radius * radius + 1;
    for (int dy = 0; dy <= radius && dy * dy < nearest; ++dy) {
        for (int row : {windowRow - dy, windowRow + dy}) {
            if (row < 0 || row >= rows) continue;
            const StampedSpan& span = spans[static_cast<size_t>(row)];
            if (span.empty()) continue;
            const int dx = x < span.first ? span.first - x : x > span.last ? x - span.last : 0;
            if (dx <= radius) nearest = std::min(nearest, dx * dx + dy * dy);
        }
    }
    return nearest;
}

// No computed pixel has this value: a premultiplied pixel with alpha 0 is 0.
constexpr uint32_t kOverWindow = 1;

// Marks the pixels of bitmap row y that lie over the window with kOverWindow.
void MarkOverWindow(const WindowShape& shape, const ShadowLook& look, int y, uint32_t* row,
                    int width)
{
    const int windowRow = y + look.yOffset - look.size;
    if (windowRow < 0 || windowRow >= shape.height()) return;
    const int shift = look.size - look.xOffset;  // window column -> bitmap column
    for (const PixelRun& run : shape.row(windowRow)) {
        const int from = std::max(run.left + shift, 0);
        const int to = std::min(run.right + shift, width);
        if (from < to) std::fill(row + from, row + to, kOverWindow);
    }
}

}  // namespace

WindowShape::WindowShape(int width, int height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_rows(static_cast<size_t>(m_height))
{
}

WindowShape WindowShape::Rectangle(int width, int height)
{
    WindowShape shape(width, height);
    shape.addRect(0, 0, width, height);
    return shape;
}

void WindowShape::addRect(int left, int top, int right, int bottom)
{
    left = std::max(left, 0);
    right = std::min(right, m_width);
    if (left >= right) return;
    for (int y = std::max(top, 0); y < std::min(bottom, m_height); ++y)
        m_rows[static_cast<size_t>(y)].push_back({left, right});
}

ShadowBitmapSize ComputedShadowSize(int windowWidth, int windowHeight, int8_t size)
{
    return {windowWidth + 2 * size, windowHeight + 2 * size};
}

uint8_t ShadowKernelAlpha(const ShadowLook& look, int distanceSquared)
{
    const int radius = KernelRadius(look);
    if (distanceSquared < 0 || distanceSquared > radius * radius) return 0;
    const uint64_t distance256 = IntegerSquareRoot(uint64_t(distanceSquared) << 16);
    const uint64_t solid256 = uint64_t(SolidRadius(look)) << 8;
    if (distance256 < solid256) return look.darkness;
    // d - s <= sharpness inside the radius, so the factor stays positive.
    const uint64_t soft256 = uint64_t(look.sharpness + 1) << 8;
    return static_cast<uint8_t>(look.darkness * (soft256 - (distance256 - solid256)) / soft256);
}

void ComputeShadow(const WindowShape& shape, const ShadowLook& look, uint32_t* pixels)
{
    const ShadowBitmapSize bitmap = ComputedShadowSize(shape.width(), shape.height(), look.size);
    if (bitmap.empty()) return;
    const int radius = KernelRadius(look);
    const std::vector<uint32_t> kernel = KernelPixels(look, radius);
    const std::vector<StampedSpan> spans = StampedSpans(shape, look);
    for (int y = 0; y < bitmap.height; ++y) {
        uint32_t* row = pixels + static_cast<size_t>(y) * bitmap.width;
        std::fill(row, row + bitmap.width, 0u);
        MarkOverWindow(shape, look, y, row, bitmap.width);  // usually most of the bitmap
        for (int x = 0; x < bitmap.width; ++x) {
            if (row[x] == kOverWindow) {
                row[x] = 0;
                continue;
            }
            const int nearest = NearestStampSquared(x, y, spans, look.size, radius);
            if (nearest <= radius * radius) row[x] = kernel[static_cast<size_t>(nearest)];
        }
    }
}

}  // namespace SkinUI
