// The control base's drawing, read back from the pixels of a 32-bit DIB: the background
// colour over the paint or the item rectangle, the two gradients, the round clip, the
// border's sides and colours, the stop control and the overlay.
#include "tests/ui/render/canvas.h"
#include "ui/core/control_ui.h"
#include "ui/core/ui_manager.h"
#include "ui/render/image_cache.h"
#include "ui/render/resource_settings.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using SkinUITest::Canvas;
using SkinUITest::channel;
using SkinUITest::rgb;
using SkinUITest::sameColor;

constexpr uint32_t kBlack = 0x000000;

ControlPtr ControlAt(RECT rect,
                     std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes)
{
    ControlPtr control = MakeControl<CControlUI>();
    for (const auto& [name, value] : attributes) control->ApplyAttribute(name, value);
    control->Place(rect);
    return control;
}

void GiveFocus(CControlUI& control, bool focused)
{
    ControlEvent event;
    event.kind = focused ? EventKind::SetFocus : EventKind::KillFocus;
    control.DispatchEvent(event);
}

TEST(ControlPaint, OpaqueBackgroundCoversThePaintRectTranslucentTheWholeControl)
{
    Canvas canvas(40, 20, 0xFF000000);
    ControlPtr opaque = ControlAt({0, 0, 40, 20}, {{L"bkcolor", L" \t#FF00FF00"}});
    EXPECT_TRUE(opaque->PaintTo(canvas.dc(), RECT{0, 0, 20, 20}));
    EXPECT_EQ(0x00FF00u, rgb(canvas.pixel(19, 10)));
    EXPECT_EQ(kBlack, rgb(canvas.pixel(20, 10))) << "outside the paint rectangle";

    canvas.fill(0xFF000000);
    ControlPtr translucent = ControlAt({0, 0, 40, 20}, {{L"bkcolor1", L"#800000FF"}});
    EXPECT_TRUE(translucent->PaintTo(canvas.dc(), RECT{0, 0, 20, 20}));
    EXPECT_TRUE(sameColor(canvas.pixel(5, 10), 0x000080));
    EXPECT_TRUE(sameColor(canvas.pixel(30, 10), 0x000080)) << "blended over the whole item";

    canvas.fill(0xFF000000);
    ControlPtr none = ControlAt({0, 0, 40, 20}, {{L"bkcolor", L"#00000000"}});
    EXPECT_TRUE(none->PaintTo(canvas.dc(), canvas.rect()));
    EXPECT_EQ(kBlack, rgb(canvas.pixel(5, 5)));
    EXPECT_TRUE(none->PaintTo(canvas.dc(), RECT{100, 100, 120, 120})) << "nothing to paint";
}

TEST(ControlPaint, TwoColoursMakeOneGradientThreeColoursTwoHalves)
{
    Canvas canvas(10, 64, 0xFF000000);
    ControlPtr two =
        ControlAt({0, 0, 10, 64}, {{L"bkcolor", L"#FFFF0000"}, {L"bkcolor2", L"#FF0000FF"}});
    two->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_GT(channel(canvas.pixel(5, 0), 16), 230);
    EXPECT_GT(channel(canvas.pixel(5, 63), 0), 230);
    EXPECT_NEAR(channel(canvas.pixel(5, 32), 16), 128, 20) << "half way";

    ControlPtr three = ControlAt(
        {0, 0, 10, 64},
        {{L"bkcolor", L"#FFFF0000"}, {L"bkcolor2", L"#FF00FF00"}, {L"bkcolor3", L"#FF0000FF"}});
    three->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_GT(channel(canvas.pixel(5, 0), 16), 230);
    EXPECT_GT(channel(canvas.pixel(5, 31), 8), 200) << "the second colour at the middle";
    EXPECT_GT(channel(canvas.pixel(5, 32), 8), 200);
    EXPECT_GT(channel(canvas.pixel(5, 63), 0), 230);
    EXPECT_LT(channel(canvas.pixel(5, 63), 8), 40);
}

TEST(ControlPaint, BorderRoundClipsTheBackgroundAndIsRestoredAfterwards)
{
    Canvas canvas(40, 40, 0xFF000000);
    ControlPtr c =
        ControlAt({0, 0, 40, 40}, {{L"bkcolor", L"#FFFFFFFF"}, {L"borderround", L"20,20"}});
    c->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(kBlack, rgb(canvas.pixel(0, 0))) << "corner cut off";
    EXPECT_EQ(kBlack, rgb(canvas.pixel(39, 39)));
    EXPECT_EQ(0xFFFFFFu, rgb(canvas.pixel(20, 20)));
    EXPECT_EQ(0xFFFFFFu, rgb(canvas.pixel(20, 0)));

    ControlPtr square = ControlAt({0, 0, 40, 40}, {{L"bkcolor", L"#FF00FF00"}});
    square->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0x00FF00u, rgb(canvas.pixel(0, 0))) << "the round clip was put back";
}

