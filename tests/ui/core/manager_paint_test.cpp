// Painting, read back as pixels: through the print path (PrintWindow), the layered frame the
// manager hands to the system, and the screen; GDI objects stay flat over many repaints.
#include "tests/ui/core/recording_control.h"
#include "tests/ui/gdi_object_count.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "tests/ui/core/test_window.h"

#include <gtest/gtest.h>

using namespace SkinUI;
using namespace SkinUI::Testing;
using SkinUITest::GdiObjectCount;

namespace {

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    COLORREF pixel = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

// A root with the given attributes and children with theirs, floating at their rectangles.
CControlUI* Build(TestWindow& window, const std::wstring& rootAttributes,
                  const std::vector<std::pair<RECT, std::wstring>>& children)
{
    auto root = MakeControl<CHorizontalLayoutUI>();
    root->ApplyAttributeList(rootAttributes);
    auto* container = static_cast<CHorizontalLayoutUI*>(root.get());
    for (const auto& [rect, attributes] : children) {
        ControlPtr child = MakeControl<CControlUI>();
        child->ApplyAttributeList(attributes);
        FloatAt(*child, rect);
        container->AddChild(std::move(child));
    }
    CControlUI* raw = root.get();
    window.manager().AttachRoot(std::move(root));
    return raw;
}

constexpr COLORREF kRootRgb = 0x202020;

// A pixel of the last layered frame (looked up afresh: a relayout makes a new bitmap).
uint32_t FramePixel(TestWindow& window, int x, int y)
{
    const DibSection& frame = window.manager().OffscreenPixels();
    return frame.pixels[size_t(y) * frame.width + x];
}

}  // namespace

TEST(ManagerPaint, PrintPathShowsBackgroundGradientRoundCornersAndBorderSides)
{
    TestWindow window(20, 20, 240, 120);
    Build(window, L"bkcolor=\"#FF202020\"",
          {{{0, 0, 50, 50}, L"bkcolor=\"#FFFF0000\""},
           {{60, 0, 110, 100}, L"bkcolor=\"#FF0000FF\" bkcolor2=\"#FF00FF00\""},
           {{120, 0, 170, 50}, L"bkcolor=\"#FFFFFF00\" borderround=\"30,30\""},
           {{180, 0, 230, 50},
            L"bkcolor=\"#FFFFFFFF\" bordercolor=\"#FF00FFFF\" bordersize=\"4,0,0,6\""}});
    window.PaintNow();
    std::vector<COLORREF> pixels = window.PrintClient();
    auto at = [&](int x, int y) { return window.PrintedPixel(pixels, x, y); };
    EXPECT_EQ(at(25, 25), 0xFF0000u) << "background colour";
    EXPECT_EQ(at(55, 60), kRootRgb) << "the root's own background between controls";
    // Vertical gradient from blue at the top to green at the bottom.
    EXPECT_GT(at(85, 2) & 0xFF, 0xC0u);
    EXPECT_LT((at(85, 2) >> 8) & 0xFF, 0x40u);
    EXPECT_GT((at(85, 97) >> 8) & 0xFF, 0xC0u);
    EXPECT_LT(at(85, 97) & 0xFF, 0x40u);
    EXPECT_EQ(at(145, 25), 0xFFFF00u) << "inside the round corners";
    EXPECT_EQ(at(121, 1), kRootRgb) << "cut off by the round corner";
    EXPECT_EQ(at(168, 48), kRootRgb);
    // Left side 4 pixels, bottom 6, top and right none.
    EXPECT_EQ(at(181, 25), 0x00FFFFu) << "left border";
    EXPECT_EQ(at(205, 47), 0x00FFFFu) << "bottom border";
    EXPECT_EQ(at(205, 1), 0xFFFFFFu) << "no top border";
    EXPECT_EQ(at(228, 25), 0xFFFFFFu) << "no right border";
}

