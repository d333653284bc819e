// CButtonUI: the state images and their fall-backs, the fade on its timer, five-state strips,
// the caption's state colours, activation by mouse and keys, and GDI objects over many hover
// cycles. Events are sent as the paint manager sends them; button_input_e2e.py drives the same
// behaviour with real X input.
#include "tests/ui/controls/control_scene.h"
#include "tests/ui/gdi_object_count.h"
#include "tests/ui/render/canvas.h"
#include "ui/controls/button_ui.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using Testing::ColorImage;
using Testing::ControlScene;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr POINT kInside = {30, 30};
constexpr POINT kOutside = {300, 150};

std::wstring Images(const std::wstring& normal, const std::wstring& hot, const std::wstring& pushed)
{
    return L"normalimage=\"" + normal + L"\" hotimage=\"" + hot + L"\" pushedimage=\"" + pushed +
           L"\"";
}

const std::wstring kThreeColours =
    Images(ColorImage(0xFFFF0000), ColorImage(0xFF00FF00), ColorImage(0xFF0000FF));

TEST(Button, IsAButtonWithCentredTextAndItsFlags)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>({10, 10, 60, 60});
    EXPECT_EQ(L"Button", button->GetClassName());
    EXPECT_EQ(button, button->QueryInterface(L"Button"));
    EXPECT_EQ(button, button->QueryInterface(L"Label"));
    EXPECT_EQ(button, button->QueryInterface(L"Control"));
    EXPECT_EQ(UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE), button->GetTextStyle());
    EXPECT_EQ(ControlFlagSetsCursor | ControlFlagTabStop, button->GetFlags());
    button->SetKeyboardEnabled(false);
    EXPECT_EQ(ControlFlagSetsCursor, button->GetFlags());
    button->SetEnabled(false);
    EXPECT_EQ(0u, button->GetFlags());

    button->ApplyAttribute(L"align", L"left");
    EXPECT_EQ(UINT(DT_VCENTER | DT_SINGLELINE), button->GetTextStyle()) << "left clears centre";
}

TEST(Button, EachStateShowsItsImageAndFallsBackToTheNormalOne)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>(
        {10, 10, 60, 60}, kThreeColours + L" focusedimage=\"" + ColorImage(0xFFFFFF00) +
                              L"\" disabledimage=\"" + ColorImage(0xFFFFFFFF) + L"\"");
    EXPECT_EQ(kRed, scene.Pixel(30, 30)) << "normal";
    scene.Send(*button, EventKind::MouseEnter, kInside);
    EXPECT_EQ(CButtonUI::StateHot, button->GetButtonState());
    EXPECT_EQ(kGreen, scene.Pixel(30, 30)) << "hot";
    scene.Send(*button, EventKind::ButtonDown, kInside);
    EXPECT_EQ(kBlue, scene.Pixel(30, 30)) << "pushed";
    scene.Send(*button, EventKind::ButtonUp, kInside);
    scene.Send(*button, EventKind::MouseLeave, kOutside);
    EXPECT_EQ(kRed, scene.Pixel(30, 30));
    button->SetFocus();
    EXPECT_EQ(kYellow, scene.Pixel(30, 30)) << "focused";
    button->SetEnabled(false);
    EXPECT_EQ(kWhite, scene.Pixel(30, 30)) << "disabled";

    // Images that cannot be loaded: the normal image instead.
    CButtonUI* missing =
        scene.Add<CButtonUI>({100, 10, 150, 60}, Images(ColorImage(0xFFFF0000), L"no-such-hot.png",
                                                        L"file='no-such-pushed.png'") +
                                                     L" disabledimage=\"no-such-disabled.png\"");
    scene.Send(*missing, EventKind::MouseEnter, {120, 30});
    EXPECT_EQ(kRed, scene.Pixel(120, 30)) << "hot image missing";
    scene.Send(*missing, EventKind::ButtonDown, {120, 30});
    EXPECT_EQ(kRed, scene.Pixel(120, 30)) << "pushed image missing";
    scene.Send(*missing, EventKind::ButtonUp, {120, 30});
    missing->SetEnabled(false);
    EXPECT_EQ(kRed, scene.Pixel(120, 30)) << "disabled image missing";
}

