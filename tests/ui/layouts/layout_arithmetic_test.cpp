// Placement in rows and columns with exact rectangles: fixed, adjustable and floating children
// with padding, inset and gaps, the remainder going to the last adjustable child, alignment
// across the line, size limits, the installer's own numbers, and relayouts that keep a moved
// floating child where it was.
#include "tests/ui/layouts/layout_test_support.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/layouts/vertical_layout_ui.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using namespace Testing;

#define EXPECT_RECT(expected, actual)                                                              \
    EXPECT_TRUE(SameRect(expected, actual))                                                        \
        << "expected " << Show(expected) << ", got " << Show(actual)

// A layout that records what it hands to UpdateScrollBars.
template <typename Layout>
class RecordingLayout : public Layout {
public:
    void UpdateScrollBars(const RECT& inner, int neededWidth, int neededHeight) override
    {
        lastInner = inner;
        needed = SIZE{neededWidth, neededHeight};
        ++updates;
        Layout::UpdateScrollBars(inner, neededWidth, neededHeight);
    }
    RECT lastInner = {};
    SIZE needed = {-1, -1};
    int updates = 0;
};

template <typename Layout>
struct Owned {
    ControlPtr owner = MakeControl<Layout>();
    Layout& layout = static_cast<Layout&>(*owner);
};

TEST(LayoutArithmetic, TwoAdjustableChildrenIn101PixelsGet50And51)
{
    Owned<CHorizontalLayoutUI> row;
    CControlUI& first = AddPlain(row.layout);
    CControlUI& second = AddPlain(row.layout);
    row.layout.Place(RECT{0, 0, 101, 20});
    EXPECT_RECT((RECT{0, 0, 50, 20}), first.GetRect());
    EXPECT_RECT((RECT{50, 0, 101, 20}), second.GetRect());

    Owned<CVerticalLayoutUI> column;
    CControlUI& top = AddPlain(column.layout);
    CControlUI& bottom = AddPlain(column.layout);
    column.layout.Place(RECT{0, 0, 20, 101});
    EXPECT_RECT((RECT{0, 0, 20, 50}), top.GetRect());
    EXPECT_RECT((RECT{0, 50, 20, 101}), bottom.GetRect());
}

// A row at (10,20)-(310,120), inset 5,6,7,8 (inner 15,26-303,112: 288 x 86), gaps of 6: a
// fixed child of 40 with padding 2,3,4,5, an adjustable one, a floating one and an adjustable
// one held at 60 that, being the last, would take the remainder.
TEST(LayoutArithmetic, RowMixesFixedAdjustableAndFloatingChildrenWithPaddingAndInset)
{
    Owned<RecordingLayout<CHorizontalLayoutUI>> row;
    row.layout.ApplyAttribute(L"inset", L"5,6,7,8");
    row.layout.ApplyAttribute(L"childpadding", L"6");
    CControlUI& fixed = AddPlain(row.layout, 40);
    fixed.SetPadding(RECT{2, 3, 4, 5});
    CControlUI& adjustable = AddPlain(row.layout);
    CControlUI& floating = AddFloating(row.layout, RECT{1, 2, 11, 12});
    CControlUI& held = AddPlain(row.layout);
    held.SetMaxWidth(60);
    row.layout.Place(RECT{10, 20, 310, 120});

    // Fixed: 2 + 40 + 4 and two gaps = 58; each adjustable child (288 - 58) / 2 = 115.
    EXPECT_RECT((RECT{17, 29, 57, 107}), fixed.GetRect()) << "padding on all four sides";
    EXPECT_RECT((RECT{67, 26, 182, 112}), adjustable.GetRect());
    EXPECT_RECT((RECT{11, 22, 21, 32}), floating.GetRect()) << "from the layout's corner";
    EXPECT_RECT((RECT{188, 26, 248, 112}), held.GetRect()) << "the remainder 115 held at 60";
    EXPECT_RECT((RECT{15, 26, 303, 112}), row.layout.lastInner);
    EXPECT_EQ(40 + 2 + 4 + 115 + 60 + 2 * 6, row.layout.needed.cx);
    EXPECT_EQ(0 + 3 + 5, row.layout.needed.cy) << "the thickest child with its padding";
}

