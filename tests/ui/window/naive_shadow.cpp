// The stamping reference; see naive_shadow.h.
#include "tests/ui/window/naive_shadow.h"

#include <algorithm>

using namespace SkinUI;

namespace SkinUITest {
namespace {

uint32_t Premultiply(uint32_t color, uint32_t alpha)
{
    const uint32_t red = (color & 0xFF) * alpha / 255;
    const uint32_t green = ((color >> 8) & 0xFF) * alpha / 255;
    const uint32_t blue = ((color >> 16) & 0xFF) * alpha / 255;
    return alpha << 24 | red << 16 | green << 8 | blue;
}

bool InsideWindow(const WindowShape& shape, int x, int y)
{
    if (y < 0 || y >= shape.height()) return false;
    for (const PixelRun& run : shape.row(y))
        if (x >= run.left && x < run.right) return true;
    return false;
}

}  // namespace

std::vector<uint32_t> NaiveShadow(const WindowShape& shape, const ShadowLook& look)
{
    const int width = shape.width() + 2 * look.size;
    const int height = shape.height() + 2 * look.size;
    if (width <= 0 || height <= 0) return {};
    const int radius = std::max<int>(look.size, look.sharpness);
    const int shrink = std::max(look.sharpness - look.size, 0);
    const int side = 2 * radius + 1;
    std::vector<uint8_t> stamp(static_cast<size_t>(side) * side);
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            stamp[static_cast<size_t>(dy + radius) * side + dx + radius] =
                ShadowKernelAlpha(look, dx * dx + dy * dy);

    std::vector<uint8_t> alpha(static_cast<size_t>(width) * height);
    for (int y = 0; y < shape.height(); ++y) {
        const std::vector<PixelRun>& runs = shape.row(y);
        if (runs.empty()) continue;
        int left = runs[0].left, right = runs[0].right;
        for (const PixelRun& run : runs) {
            left = std::min(left, run.left);
            right = std::max(right, run.right);
        }
        for (int x = left + shrink; x <= right - 1 - shrink; ++x) {
            const int cx = x + look.size, cy = y + look.size;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    const int px = cx + dx, py = cy + dy;
                    if (px < 0 || px >= width || py < 0 || py >= height) continue;
                    uint8_t& target = alpha[static_cast<size_t>(py) * width + px];
                    target = std::max(target,
                                      stamp[static_cast<size_t>(dy + radius) * side + dx + radius]);
                }
            }
        }
    }

    std::vector<uint32_t> pixels(alpha.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            const bool covered =
                InsideWindow(shape, x + look.xOffset - look.size, y + look.yOffset - look.size);
            pixels[i] = covered ? 0 : Premultiply(look.color, alpha[i]);
        }
    }
    return pixels;
}

}  // namespace SkinUITest