TEST(Button, ForegroundImagesAndTheHotBackgroundColourEndTheDrawing)
{
    ControlScene scene;
    // The foreground images cover the top half only.
    const std::wstring topHalf = L"dest='0,0,50,25'";
    CButtonUI* button = scene.Add<CButtonUI>(
        {10, 10, 60, 60}, kThreeColours + L" foreimage=\"color='#FFFFFFFF' " + topHalf +
                              L"\" hotforeimage=\"" + L"color='#FFFFFF00' " + topHalf + L"\"");
    EXPECT_EQ(kWhite, scene.Pixel(30, 15)) << "the control's foreground image";
    EXPECT_EQ(kRed, scene.Pixel(30, 50));
    scene.Send(*button, EventKind::MouseEnter, kInside);
    EXPECT_EQ(kYellow, scene.Pixel(30, 15)) << "the hot foreground image, not the control's";
    EXPECT_EQ(kGreen, scene.Pixel(30, 50));

    CButtonUI* colour =
        scene.Add<CButtonUI>({100, 10, 150, 60}, L"normalimage=\"" + ColorImage(0xFFFF0000) +
                                                     L"\" hotbkcolor=\"#FF0000FF\" foreimage=\"" +
                                                     ColorImage(0xFFFFFFFF) + L"\"");
    EXPECT_EQ(kWhite, scene.Pixel(120, 30));
    scene.Send(*colour, EventKind::MouseEnter, {120, 30});
    EXPECT_EQ(kBlue, scene.Pixel(120, 30)) << "hot background colour, no foreground image";
}

TEST(Button, PressDragOutAndReleaseGivesNoClickPressAndReleaseInsideGivesOne)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>({10, 10, 60, 60}, L"name=\"ok\" " + kThreeColours);
    scene.Send(*button, EventKind::ButtonDown, kInside);
    EXPECT_EQ(CButtonUI::StatePushed | CButtonUI::StateCaptured, button->GetButtonState());
    scene.Send(*button, EventKind::MouseMove, kOutside);
    EXPECT_EQ(CButtonUI::StateCaptured, button->GetButtonState()) << "dragged out: not pushed";
    EXPECT_EQ(kRed, scene.Pixel(30, 30));
    scene.Send(*button, EventKind::MouseMove, kInside);
    EXPECT_EQ(kBlue, scene.Pixel(30, 30)) << "dragged back in: pushed again";
    scene.Send(*button, EventKind::MouseMove, kOutside);
    scene.Send(*button, EventKind::ButtonUp, kOutside);
    EXPECT_EQ(0u, button->GetButtonState());
    EXPECT_TRUE(scene.notes.seen.empty());

    scene.Click(*button, kInside);
    EXPECT_EQ(scene.notes.Trace(), std::vector<std::wstring>{L"click:ok"});
    EXPECT_EQ(0u, button->GetButtonState());

    scene.Send(*button, EventKind::ButtonDown, kOutside);
    EXPECT_EQ(0u, button->GetButtonState()) << "a press outside is not taken";
    button->SetEnabled(false);
    scene.Click(*button, kInside);
    EXPECT_EQ(1u, scene.notes.seen.size()) << "a disabled button does not click";
}

