// CProgressUI: the filled part for a value (the installer's 35 of 0..100 over 1217 pixels),
// empty ranges, values at the ends of int that must not overflow, the vertical bar, and the
// clamping of "value" by the attributes applied before it.
#include "tests/ui/controls/control_scene.h"
#include "tests/ui/render/canvas.h"
#include "ui/controls/progress_ui.h"
#include "ui/core/ui_manager.h"

#include <gtest/gtest.h>

#include <climits>

namespace SkinUI {
namespace {

using Testing::ColorImage;
using Testing::ControlScene;

constexpr uint32_t kFill = 0x00FF00;

// The width of the green run along row `y` from x = 0.
int FilledColumns(ControlScene& scene, int y, int width)
{
    int x = 0;
    while (x < width && scene.Pixel(x, y) == kFill) ++x;
    return x;
}

TEST(Progress, DefaultsAndClassName)
{
    ControlScene scene;
    auto* bar = scene.Add<CProgressUI>({0, 0, 100, 12});
    EXPECT_EQ(L"Progress", bar->GetClassName());
    EXPECT_EQ(bar, bar->QueryInterface(L"Label"));
    ControlPtr fresh = MakeControl<CProgressUI>();
    auto* defaults = static_cast<CProgressUI*>(fresh.get());
    EXPECT_EQ(12, defaults->GetRequestedHeight());
    EXPECT_EQ(UINT(DT_CENTER | DT_SINGLELINE), defaults->GetTextStyle());
    EXPECT_TRUE(defaults->IsHorizontal());
    EXPECT_EQ(0, defaults->GetMinValue());
    EXPECT_EQ(100, defaults->GetMaxValue());
    EXPECT_EQ(0, defaults->GetValue());
}

TEST(Progress, ThirtyFivePercentOfTheInstallersBarFills425Pixels)
{
    ControlScene scene(1217, 60);
    scene.Add<CProgressUI>({0, 10, 1217, 49},
                           L"value=\"35\" foreimage=\"" + ColorImage(0xFF00FF00) + L"\"");
    EXPECT_EQ(425, FilledColumns(scene, 30, 1217)) << "1217 x 35 / 100, truncated";
    EXPECT_EQ(0x000000u, scene.Pixel(425, 30));
    EXPECT_EQ(0x000000u, scene.Pixel(10, 5)) << "only the control's own rows";
}

TEST(Progress, FilledPartArithmeticIsExactAndCannotOverflow)
{
    auto width = [](int w, int min, int max, int value) {
        return CProgressUI::FilledPart(w, 10, true, min, max, value).right;
    };
    EXPECT_EQ(425, width(1217, 0, 100, 35));
    // Above about 1.76 million the product of a 32-bit int would overflow at 1217 pixels.
    EXPECT_EQ(1216, width(1217, 0, 2000000, 1999999));
    EXPECT_EQ(608, width(1217, 0, INT_MAX, INT_MAX / 2));
    EXPECT_EQ(608, width(1217, INT_MIN, INT_MAX, 0));
    EXPECT_EQ(1217, width(1217, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_EQ(0, width(1217, 50, 50, 50)) << "an empty range counts as min..min + 1";
    EXPECT_EQ(1217, width(1217, 50, 50, 51));
    EXPECT_EQ(1217, width(1217, INT_MAX, INT_MAX, INT_MAX)) << "min + 1 past INT_MAX";
    EXPECT_EQ(0, width(1217, 0, 100, -5)) << "clamped";
    EXPECT_EQ(1217, width(1217, 0, 100, 500));

    const RECT vertical = CProgressUI::FilledPart(20, 300, false, 0, 100, 35);
    EXPECT_EQ(195, vertical.top) << "filled from the bottom: 300 x 65 / 100";
    EXPECT_EQ(300, vertical.bottom);
    EXPECT_EQ(20, vertical.right);
    EXPECT_EQ(0, CProgressUI::FilledPart(20, 300, false, INT_MIN, INT_MAX, INT_MAX).top);
}

TEST(Progress, AnEmptyRangeIsStoredAsMinToMinPlusOneWhenDrawn)
{
    ControlScene scene(200, 40);
    auto* bar = scene.Add<CProgressUI>({0, 0, 200, 20}, L"min=\"50\" max=\"50\" foreimage=\"" +
                                                            ColorImage(0xFF00FF00) + L"\"");
    scene.Pixel(0, 0);
    EXPECT_EQ(51, bar->GetMaxValue());
    EXPECT_EQ(50, bar->GetValue()) << "0 clamped into 50..51";
    EXPECT_EQ(0, FilledColumns(scene, 10, 200));
    bar->SetValue(51);
    EXPECT_EQ(200, FilledColumns(scene, 10, 200));

    bar->SetMinValue(INT_MAX);
    bar->SetMaxValue(INT_MAX);
    scene.Pixel(0, 0);
    EXPECT_EQ(INT_MAX - 1, bar->GetMinValue());
    EXPECT_EQ(INT_MAX, bar->GetMaxValue());
}

TEST(Progress, ValueIsClampedWhenSetSoTheAttributeOrderMatters)
{
    ControlScene scene;
    auto* early = scene.Add<CProgressUI>({0, 0, 100, 12}, L"value=\"150\" max=\"200\"");
    EXPECT_EQ(100, early->GetValue()) << "clamped to the maximum of the time";
    auto* late = scene.Add<CProgressUI>({0, 20, 100, 32}, L"max=\"200\" value=\"150\"");
    EXPECT_EQ(150, late->GetValue());
    late->ApplyAttribute(L"value", L"-4");
    EXPECT_EQ(0, late->GetValue());
}

TEST(Progress, AVerticalBarFillsFromTheBottom)
{
    ControlScene scene(100, 220);
    scene.Add<CProgressUI>({10, 10, 30, 210}, L"hor=\"false\" value=\"25\" foreimage=\"" +
                                                  ColorImage(0xFF00FF00) + L"\"");
    EXPECT_EQ(0x000000u, scene.Pixel(20, 159)) << "the empty top three quarters";
    EXPECT_EQ(kFill, scene.Pixel(20, 160));
    EXPECT_EQ(kFill, scene.Pixel(20, 209));
}

}  // namespace
}  // namespace SkinUI
