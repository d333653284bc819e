// Scroll bars: shown while the content needs more room than there is, ranged by the excess,
// the position held in range when the content shrinks; line, page and end steps moving the
// children; the keys and the wheel that scroll, and a wheel with no bar that does nothing.
#include "tests/ui/layouts/layout_test_support.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/layouts/vertical_layout_ui.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using namespace Testing;

// A 100 x 100 column with a vertical bar and three children 50 high.
struct TallColumn {
    TallColumn()
    {
        column.ApplyAttribute(L"vscrollbar", L"true");
        for (int i = 0; i < 3; ++i) children.push_back(&AddPlain(column, 0, 50));
        column.Place(RECT{0, 0, 100, 100});
    }
    ControlPtr owner = MakeControl<CVerticalLayoutUI>();
    CContainerUI& column = *AsContainer(owner.get());
    std::vector<CControlUI*> children;
    LONG FirstTop() const { return children[0]->GetRect().top; }
};

ControlEvent MakeEvent(EventKind kind, WPARAM wParam = 0, wchar_t key = 0, POINT at = {50, 50})
{
    ControlEvent event;
    event.kind = kind;
    event.wParam = wParam;
    event.key = key;
    event.mouse = at;
    return event;
}

void Send(CControlUI& control, ControlEvent event)
{
    event.sender = &control;
    control.DispatchEvent(event);
}

TEST(Scrolling, TheBarShowsWhileTheContentNeedsMoreRoomAndRangesTheExcess)
{
    TallColumn scene;
    CScrollBarUI* bar = scene.column.GetVerticalBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(50, bar->GetScrollRange());
    EXPECT_TRUE(SameRect(RECT{84, 0, 100, 100}, bar->GetRect())) << Show(bar->GetRect());
    EXPECT_EQ(84, scene.children[0]->GetWidth()) << "the children make room for the bar";
    EXPECT_TRUE(SameRect(RECT{0, 0, 84, 100}, scene.column.GetContentRect()));
    EXPECT_EQ(nullptr, scene.column.GetHorizontalBar());

    scene.column.SetScrollPos(SIZE{0, 40});
    EXPECT_EQ(-40, scene.FirstTop());
    // Shrinking content pulls the position back into the smaller range.
    scene.children[2]->SetRequestedHeight(20);
    scene.column.Place(RECT{0, 0, 100, 100});
    EXPECT_EQ(20, bar->GetScrollRange());
    EXPECT_EQ(20, bar->GetScrollPos());
    EXPECT_EQ(-20, scene.FirstTop());
    // Content that fits hides the bar and gives the room back.
    scene.column.RemoveChild(scene.children[2]);
    scene.column.Place(RECT{0, 0, 100, 100});
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, bar->GetScrollPos());
    EXPECT_EQ(0, scene.FirstTop());
    EXPECT_EQ(100, scene.children[0]->GetWidth());

    scene.column.ApplyAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(nullptr, scene.column.GetVerticalBar());
}

TEST(Scrolling, LinePageAndEndStepsStayInRange)
{
    TallColumn scene;
    CContainerUI& column = scene.column;
    column.ScrollLineDown();
    EXPECT_EQ(CScrollBarUI::kDefaultLineSize, column.GetScrollPos().cy);
    EXPECT_EQ(-8, scene.FirstTop());
    column.ScrollPageDown();
    EXPECT_EQ(50, column.GetScrollPos().cy) << "a page of 100 from 8, held at the range";
    column.ScrollLineDown();
    EXPECT_EQ(50, column.GetScrollPos().cy);
    column.ScrollToTop();
    EXPECT_EQ(0, column.GetScrollPos().cy);
    column.ScrollLineUp();
    EXPECT_EQ(0, column.GetScrollPos().cy);
    column.ScrollToBottom();
    EXPECT_EQ(-50, scene.FirstTop());
    column.ScrollPageUp();
    EXPECT_EQ(0, column.GetScrollPos().cy);
    column.GetVerticalBar()->ApplyAttribute(L"linesize", L"30");
    column.ScrollLineDown();
    EXPECT_EQ(30, column.GetScrollPos().cy);
    EXPECT_EQ(0, column.GetScrollPos().cx) << "no horizontal bar: nothing moves sideways";
    column.ScrollToRightEnd();
    column.ScrollLineRight();
    EXPECT_EQ(0, column.GetScrollRange().cx);
}