TEST(Button, SpaceAndEnterActivateOtherKeysAndDisabledButtonsDoNot)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>({10, 10, 60, 60}, L"name=\"ok\"");
    scene.Send(*button, EventKind::KeyDown, {}, 0, VK_SPACE);
    scene.Send(*button, EventKind::KeyDown, {}, 0, VK_RETURN);
    scene.Send(*button, EventKind::KeyDown, {}, 0, L'A');
    EXPECT_EQ(2u, scene.notes.seen.size());
    button->SetKeyboardEnabled(false);
    scene.Send(*button, EventKind::KeyDown, {}, 0, VK_SPACE);
    button->SetKeyboardEnabled(true);
    button->SetEnabled(false);
    scene.Send(*button, EventKind::KeyDown, {}, 0, VK_RETURN);
    EXPECT_EQ(2u, scene.notes.seen.size());
    EXPECT_FALSE(button->Activate());
}

TEST(Button, ContextMenuNotifiesOnlyWithMenuSetAndEnabled)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>({10, 10, 60, 60}, L"name=\"ok\"");
    scene.Send(*button, EventKind::ContextMenu, kInside);
    button->SetUsesContextMenu(true);
    scene.Send(*button, EventKind::ContextMenu, kInside, 5);
    button->SetEnabled(false);
    scene.Send(*button, EventKind::ContextMenu, kInside);
    ASSERT_EQ(scene.notes.Trace(), std::vector<std::wstring>{L"menu:ok"});
    EXPECT_EQ(5u, scene.notes.seen[0].wParam);
}

TEST(Button, AButtonThatIgnoresTheMouseLeavesItsEventsToItsParent)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>({10, 10, 60, 60}, L"name=\"ok\" mouse=\"false\"");
    scene.Click(*button, kInside);
    scene.Send(*button, EventKind::MouseEnter, kInside);
    EXPECT_EQ(0u, button->GetButtonState());
    EXPECT_TRUE(scene.notes.seen.empty());
}

TEST(Button, DisablingClearsEveryStateBit)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>({10, 10, 60, 60});
    scene.Send(*button, EventKind::MouseEnter, kInside);
    scene.Send(*button, EventKind::ButtonDown, kInside);
    ASSERT_NE(0u, button->GetButtonState());
    button->SetEnabled(false);
    EXPECT_EQ(0u, button->GetButtonState());
    scene.Send(*button, EventKind::MouseEnter, kInside);
    EXPECT_EQ(0u, button->GetButtonState()) << "a disabled button is not hot";
}

TEST(Button, FadeStepsDownWhileHotAndBackAfterAndItsTimerStops)
{
    ControlScene scene;
    CButtonUI* button =
        scene.Add<CButtonUI>({10, 10, 60, 60}, kThreeColours + L" fadedelta=\"100\"");
    std::vector<int> seen;  // the alpha after each tick
    Testing::EventRecorder events;
    events.Watch(*button);
    auto ticks = [&] { return events.Trace({EventKind::Timer}).size(); };
    EXPECT_EQ(255, button->GetFadeAlpha());
    const DWORD start = GetTickCount();
    scene.Send(*button, EventKind::MouseEnter, kInside);
    while (button->GetFadeAlpha() != 0 && GetTickCount() - start < 3000) {
        const int before = button->GetFadeAlpha();
        Testing::Pump(5);
        if (button->GetFadeAlpha() != before) seen.push_back(button->GetFadeAlpha());
    }
    const DWORD took = GetTickCount() - start;
    EXPECT_EQ(seen, (std::vector<int>{155, 55, 0}));
    EXPECT_GE(took, 60u) << "three ticks 30 ms apart";
    EXPECT_LT(took, 1500u);
    Testing::Pump(200);
    EXPECT_EQ(3u, ticks()) << "no tick after the end";
    EXPECT_FALSE(scene.manager().StopTimer(button, CButtonUI::FadeTimer)) << "no timer alive";
    EXPECT_EQ(kGreen, scene.Pixel(30, 30)) << "all hot";

    seen.clear();
    scene.Send(*button, EventKind::MouseLeave, kOutside);
    const DWORD back = GetTickCount();
    while (button->GetFadeAlpha() != 255 && GetTickCount() - back < 3000) {
        const int before = button->GetFadeAlpha();
        Testing::Pump(5);
        if (button->GetFadeAlpha() != before) seen.push_back(button->GetFadeAlpha());
    }
    EXPECT_EQ(seen, (std::vector<int>{100, 200, 255}));
    Testing::Pump(150);
    EXPECT_EQ(6u, ticks());
    EXPECT_FALSE(scene.manager().StopTimer(button, CButtonUI::FadeTimer));
    EXPECT_EQ(kRed, scene.Pixel(30, 30)) << "all normal";
}

