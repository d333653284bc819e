// Control tree figures: a full repaint of a 1124x557 tree (a background image and 18 floating
// controls with images, colours and borders) into a 32-bit bitmap, beside a plain BitBlt of
// the same size measured in the same run; and one layout pass of that tree. It prints the
// figures and fails only when the tree did not draw.
#include "tests/ui/core/test_container.h"
#include "tests/ui/render/canvas.h"
#include "ui/core/ui_manager.h"
#include "ui/render/resource_settings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 1124;
constexpr int kHeight = 557;
constexpr int kControls = 18;

// The median of `runs` timings of `work`, in milliseconds.
double MedianMilliseconds(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}

void WriteImages(const std::wstring& folder)
{
    SkinUITest::writeFile(folder + L"bk.png",
                          SkinUITest::encodePng(kWidth, kHeight, [](int x, int y) {
                              return 0xFF000000u | static_cast<uint32_t>((x & 0xFF) << 8 | y);
                          }));
    SkinUITest::writeFile(folder + L"icon.png", SkinUITest::encodePng(60, 40, [](int x, int) {
                              return (x < 30 ? 0x80FFFFFFu : 0xFFFF8000u);
                          }));
}

// The root with its background image and the 18 floating controls in three rows.
ControlPtr MakeTree(CUIManager& manager)
{
    ControlPtr owner = MakeControl<Testing::TestContainer>();
    auto& root = static_cast<Testing::TestContainer&>(*owner);
    root.SetWindowManager(&manager, nullptr, false);
    root.ApplyAttribute(L"bkimage", L"bk.png");
    for (int i = 0; i < kControls; ++i) {
        CControlUI& child = *root.Add(MakeControl<CControlUI>());
        child.SetWindowManager(&manager, &root, false);
        const int x = 20 + (i % 6) * 180;
        const int y = 40 + (i / 6) * 170;
        child.ApplyAttributeList(L"float=\"true\" pos=\"" + std::to_wstring(x) + L"," +
                                 std::to_wstring(y) + L"," + std::to_wstring(x + 160) + L"," +
                                 std::to_wstring(y + 120) +
                                 L"\" bkcolor=\"#80204060\" bordersize=\"1\" "
                                 L"bordercolor=\"#FFFFFFFF\" borderround=\"8,8\" "
                                 L"bkimage=\"file='icon.png' dest='10,10,70,50'\"");
    }
    return owner;
}

}  // namespace

int wmain()
{
    const std::wstring folder = SkinUITest::makeTempFolder();
    WriteImages(folder);
    SetResourceFolder(folder);
    CUIManager manager;
    ControlPtr root = MakeTree(manager);
    const RECT client = {0, 0, kWidth, kHeight};
    root->Place(client);

    SkinUITest::Canvas target(kWidth, kHeight, 0xFF000000);
    SkinUITest::Canvas source(kWidth, kHeight, 0xFF336699);
    const double first = MedianMilliseconds(1, [&] { root->PaintTo(target.dc(), client); });
    const double repaint = MedianMilliseconds(100, [&] { root->PaintTo(target.dc(), client); });
    const double blit = MedianMilliseconds(
        100, [&] { BitBlt(target.dc(), 0, 0, kWidth, kHeight, source.dc(), 0, 0, SRCCOPY); });
    const double layout = MedianMilliseconds(1000, [&] { root->Place(client, false); });

    std::printf("control tree %dx%d (background image and %d controls):\n", kWidth, kHeight,
                kControls);
    std::printf("  full repaint: first %.3f ms, then median %.3f ms\n", first, repaint);
    std::printf("  reference BitBlt of the same size: median %.3f ms\n", blit);
    std::printf("  layout pass: median %.4f ms\n", layout);

    // The last repaint must have drawn: the background image's pixel outside every control.
    root->PaintTo(target.dc(), client);
    const uint32_t pixel = SkinUITest::rgb(target.pixel(5, 3));
    if (pixel != 0x000503u) {
        std::printf("the tree did not draw its background (pixel 0x%06x)\n",
                    static_cast<unsigned>(pixel));
        return 1;
    }
    return 0;
}