TEST(ControlPaint, BorderOfEqualSidesIsOneRectangleInside)
{
    Canvas canvas(30, 30, 0xFF000000);
    ControlPtr c =
        ControlAt({5, 5, 25, 25}, {{L"bordersize", L"2"}, {L"bordercolor", L"#FFFF0000"}});
    c->PaintTo(canvas.dc(), canvas.rect());
    for (POINT p :
         {POINT{5, 15}, POINT{6, 15}, POINT{24, 15}, POINT{23, 15}, POINT{15, 5}, POINT{15, 24}}) {
        EXPECT_EQ(0xFF0000u, rgb(canvas.pixel(p.x, p.y))) << p.x << "," << p.y;
    }
    for (POINT p : {POINT{4, 15}, POINT{7, 15}, POINT{25, 15}, POINT{15, 15}, POINT{15, 25}}) {
        EXPECT_EQ(kBlack, rgb(canvas.pixel(p.x, p.y))) << p.x << "," << p.y;
    }
}

TEST(ControlPaint, BorderSidesAreLinesCentredOnEachSide)
{
    Canvas canvas(40, 40, 0xFF000000);
    // Left 3, top 0, right 1, bottom 5: one line per side with a positive size.
    ControlPtr c =
        ControlAt({10, 10, 30, 30}, {{L"bordersize", L"3,0,1,5"}, {L"bordercolor", L"#FF00FF00"}});
    c->PaintTo(canvas.dc(), canvas.rect());
    const auto lit = [&](int x, int y) { return rgb(canvas.pixel(x, y)) == 0x00FF00u; };
    // Left: a 3 wide line at x = 11.
    EXPECT_TRUE(lit(10, 20));
    EXPECT_TRUE(lit(11, 20));
    EXPECT_TRUE(lit(12, 20));
    EXPECT_FALSE(lit(13, 20));
    EXPECT_FALSE(lit(9, 20));
    // Top: size 0, not drawn.
    EXPECT_FALSE(lit(20, 10));
    // Right: a 1 wide line at x = 30, the item's right edge, from top to bottom.
    EXPECT_TRUE(lit(30, 20));
    EXPECT_FALSE(lit(29, 20));
    // Bottom: a 5 wide line around y = 28 from x = 13 to 29.
    EXPECT_TRUE(lit(20, 26));
    EXPECT_TRUE(lit(20, 28));
    EXPECT_TRUE(lit(20, 30));
    EXPECT_FALSE(lit(20, 24));
    EXPECT_FALSE(lit(20, 32));
}

TEST(ControlPaint, ZeroLeftBorderSizeDrawsNoBorderAtAll)
{
    Canvas canvas(30, 30, 0xFF000000);
    ControlPtr c =
        ControlAt({5, 5, 25, 25}, {{L"bordersize", L"0,4,4,4"}, {L"bordercolor", L"#FFFF0000"}});
    c->PaintTo(canvas.dc(), canvas.rect());
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) ASSERT_EQ(kBlack, rgb(canvas.pixel(x, y))) << x << "," << y;
    }

    ControlPtr noColour = ControlAt({5, 5, 25, 25}, {{L"bordersize", L"2"}});
    noColour->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(kBlack, rgb(canvas.pixel(5, 15))) << "a size without a colour draws nothing";
}

TEST(ControlPaint, FocusBorderColourOnlyWhileFocusedAndNoBlackBorderWithoutAColour)
{
    Canvas canvas(30, 30, 0xFF808080);
    ControlPtr both = ControlAt({5, 5, 25, 25}, {{L"bordersize", L"1"},
                                                 {L"bordercolor", L"#FFFF0000"},
                                                 {L"focusbordercolor", L"#FF0000FF"}});
    both->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0xFF0000u, rgb(canvas.pixel(5, 15)));
    GiveFocus(*both, true);
    EXPECT_TRUE(both->IsFocused());
    both->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0x0000FFu, rgb(canvas.pixel(5, 15)));

    // Only a focus colour: unfocused, the chosen colour is 0 (no colour) and nothing is drawn
    // (not a black border).
    canvas.fill(0xFF808080);
    ControlPtr focusOnly =
        ControlAt({5, 5, 25, 25}, {{L"bordersize", L"1"}, {L"focusbordercolor", L"#FF0000FF"}});
    focusOnly->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0x808080u, rgb(canvas.pixel(5, 15)));
    GiveFocus(*focusOnly, true);
    focusOnly->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0x0000FFu, rgb(canvas.pixel(5, 15)));
    GiveFocus(*focusOnly, false);
    canvas.fill(0xFF808080);
    focusOnly->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0x808080u, rgb(canvas.pixel(5, 15)));
}

TEST(ControlPaint, RoundBorderFollowsTheCorners)
{
    Canvas canvas(40, 40, 0xFF000000);
    ControlPtr c = ControlAt(
        {0, 0, 40, 40},
        {{L"bordersize", L"1"}, {L"bordercolor", L"#FFFFFFFF"}, {L"borderround", L"16,16"}});
    c->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(kBlack, rgb(canvas.pixel(0, 0)));
    EXPECT_EQ(0xFFFFFFu, rgb(canvas.pixel(20, 0)));
    EXPECT_EQ(0xFFFFFFu, rgb(canvas.pixel(0, 20)));
    EXPECT_EQ(kBlack, rgb(canvas.pixel(20, 20)));
}

