// What a container paints: its own background, laid-out children only inside the inset,
// floating children over it, a stop control that ends the paint, the scroll bar's thumb; and
// no GDI object left behind by many relayouts and repaints of the options window.
#include "tests/ui/core/test_window.h"
#include "tests/ui/gdi_object_count.h"
#include "tests/ui/layouts/layout_test_support.h"
#include "tests/ui/render/canvas.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/layouts/vertical_layout_ui.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using namespace Testing;
using SkinUITest::Canvas;
using SkinUITest::rgb;

constexpr DWORD kBlue = 0xFF0000FF;
constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kGreen = 0xFF00FF00;

// A 100 x 100 box with an inset of 10, a laid-out red child and a floating green one at
// (2,2)-(8,8), over the inset.
struct InsetBox {
    InsetBox()
    {
        box.SetBkColor(kBlue);
        box.SetInset(RECT{10, 10, 10, 10});
        laidOut.SetBkColor(kRed);
        floating.SetBkColor(kGreen);
        box.Place(RECT{0, 0, 100, 100});
    }
    ControlPtr owner = MakeControl<CContainerUI>();
    CContainerUI& box = *AsContainer(owner.get());
    CControlUI& laidOut = AddPlain(box);
    CControlUI& floating = AddFloating(box, RECT{2, 2, 8, 8});
};

TEST(ContainerPaint, LaidOutChildrenStayInsideTheInsetFloatingOnesMayCoverIt)
{
    InsetBox scene;
    // The laid-out child reaches over the whole box: only its part inside the inset shows.
    scene.laidOut.Place(RECT{0, 0, 100, 100}, false);
    Canvas canvas(120, 120);
    EXPECT_TRUE(scene.box.PaintTo(canvas.dc(), canvas.rect()));
    EXPECT_EQ(0xFF0000u, rgb(canvas.pixel(10, 10)));
    EXPECT_EQ(0xFF0000u, rgb(canvas.pixel(89, 89)));
    EXPECT_EQ(0x0000FFu, rgb(canvas.pixel(9, 50))) << "the inset keeps the box's colour";
    EXPECT_EQ(0x0000FFu, rgb(canvas.pixel(90, 90)));
    EXPECT_EQ(0x00FF00u, rgb(canvas.pixel(4, 4))) << "floating over the inset";
    EXPECT_EQ(0x000000u, rgb(canvas.pixel(105, 50))) << "nothing outside the box";

    // A paint of the inset alone still paints the floating child.
    canvas.fill(0xFF000000);
    EXPECT_TRUE(scene.box.PaintTo(canvas.dc(), RECT{0, 0, 9, 9}));
    EXPECT_EQ(0x00FF00u, rgb(canvas.pixel(4, 4)));
    EXPECT_EQ(0x0000FFu, rgb(canvas.pixel(1, 1)));
    EXPECT_EQ(0x000000u, rgb(canvas.pixel(50, 50))) << "outside the paint rectangle";
}

TEST(ContainerPaint, ChildrenPaintInListOrderAndTheStopControlEndsThePaint)
{
    ControlPtr owner = MakeControl<CHorizontalLayoutUI>();
    CContainerUI& row = *AsContainer(owner.get());
    CControlUI& under = AddFloating(row, RECT{0, 0, 50, 50});
    CControlUI& over = AddFloating(row, RECT{25, 0, 75, 50});
    CControlUI& last = AddFloating(row, RECT{80, 0, 90, 50});
    under.SetBkColor(kRed);
    over.SetBkColor(kGreen);
    last.SetBkColor(kBlue);
    row.Place(RECT{0, 0, 100, 50});
    Canvas canvas(100, 50);
    EXPECT_TRUE(row.PaintTo(canvas.dc(), canvas.rect()));
    EXPECT_EQ(0x00FF00u, rgb(canvas.pixel(30, 10))) << "the later child paints over";

    canvas.fill(0xFF000000);
    EXPECT_FALSE(row.PaintTo(canvas.dc(), canvas.rect(), &last));
    EXPECT_EQ(0x00FF00u, rgb(canvas.pixel(30, 10)));
    EXPECT_EQ(0x000000u, rgb(canvas.pixel(85, 10))) << "the stop control is not painted";

    // Hidden children are not painted.
    over.SetVisible(false);
    row.Place(RECT{0, 0, 100, 50});
    EXPECT_TRUE(row.PaintTo(canvas.dc(), canvas.rect()));
    EXPECT_EQ(0xFF0000u, rgb(canvas.pixel(30, 10)));
}

TEST(ContainerPaint, TheScrollBarShowsItsThumbWhereThePositionPutsIt)
{
    ControlPtr owner = MakeControl<CVerticalLayoutUI>();
    CContainerUI& column = *AsContainer(owner.get());
    column.ApplyAttribute(L"vscrollbarstyle", L"thumbcolor=\"#FF00FF00\" bkcolor=\"#FF0000FF\"");
    for (int i = 0; i < 3; ++i) AddPlain(column, 0, 50).SetBkColor(kRed);
    column.Place(RECT{0, 0, 100, 100});
    CScrollBarUI* bar = column.GetVerticalBar();
    ASSERT_NE(nullptr, bar);
    // 100 long, range 50: a thumb of 100 * 100 / 150 = 66 with 34 to travel.
    EXPECT_TRUE(SameRect(RECT{84, 0, 100, 66}, bar->ThumbRect())) << Show(bar->ThumbRect());
    column.ScrollToBottom();
    EXPECT_TRUE(SameRect(RECT{84, 34, 100, 100}, bar->ThumbRect())) << Show(bar->ThumbRect());
    Canvas canvas(100, 100);
    EXPECT_TRUE(column.PaintTo(canvas.dc(), canvas.rect()));
    EXPECT_EQ(0x0000FFu, rgb(canvas.pixel(90, 10))) << "the track";
    EXPECT_EQ(0x00FF00u, rgb(canvas.pixel(90, 50))) << "the thumb";
    EXPECT_EQ(0xFF0000u, rgb(canvas.pixel(50, 50))) << "the children beside it";
}

TEST(ContainerPaint, RelayoutsAndRepaintsLeaveNoGdiObjectBehind)
{
    TestWindow window(0, 0, 1124, 557);
    OptionsTree tree = MakeOptionsTree();
    CContainerUI& layout = *tree.layout;
    layout.SetBkColor(0xFF202020);
    layout.SetScrollBars(true, false);
    for (int i = 0; i < layout.ChildCount(); ++i) layout.ChildAt(i)->SetBkColor(0xFF808080 + i);
    window.manager().AttachRoot(std::move(tree.root));
    window.PaintNow();
    auto cycle = [&](int i) {
        layout.ChildAt(i % layout.ChildCount())->SetBkColor(0xFF00FF00 + i);
        layout.MarkNeedUpdate();
        window.manager().InvalidateAll();
        window.PaintNow();
        ControlPtr moved = layout.DetachChildAt(0);
        layout.AddChild(std::move(moved));
    };
    for (int i = 0; i < 20; ++i) cycle(i);  // every cache warm
    const DWORD before = SkinUITest::GdiObjectCount();
    for (int i = 0; i < 300; ++i) cycle(i);
    EXPECT_LE(SkinUITest::GdiObjectCount(), before + 2);
}

}  // namespace
}  // namespace SkinUI