TEST(Button, HalfwayThroughAFadeBothImagesShow)
{
    ControlScene scene;
    CButtonUI* button =
        scene.Add<CButtonUI>({10, 10, 60, 60}, kThreeColours + L" fadedelta=\"128\"");
    scene.Send(*button, EventKind::MouseEnter, kInside);
    scene.manager().StopTimer(button, CButtonUI::FadeTimer);
    scene.Send(*button, EventKind::Timer, kInside, CButtonUI::FadeTimer);
    ASSERT_EQ(127, button->GetFadeAlpha());
    const uint32_t mixed = scene.Pixel(30, 30);
    EXPECT_GT(SkinUITest::channel(mixed, 16), 0x30) << "normal (red) still shows";
    EXPECT_GT(SkinUITest::channel(mixed, 8), 0x30) << "hot (green) shows through";
    scene.Send(*button, EventKind::Timer, kInside, CButtonUI::FadeTimer);
    EXPECT_EQ(0, button->GetFadeAlpha()) << "a step larger than what is left does not wrap";
    scene.Send(*button, EventKind::Timer, kInside, 12);
    EXPECT_EQ(0, button->GetFadeAlpha()) << "other timers are not the fade's";
}

uint32_t FiveStrips(int x, int)
{
    static const uint32_t colours[] = {0xFFFF0000, 0xFF0000FF, 0xFF00FF00, 0xFFFFFF00, 0xFFFFFFFF};
    return colours[x / 10];
}

TEST(Button, FiveStatusImageGivesEachStateItsStripAndAFloatingButtonItsSize)
{
    const std::wstring file = Testing::WriteTestImage(L"leaf_five_status.bmp", 50, 20, FiveStrips);
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>({0, 0, 0, 0});
    button->SetRequestedWidth(0);
    button->SetRequestedHeight(0);
    button->SetFixedOffset(10, 10);
    button->ApplyAttribute(L"fivestatusimage", file);
    EXPECT_EQ(10, button->GetRequestedWidth()) << "one strip wide";
    EXPECT_EQ(20, button->GetRequestedHeight());
    EXPECT_EQ(kRed, scene.Pixel(15, 20)) << "strip 0: normal";
    scene.Send(*button, EventKind::ButtonDown, {15, 20});
    EXPECT_EQ(kBlue, scene.Pixel(15, 20)) << "strip 1: pushed";
    scene.Send(*button, EventKind::MouseMove, {300, 150});
    scene.Send(*button, EventKind::ButtonUp, {300, 150});
    scene.Send(*button, EventKind::MouseEnter, {15, 20});
    EXPECT_EQ(kGreen, scene.Pixel(15, 20)) << "strip 2: hot";
    scene.Send(*button, EventKind::MouseLeave, {300, 150});
    button->SetFocus();
    EXPECT_EQ(kYellow, scene.Pixel(15, 20)) << "strip 3: focused";
    button->SetEnabled(false);
    EXPECT_EQ(kWhite, scene.Pixel(15, 20)) << "strip 4: disabled";

    button->SetEnabled(true);
    scene.manager().FocusControl(nullptr);
    button->ApplyAttribute(L"normalimage", ColorImage(0xFF808080));
    EXPECT_EQ(0x808080u, scene.Pixel(15, 20)) << "a later normal image is whole, not a strip";

    CButtonUI* sized = scene.Add<CButtonUI>({100, 10, 130, 40});
    sized->ApplyAttribute(L"fivestatusimage", file);
    EXPECT_EQ(30, sized->GetRequestedWidth()) << "a fixed size stays";
    EXPECT_EQ(kRed, scene.Pixel(128, 38)) << "the strip stretched over the button";

    // Narrower than five pixels: strips of no width draw nothing, and nothing breaks.
    const std::wstring tiny = Testing::WriteTestImage(L"leaf_tiny.bmp", 3, 3, FiveStrips);
    CButtonUI* thin = scene.Add<CButtonUI>({150, 10, 180, 40}, L"bkcolor=\"#FF102030\"");
    thin->ApplyAttribute(L"fivestatusimage", tiny);
    EXPECT_EQ(0x102030u, scene.Pixel(165, 25));
}