TEST(LayoutArithmetic, ColumnMirrorsTheRow)
{
    Owned<CVerticalLayoutUI> column;
    column.layout.ApplyAttribute(L"inset", L"6,5,8,7");
    column.layout.ApplyAttribute(L"childpadding", L"6");
    CControlUI& fixed = AddPlain(column.layout, 0, 40);
    fixed.SetPadding(RECT{3, 2, 5, 4});
    CControlUI& adjustable = AddPlain(column.layout);
    CControlUI& floating = AddFloating(column.layout, RECT{2, 1, 12, 11});
    CControlUI& held = AddPlain(column.layout);
    held.SetMaxHeight(60);
    column.layout.Place(RECT{20, 10, 120, 310});

    EXPECT_RECT((RECT{29, 17, 107, 57}), fixed.GetRect());
    EXPECT_RECT((RECT{26, 67, 112, 182}), adjustable.GetRect());
    EXPECT_RECT((RECT{22, 11, 32, 21}), floating.GetRect());
    EXPECT_RECT((RECT{26, 188, 112, 248}), held.GetRect());
}

TEST(LayoutArithmetic, ChildrenAlignAcrossTheLine)
{
    Owned<CHorizontalLayoutUI> row;
    CControlUI& a = AddPlain(row.layout, 10, 20);
    CControlUI& b = AddPlain(row.layout, 10, 21);
    b.SetPadding(RECT{0, 0, 0, 4});
    row.layout.Place(RECT{0, 0, 100, 51});
    EXPECT_RECT((RECT{0, 0, 10, 20}), a.GetRect()) << "top by default";

    row.layout.ApplyAttribute(L"childvalign", L"vcenter");
    row.layout.Place(RECT{0, 0, 100, 51});
    EXPECT_RECT((RECT{0, 15, 10, 35}), a.GetRect()) << "centre 25, less half of 20";
    EXPECT_RECT((RECT{10, 15, 20, 36}), b.GetRect()) << "25 - 21/2 (truncated) = 15";

    row.layout.ApplyAttribute(L"childvalign", L"bottom");
    row.layout.Place(RECT{0, 0, 100, 51});
    EXPECT_RECT((RECT{0, 31, 10, 51}), a.GetRect());
    EXPECT_RECT((RECT{10, 26, 20, 47}), b.GetRect()) << "above its bottom padding";

    row.layout.ApplyAttribute(L"childvalign", L"middle");  // not a word it knows
    EXPECT_EQ(ChildVAlignBottom, row.layout.GetChildVAlign());

    Owned<CVerticalLayoutUI> column;
    CControlUI& c = AddPlain(column.layout, 20, 10);
    column.layout.ApplyAttribute(L"childalign", L"center");
    column.layout.Place(RECT{0, 0, 51, 100});
    EXPECT_RECT((RECT{15, 0, 35, 10}), c.GetRect());
    column.layout.ApplyAttribute(L"childalign", L"right");
    column.layout.Place(RECT{0, 0, 51, 100});
    EXPECT_RECT((RECT{31, 0, 51, 10}), c.GetRect());
}

TEST(LayoutArithmetic, SizeLimitsHoldAdjustableAndFixedChildren)
{
    Owned<CHorizontalLayoutUI> row;
    CControlUI& wide = AddPlain(row.layout);
    wide.SetMinWidth(80);
    CControlUI& narrow = AddPlain(row.layout);
    CControlUI& capped = AddPlain(row.layout, 50);
    capped.SetMaxWidth(30);
    capped.SetMinHeight(40);
    capped.SetMaxHeight(10);  // the larger of min and max counts
    row.layout.Place(RECT{0, 0, 130, 30});
    // Fixed 30; the share (130 - 30) / 2 = 50 is raised to 80 for the first; the last takes
    // what is left, 130 - 80 - 30 = 20.
    EXPECT_RECT((RECT{0, 0, 80, 30}), wide.GetRect());
    EXPECT_RECT((RECT{80, 0, 100, 30}), narrow.GetRect());
    EXPECT_RECT((RECT{100, 0, 130, 40}), capped.GetRect()) << "its min height beats the room";

    // No room left: the last adjustable child gets 0, never less.
    Owned<CHorizontalLayoutUI> full;
    AddPlain(full.layout, 100);
    CControlUI& squeezed = AddPlain(full.layout);
    full.layout.Place(RECT{0, 0, 60, 10});
    EXPECT_EQ(0, squeezed.GetWidth());
    EXPECT_EQ(100, squeezed.GetX());
}

TEST(LayoutArithmetic, HiddenChildrenTakeNoRoom)
{
    Owned<CHorizontalLayoutUI> row;
    row.layout.SetChildPadding(10);
    CControlUI& hidden = AddPlain(row.layout, 40);
    hidden.SetVisible(false);
    CControlUI& a = AddPlain(row.layout);
    CControlUI& b = AddPlain(row.layout);
    row.layout.Place(RECT{0, 0, 110, 10});
    EXPECT_RECT((RECT{0, 0, 50, 10}), a.GetRect());
    EXPECT_RECT((RECT{60, 0, 110, 10}), b.GetRect());
}

