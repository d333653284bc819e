// Drop shadow figures: the computed shadow of the options window's size (1124x557) with the
// default look and with a sharpness of 20, each beside stamping the kernel on every row span
// (the tests' reference), timed in the same run.
#include "tests/ui/window/naive_shadow.h"
#include "ui/window/shadow_bitmap.h"

#include <chrono>
#include <cstdio>
#include <vector>

using namespace SkinUI;

namespace {

using Clock = std::chrono::steady_clock;

// Mean milliseconds of `runs` calls of `work`.
template <typename Work>
double MeanMilliseconds(int runs, Work&& work)
{
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / runs;
}

// Prints the figures of one look; false when the two ways give different pixels.
bool CompareShadows(const WindowShape& window, const ShadowLook& look)
{
    const ShadowBitmapSize size = ComputedShadowSize(window.width(), window.height(), look.size);
    std::vector<uint32_t> fast(static_cast<size_t>(size.width) * size.height);

    const double fastMs = MeanMilliseconds(20, [&] { ComputeShadow(window, look, fast.data()); });
    std::vector<uint32_t> naive;
    const double naiveMs =
        MeanMilliseconds(3, [&] { naive = SkinUITest::NaiveShadow(window, look); });

    std::printf("shadow %dx%d, darkness %d, sharpness %d, size %d:\n", size.width, size.height,
                look.darkness, look.sharpness, look.size);
    std::printf("  computed:          %8.2f ms (mean of 20)\n", fastMs);
    std::printf("  stamping the rows: %8.2f ms (mean of 3), %.0fx the computed\n", naiveMs,
                naiveMs / fastMs);
    if (naive != fast) {
        std::printf("  the pixels differ\n");
        return false;
    }
    std::printf("  same pixels\n");
    return true;
}

}  // namespace

int wmain()
{
    const WindowShape window = WindowShape::Rectangle(1124, 557);
    ShadowLook look;  // darkness 150, sharpness 5, size 0, offsets 5, 5
    const bool defaults = CompareShadows(window, look);
    look.sharpness = 20;
    return defaults && CompareShadows(window, look) ? 0 : 1;
}