TEST(Button, CaptionColourFollowsPushedThenHotThenFocused)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>(
        {10, 10, 110, 60}, L"text=\"WWWW\" textcolor=\"#FFFF0000\" pushedtextcolor=\"#FF0000FF\" "
                           L"hottextcolor=\"#FF00FF00\" focusedtextcolor=\"#FFFFFF00\"");
    auto captionHas = [&](uint32_t colour) {
        scene.window.PaintNow();
        for (int x = 10; x < 110; ++x)
            for (int y = 10; y < 60; ++y)
                if (scene.Pixel(x, y) == colour) return true;
        return false;
    };
    EXPECT_TRUE(captionHas(kRed));
    button->SetFocus();
    EXPECT_TRUE(captionHas(kYellow));
    scene.Send(*button, EventKind::MouseEnter, {30, 30});
    EXPECT_TRUE(captionHas(kGreen)) << "hot before focused";
    scene.Send(*button, EventKind::ButtonDown, {30, 30});
    EXPECT_TRUE(captionHas(kBlue)) << "pushed before hot";
    EXPECT_FALSE(captionHas(kGreen));
}

TEST(Button, PreferredSizeIsOneLineOfTheFontUnlessTheHeightIsFixed)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>({10, 10, 60, 60});
    EXPECT_EQ(50, button->PreferredSize({400, 200}).cx);
    EXPECT_EQ(50, button->PreferredSize({400, 200}).cy);
    button->SetRequestedHeight(0);
    const int font = scene.manager().Fonts().FontInfoByNumber(-1).metrics.tmHeight;
    EXPECT_EQ(font + 8, button->PreferredSize({400, 200}).cy);
    EXPECT_EQ(50, button->PreferredSize({400, 200}).cx);
}

TEST(Button, GdiObjectsStayFlatOverAThousandHoverCyclesAndTranslucentRepaints)
{
    ControlScene scene;
    CButtonUI* button = scene.Add<CButtonUI>(
        {10, 10, 60, 60},
        Images(ColorImage(0x80FF0000), ColorImage(0x8000FF00), ColorImage(0x800000FF)) +
            L" fadedelta=\"60\" text=\"Go\" bkcolor=\"#80FFFFFF\"");
    auto cycle = [&] {
        scene.Send(*button, EventKind::MouseEnter, kInside);
        scene.Send(*button, EventKind::Timer, kInside, CButtonUI::FadeTimer);
        scene.window.PaintNow();
        scene.Send(*button, EventKind::MouseLeave, kOutside);
        scene.Send(*button, EventKind::Timer, kInside, CButtonUI::FadeTimer);
        scene.window.PaintNow();
    };
    for (int i = 0; i < 20; ++i) cycle();  // caches, fonts and brushes settle
    const DWORD before = SkinUITest::GdiObjectCount();
    for (int i = 0; i < 1000; ++i) cycle();
    EXPECT_LE(SkinUITest::GdiObjectCount(), before + 2);
}

}  // namespace
}  // namespace SkinUI