TEST(LayoutArithmetic, EmptyOrAllFloatingLayoutsNeedNothing)
{
    Owned<RecordingLayout<CHorizontalLayoutUI>> empty;
    empty.layout.SetInset(RECT{1, 2, 3, 4});
    empty.layout.Place(RECT{0, 0, 50, 40});
    EXPECT_EQ(1, empty.layout.updates) << "scroll bars are updated with nothing in the layout";
    EXPECT_EQ(0, empty.layout.needed.cx);
    EXPECT_EQ(0, empty.layout.needed.cy);
    EXPECT_RECT((RECT{1, 2, 47, 36}), empty.layout.lastInner);

    // Gaps between laid-out children only: with every child floating none is counted (not
    // minus one gap).
    Owned<RecordingLayout<CVerticalLayoutUI>> floating;
    floating.layout.SetChildPadding(10);
    AddFloating(floating.layout, RECT{0, 0, 5, 5});
    AddFloating(floating.layout, RECT{5, 5, 10, 10});
    floating.layout.Place(RECT{0, 0, 50, 40});
    EXPECT_EQ(0, floating.layout.needed.cx);
    EXPECT_EQ(0, floating.layout.needed.cy);
}

// The install options window: a floating close button at "1065,20,0,0" with 18 x 18 and the
// one laid-out text with padding 451,125,0,0 and 90 x 27 in the 1124 x 557 root.
TEST(LayoutArithmetic, OptionsWindowNumbers)
{
    OptionsTree tree = MakeOptionsTree();
    tree.layout->Place(RECT{0, 0, 1124, 557});
    CControlUI* close = tree.layout->ChildAt(0);
    EXPECT_RECT((RECT{1065, 20, 1083, 38}), close->GetRect());
    EXPECT_RECT((RECT{451, 125, 541, 152}), tree.text->GetRect());
    EXPECT_RECT((RECT{830, 440, 1016, 497}), tree.layout->ChildAt(17)->GetRect());

    // A floating child takes its fixed size, whatever its limits ("installpathEdit").
    CControlUI* folder = tree.layout->ChildAt(3);
    folder->SetMaxWidth(29);
    folder->SetMaxHeight(35);
    tree.layout->Place(RECT{0, 0, 1124, 557});
    EXPECT_RECT((RECT{984, 170, 1019, 199}), folder->GetRect());
}

TEST(LayoutArithmetic, RelayoutsKeepAMovedFloatingChildAndFollowAnchors)
{
    Owned<CHorizontalLayoutUI> row;
    CControlUI& picture = AddFloating(row.layout, RECT{10, 10, 30, 30});
    CControlUI& anchored = AddFloating(row.layout, RECT{-20, 0, -10, 10});
    anchored.SetFloatAnchors(FloatAnchors{1, 0.5, 1, 0.5});
    row.layout.Place(RECT{100, 100, 300, 200});
    EXPECT_RECT((RECT{110, 110, 130, 130}), picture.GetRect());
    EXPECT_RECT((RECT{280, 150, 290, 160}), anchored.GetRect());

    // The program moves the picture, as the download window moves its pictures.
    picture.Place(RECT{50, 40, 70, 60});
    row.layout.Place(RECT{100, 100, 300, 200});
    EXPECT_RECT((RECT{150, 140, 170, 160}), picture.GetRect()) << "the relayout keeps it";

    // The window grows: zero anchors stay put, anchored edges follow (truncated toward 0).
    row.layout.Place(RECT{100, 100, 401, 301});
    EXPECT_RECT((RECT{150, 140, 170, 160}), picture.GetRect());
    EXPECT_RECT((RECT{381, 200, 391, 210}), anchored.GetRect());
}

TEST(LayoutArithmetic, PlainContainerStacksChildrenOverItsInnerRectangle)
{
    ControlPtr owner = MakeControl<CContainerUI>();
    CContainerUI& box = *AsContainer(owner.get());
    box.SetInset(RECT{5, 5, 5, 5});
    CControlUI& full = AddPlain(box);
    CControlUI& small = AddPlain(box);
    small.SetMaxWidth(20);
    small.SetMinHeight(200);
    CControlUI& floating = AddFloating(box, RECT{0, 0, 4, 4});
    box.Place(RECT{10, 10, 110, 60});
    EXPECT_RECT((RECT{15, 15, 105, 55}), full.GetRect());
    EXPECT_RECT((RECT{15, 15, 35, 215}), small.GetRect()) << "limits win over the room";
    EXPECT_RECT((RECT{10, 10, 14, 14}), floating.GetRect()) << "floating ones ignore the inset";
}

}  // namespace
}  // namespace SkinUI