// A control that records that it drew its caption, in the fixed order.
class OrderProbe : public CControlUI {
public:
    std::vector<std::string>* steps = nullptr;
    std::string tag;
    void DrawBkColor(HDC dc) override
    {
        Step("bkcolor");
        CControlUI::DrawBkColor(dc);
    }
    void DrawBkImage(HDC dc) override
    {
        Step("bkimage");
        CControlUI::DrawBkImage(dc);
    }
    void DrawStateImage(HDC) override { Step("state"); }
    void DrawCaption(HDC) override { Step("text"); }
    void DrawBorder(HDC dc) override
    {
        Step("border");
        CControlUI::DrawBorder(dc);
    }

private:
    void Step(const char* name) { steps->push_back(tag + name); }
};

TEST(ControlPaint, FixedOrderThenTheOverlayAndTheStopControlEndsThePaint)
{
    std::vector<std::string> steps;
    ControlPtr owner = MakeControl<OrderProbe>();
    auto* control = static_cast<OrderProbe*>(owner.get());
    control->steps = &steps;
    ControlPtr overlayOwner = MakeControl<OrderProbe>();
    auto* overlay = static_cast<OrderProbe*>(overlayOwner.get());
    overlay->steps = &steps;
    overlay->tag = "overlay ";
    control->SetOverlay(std::move(overlayOwner));
    control->Place(RECT{0, 0, 10, 10});
    overlay->Place(RECT{0, 0, 10, 10});

    Canvas canvas(10, 10);
    EXPECT_TRUE(control->PaintTo(canvas.dc(), canvas.rect()));
    EXPECT_EQ((std::vector<std::string>{"bkcolor", "bkimage", "state", "text", "border",
                                        "overlay bkcolor", "overlay bkimage", "overlay state",
                                        "overlay text", "overlay border"}),
              steps);

    steps.clear();
    EXPECT_FALSE(control->PaintTo(canvas.dc(), canvas.rect(), control));
    EXPECT_TRUE(steps.empty());
}

}  // namespace
}  // namespace SkinUI

namespace SkinUI {
namespace {

// Serves a PNG of one colour from a fresh folder through the resource settings.
class ControlImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSkinArchive(L"", false);
        m_folder = SkinUITest::makeTempFolder();
        SetResourceFolder(m_folder);
        SkinUITest::writeFile(m_folder + L"bk.png",
                              SkinUITest::encodePng(8, 6, [](int, int) { return 0xFF00FF00u; }));
    }
    void TearDown() override
    {
        SetResourceFolder(L"");
        SetColorAdjustment(ColorAdjustment());
    }

    std::wstring m_folder;
};

TEST_F(ControlImageTest, BackgroundImageIsDrawnAfterTheColourAndSizesAFloatingControl)
{
    CUIManager manager;
    ControlPtr control = MakeControl<CControlUI>();
    manager.AdoptControls(control.get());
    control->ApplyAttribute(L"float", L"true");
    control->ApplyAttribute(L"bkimage", L"file='bk.png' dest='2,0,6,6'");
    EXPECT_EQ(8, control->GetRequestedWidth()) << "a floating control takes the image's size";
    EXPECT_EQ(6, control->GetRequestedHeight());

    control->SetFloat(false);
    control->ApplyAttribute(L"bkcolor", L"#FFFF0000");
    control->Place(RECT{0, 0, 8, 6});
    Canvas canvas(8, 6);
    control->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0xFF0000u, rgb(canvas.pixel(1, 3))) << "the colour where the image is not";
    EXPECT_EQ(0x00FF00u, rgb(canvas.pixel(3, 3))) << "the image over the colour";

    // A sized floating control keeps its size.
    ControlPtr sized = MakeControl<CControlUI>();
    manager.AdoptControls(sized.get());
    sized->ApplyAttribute(L"float", L"true");
    sized->ApplyAttribute(L"width", L"3");
    sized->ApplyAttribute(L"bkimage", L"bk.png");
    EXPECT_EQ(3, sized->GetRequestedWidth());
    EXPECT_EQ(0, sized->GetRequestedHeight());
}

TEST_F(ControlImageTest, ColoursFollowTheWindowHslOnlyWhenAsked)
{
    ColorAdjustment quarterTurn;
    quarterTurn.enabled = true;
    quarterTurn.hue = 300;  // red turns 120 degrees into green
    SetColorAdjustment(quarterTurn);
    Canvas canvas(20, 10);
    ControlPtr plain = ControlAt({0, 0, 10, 10}, {{L"bkcolor", L"#FFFF0000"}});
    ControlPtr adjusted =
        ControlAt({10, 0, 20, 10}, {{L"bkcolor", L"#FFFF0000"}, {L"colorhsl", L"true"}});
    plain->PaintTo(canvas.dc(), canvas.rect());
    adjusted->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_TRUE(sameColor(canvas.pixel(5, 5), 0xFF0000));
    EXPECT_TRUE(sameColor(canvas.pixel(15, 5), 0x00FF00, 4)) << std::hex << canvas.pixel(15, 5);
}

}  // namespace
}  // namespace SkinUI