TEST(Scrolling, KeysAndTheWheelScrollTheVerticalBarFirst)
{
    TallColumn scene;
    CContainerUI& column = scene.column;
    Send(column, MakeEvent(EventKind::KeyDown, 0, VK_DOWN));
    EXPECT_EQ(8, column.GetScrollPos().cy);
    Send(column, MakeEvent(EventKind::KeyDown, 0, VK_END));
    EXPECT_EQ(50, column.GetScrollPos().cy);
    Send(column, MakeEvent(EventKind::KeyDown, 0, VK_HOME));
    EXPECT_EQ(0, column.GetScrollPos().cy);
    Send(column, MakeEvent(EventKind::KeyDown, 0, VK_NEXT));
    EXPECT_EQ(50, column.GetScrollPos().cy);
    Send(column, MakeEvent(EventKind::KeyDown, 0, VK_PRIOR));
    EXPECT_EQ(0, column.GetScrollPos().cy);
    Send(column, MakeEvent(EventKind::ScrollWheel, 1));
    EXPECT_EQ(8, column.GetScrollPos().cy) << "1: towards the user, forward";
    Send(column, MakeEvent(EventKind::ScrollWheel, 0));
    EXPECT_EQ(0, column.GetScrollPos().cy);

    column.SetKeyboardEnabled(false);
    Send(column, MakeEvent(EventKind::KeyDown, 0, VK_DOWN));
    EXPECT_EQ(0, column.GetScrollPos().cy) << "keys need the keyboard enabled";
    column.SetKeyboardEnabled(true);
    column.GetVerticalBar()->SetEnabled(false);
    Send(column, MakeEvent(EventKind::ScrollWheel, 1));
    EXPECT_EQ(0, column.GetScrollPos().cy) << "a disabled bar does not scroll";
}

// A wide row: its horizontal bar scrolls with the wheel over it, or everywhere without a
// vertical bar; Up and Down go left and right.
TEST(Scrolling, TheHorizontalBarTakesTheWheelOverItOrWithoutAVerticalBar)
{
    ControlPtr owner = MakeControl<CHorizontalLayoutUI>();
    CContainerUI& row = *AsContainer(owner.get());
    row.SetScrollBars(true, true);
    for (int i = 0; i < 3; ++i) AddPlain(row, 50, 150);
    row.Place(RECT{0, 0, 100, 100});
    ASSERT_TRUE(row.GetHorizontalBar()->IsVisible());
    ASSERT_TRUE(row.GetVerticalBar()->IsVisible());
    EXPECT_EQ(66, row.GetScrollRange().cx) << "150 wide in 84";
    EXPECT_EQ(66, row.GetScrollRange().cy) << "150 high in 84";

    const RECT hbar = row.GetHorizontalBar()->GetRect();
    Send(row, MakeEvent(EventKind::ScrollWheel, 1, 0, POINT{hbar.left + 5, hbar.top + 5}));
    EXPECT_EQ(8, row.GetScrollPos().cx);
    EXPECT_EQ(0, row.GetScrollPos().cy);
    EXPECT_EQ(-8, row.ChildAt(0)->GetX());
    Send(row, MakeEvent(EventKind::ScrollWheel, 1));
    EXPECT_EQ(8, row.GetScrollPos().cy) << "elsewhere the vertical bar";
    EXPECT_EQ(-8, row.ChildAt(0)->GetY());

    row.SetScrollBars(false, true);
    row.Place(RECT{0, 0, 100, 100});
    Send(row, MakeEvent(EventKind::ScrollWheel, 1));
    EXPECT_EQ(16, row.GetScrollPos().cx);
    Send(row, MakeEvent(EventKind::KeyDown, 0, VK_DOWN));
    EXPECT_EQ(24, row.GetScrollPos().cx);
    Send(row, MakeEvent(EventKind::KeyDown, 0, VK_END));
    EXPECT_EQ(row.GetScrollRange().cx, row.GetScrollPos().cx);
}

TEST(Scrolling, WithoutBarsTheWheelAndKeysChangeNothing)
{
    ControlPtr owner = MakeControl<CHorizontalLayoutUI>();
    CContainerUI& row = *AsContainer(owner.get());
    CControlUI& child = AddPlain(row, 300, 0);
    row.Place(RECT{0, 0, 100, 100});
    Send(row, MakeEvent(EventKind::ScrollWheel, 1));
    Send(row, MakeEvent(EventKind::ScrollWheel, 0));
    Send(row, MakeEvent(EventKind::KeyDown, 0, VK_DOWN));
    EXPECT_EQ(0, child.GetX());
    EXPECT_EQ(0, row.GetScrollPos().cx);
    // A wheel turned over a child reaches the container through the child.
    Send(child, MakeEvent(EventKind::ScrollWheel, 1));
    EXPECT_EQ(0, child.GetX());
}

}  // namespace
}  // namespace SkinUI