TEST(ManagerPaint, ShowDirtyOutlinesThePaintedAreaOnTheScreen)
{
    // Read from the screen: topmost, above windows of tests running beside this one.
    TestWindow window(300, 20, 200, 100, WS_EX_TOPMOST);
    Build(window, L"bkcolor=\"#FF0000FF\"", {});
    window.manager().ApplyWindowAttribute(L"showdirty", L"true");
    window.PaintNow();
    window.manager().InvalidateArea({20, 30, 80, 70});
    window.PaintNow();
    Pump(50);  // under Wine the window's pixels reach the display as its messages run
    EXPECT_EQ(ScreenPixel(300 + 20, 20 + 50), RGB(220, 0, 0)) << "left edge of the area";
    EXPECT_EQ(ScreenPixel(300 + 50, 20 + 30), RGB(220, 0, 0)) << "top edge";
    EXPECT_EQ(ScreenPixel(300 + 50, 20 + 50), RGB(0, 0, 255)) << "no fill";
}

// Controls drawn with GDI leave alpha 0; a native child printed into the frame must not
// become see-through, not even its black text.
TEST(ManagerPaint, LayeredFrameMakesNativeChildrenOpaqueAndClearsTheRest)
{
    TestWindow window(20, 200, 200, 100);
    CControlUI* root = Build(window, L"", {{{10, 10, 60, 60}, L"bkcolor=\"#FF00FF00\""}});
    window.manager().ApplyWindowAttribute(L"layeredimage", L"");
    ASSERT_TRUE(window.manager().IsLayered());
    HWND edit = CreateWindowExW(0, L"EDIT", L"Black text", WS_CHILD | WS_VISIBLE, 130, 10, 60, 30,
                                window.hwnd(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(window.manager().AddChildWindow(root, edit));
    EXPECT_FALSE(window.manager().AddChildWindow(root, edit)) << "listed once";
    window.PaintNow();
    window.manager().InvalidateAll();
    window.PaintNow();
    ASSERT_TRUE(window.manager().OffscreenPixels());
    auto px = [&](int x, int y) { return FramePixel(window, x, y); };
    EXPECT_EQ(px(30, 30) & 0xFFFFFF, 0x00FF00u) << "the control";
    EXPECT_EQ(px(5, 5), 0u) << "nothing drawn: transparent";
    int holes = 0;
    for (int y = 10; y < 40; ++y)
        for (int x = 130; x < 190; ++x) holes += (px(x, y) >> 24) != 0xFF ? 1 : 0;
    EXPECT_EQ(holes, 0) << "every pixel of the edit box is opaque, its black text too";
    DestroyWindow(edit);
}

// The layered image gives the frame its alpha: colours scaled by it, alpha replaced by it.
// Every frame starts clear, also under a layered image.
TEST(ManagerPaint, LayeredImageGivesPerPixelAlphaAndEveryFrameStartsClear)
{
    const std::wstring image = WriteTestImage(L"manager_layered.bmp", 200, 100, [](int x, int) {
        return x < 100 ? 0xFF000000u : 0x80000000u;
    });
    TestWindow window(20, 320, 200, 100);
    CControlUI* root = Build(window, L"", {{{0, 0, 200, 50}, L"bkcolor=\"#FFFFFFFF\""}});
    window.manager().ApplyWindowAttribute(L"layeredimage", image);
    window.PaintNow();
    window.manager().InvalidateAll();
    window.PaintNow();
    ASSERT_TRUE(window.manager().OffscreenPixels());
    auto px = [&](int x, int y) { return FramePixel(window, x, y); };
    EXPECT_EQ(px(50, 25), 0xFFFFFFFFu) << "opaque half";
    EXPECT_NEAR(double(px(150, 25) >> 24), 128.0, 1.0) << "translucent half";
    EXPECT_NEAR(double(px(150, 25) & 0xFF), 128.0, 1.0) << "colours scaled by the alpha";
    EXPECT_EQ(px(50, 75), 0xFF000000u) << "nothing drawn below: black at the image's alpha";

    // Repainted without a layout: what lay under a translucent colour must be gone.
    static_cast<CHorizontalLayoutUI*>(root)->ChildAt(0)->SetBkColor(0x40FFFFFF);
    window.PaintNow();
    EXPECT_LT(px(50, 25) & 0xFF, 0x80u) << "a quarter of white over a cleared frame";
    EXPECT_EQ(px(50, 25) >> 24, 0xFFu);
}

// "opacity" first makes the window translucent with constant alpha; a layered image then
// must still reach the screen through UpdateLayeredWindow.
TEST(ManagerPaint, LayeredModeAfterOpacityStillReachesTheScreen)
{
    // Opaque but for one corner pixel: an image with an alpha channel gives the frame its alpha.
    const std::wstring image = WriteTestImage(L"manager_opaque.bmp", 100, 60, [](int x, int y) {
        return x + y == 0 ? 0x80000000u : 0xFF000000u;
    });
    // Read from the screen: topmost, above windows of tests running beside this one.
    TestWindow window(250, 200, 100, 60, WS_EX_TOPMOST);
    Build(window, L"bkcolor=\"#FFFF0000\"", {});
    window.manager().ApplyWindowAttribute(L"opacity", L"200");
    EXPECT_FALSE(window.manager().IsLayered());
    EXPECT_NE(GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    window.manager().ApplyWindowAttribute(L"layeredimage", image);
    ASSERT_TRUE(window.manager().IsLayered());
    window.PaintNow();
    window.manager().InvalidateAll();
    window.PaintNow();
    // Xvfb shows layered pixels opaque: red (dimmed by the opacity of 200) only if the
    // layered frame arrived.
    const COLORREF shown = ScreenPixel(250 + 50, 200 + 30);
    EXPECT_NEAR(double(GetRValue(shown)), 200.0, 8.0) << std::hex << shown;
    EXPECT_EQ(shown & 0xFFFF00, 0u) << std::hex << shown;
}

TEST(ManagerPaint, LayeredTimerPaintsOnlyWhatIsDirty)
{
    TestWindow window(400, 200, 100, 60);
    CallLog log;
    auto root = MakeControl<RecordingControl>(log, L"root");
    window.manager().AttachRoot(std::move(root));
    window.manager().ApplyWindowAttribute(L"layeredimage", L"");
    Pump(100);
    log.calls.clear();
    Pump(100);
    EXPECT_TRUE(log.CallsStartingWith(L"root PaintTo").empty()) << "nothing dirty, no paint";
    window.manager().InvalidateArea({0, 0, 10, 10});
    const DWORD start = GetTickCount();
    while (log.CallsStartingWith(L"root PaintTo").empty() && GetTickCount() - start < 1000) Pump(5);
    EXPECT_LT(GetTickCount() - start, 200u) << "the 10 ms timer paints soon";
    EXPECT_EQ(log.CallsStartingWith(L"root PaintTo").size(), 1u);
}

TEST(ManagerPaint, GdiObjectsStayFlatOverRepaintsAndControlLifetimes)
{
    TestWindow window(20, 400, 300, 150);
    CControlUI* root = Build(window, L"bkcolor=\"#FF336699\"",
                             {{{0, 0, 100, 100}, L"bkcolor=\"#FFFF0000\" borderround=\"8,8\""},
                              {{100, 0, 200, 100}, L"bkcolor=\"#FF00FF00\" bkcolor2=\"#FF0000FF\""},
                              {{200, 0, 300, 100}, L"bordercolor=\"#FF000000\" bordersize=\"2\""}});
    window.manager().ApplyWindowAttribute(L"showdirty", L"true");
    window.PaintNow();
    const DWORD before = GdiObjectCount();
    for (int i = 0; i < 1000; ++i) {
        window.manager().InvalidateAll();
        window.PaintNow();
    }
    EXPECT_EQ(GdiObjectCount(), before) << "1,000 repaints";
    for (int i = 0; i < 100; ++i) {
        ControlPtr overlay = MakeControl<CControlUI>();
        overlay->ApplyAttributeList(L"bkcolor=\"#80FFFFFF\" borderround=\"4,4\" tooltip=\"t\"");
        FloatAt(*overlay, {10, 10, 50, 50});
        root->SetOverlay(std::move(overlay));
        window.manager().InvalidateAll();
        window.PaintNow();
    }
    root->SetOverlay(nullptr);
    window.PaintNow();
    EXPECT_EQ(GdiObjectCount(), before) << "100 controls made, painted and destroyed";
}
