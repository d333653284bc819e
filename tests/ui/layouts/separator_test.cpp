// The separator of a layout, driven by the events the paint manager sends: the strip at either
// edge, the size cursor and the cursor flag, a drag that changes the fixed width within the
// limits (at once with "sepimm", else when the button goes up, a dark strip following the
// pointer meanwhile), the vertical mirror, and a separator on the root layout.
#include "tests/ui/core/test_window.h"
#include "tests/ui/layouts/layout_test_support.h"
#include "tests/ui/render/canvas.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/layouts/vertical_layout_ui.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using namespace Testing;

void Send(CControlUI& control, EventKind kind, POINT at)
{
    ControlEvent event;
    event.kind = kind;
    event.sender = &control;
    event.mouse = at;
    control.DispatchEvent(event);
}

// A pixel of the window's last paint, 0xRRGGBB.
uint32_t FramePixel(CUIManager& manager, int x, int y)
{
    const DibSection& frame = manager.OffscreenPixels();
    GdiFlush();
    return frame.pixels[static_cast<size_t>(y) * frame.width + x] & 0xFFFFFF;
}

void Drag(CControlUI& control, POINT from, POINT to)
{
    Send(control, EventKind::ButtonDown, from);
    Send(control, EventKind::MouseMove, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
    Send(control, EventKind::MouseMove, to);
    Send(control, EventKind::ButtonUp, to);
}

// A 400 x 100 window whose root row holds a panel (200 wide, separator of 6, between 120 and
// 260) and a filler that takes the rest.
class SeparatorWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ControlPtr rootOwner = MakeControl<CHorizontalLayoutUI>();
        root = static_cast<CHorizontalLayoutUI*>(rootOwner.get());
        root->SetBkColor(0xFFFFFFFF);
        panel =
            static_cast<CHorizontalLayoutUI*>(root->AddChild(MakeControl<CHorizontalLayoutUI>()));
        panel->ApplyAttributeList(
            L"width=\"200\" minwidth=\"120\" maxwidth=\"260\" sepwidth=\"6\"");
        filler = &AddPlain(*root);
        window.manager().AttachRoot(std::move(rootOwner));
        window.PaintNow();
    }
    // A whole drag, then the paint that lays the window out again.
    void DragAndPaint(CControlUI& layout, POINT from, POINT to)
    {
        Drag(layout, from, to);
        window.PaintNow();
    }
    TestWindow window{0, 0, 400, 100};
    CHorizontalLayoutUI* root = nullptr;
    CHorizontalLayoutUI* panel = nullptr;
    CControlUI* filler = nullptr;
};

TEST_F(SeparatorWindow, TheStripSetsTheSizeCursorWhileTheLayoutIsEnabled)
{
    EXPECT_TRUE(SameRect(RECT{194, 0, 200, 100}, panel->SeparatorStrip()));
    EXPECT_EQ(ControlFlagSetsCursor, panel->GetFlags() & ControlFlagSetsCursor);
    EXPECT_EQ(0u, root->GetFlags()) << "no separator, no cursor";
    Send(*panel, EventKind::SetCursor, POINT{196, 50});
    EXPECT_EQ(LoadCursorW(nullptr, IDC_SIZEWE), GetCursor());
    Send(*panel, EventKind::SetCursor, POINT{100, 50});
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());

    panel->SetEnabled(false);
    EXPECT_EQ(0u, panel->GetFlags());
    Send(*panel, EventKind::SetCursor, POINT{196, 50});
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());
    Drag(*panel, POINT{196, 50}, POINT{236, 50});
    EXPECT_EQ(200, panel->GetRequestedWidth()) << "a disabled layout is not dragged";
}

TEST_F(SeparatorWindow, ADragTakesEffectWhenTheButtonGoesUpWithinTheLimits)
{
    Send(*panel, EventKind::ButtonDown, POINT{197, 50});
    Send(*panel, EventKind::MouseMove, POINT{237, 50});
    EXPECT_EQ(200, panel->GetRequestedWidth()) << "not yet";
    window.manager().InvalidateAll();
    window.PaintNow();
    // The dark strip (0xAA000000 over white) at 234..240, the panel itself still 200 wide.
    CUIManager& manager = window.manager();
    EXPECT_TRUE(SkinUITest::sameColor(FramePixel(manager, 236, 50), 0x555555, 3))
        << std::hex << FramePixel(manager, 236, 50);
    EXPECT_EQ(0xFFFFFFu, FramePixel(manager, 232, 50));
    EXPECT_EQ(200, panel->GetWidth());
    Send(*panel, EventKind::ButtonUp, POINT{237, 50});
    EXPECT_EQ(240, panel->GetRequestedWidth());
    window.PaintNow();
    EXPECT_EQ(240, panel->GetWidth());
    EXPECT_EQ(240, filler->GetX()) << "the parent laid out again";
    EXPECT_EQ(0xFFFFFFu, FramePixel(manager, 236, 50));

    DragAndPaint(*panel, POINT{237, 50}, POINT{337, 50});
    EXPECT_EQ(260, panel->GetRequestedWidth()) << "held at the max width";
    DragAndPaint(*panel, POINT{257, 50}, POINT{57, 50});
    EXPECT_EQ(120, panel->GetRequestedWidth()) << "held at the min width";
    DragAndPaint(*panel, POINT{100, 50}, POINT{150, 50});
    EXPECT_EQ(120, panel->GetRequestedWidth()) << "pressed off the strip: no drag";
}

TEST_F(SeparatorWindow, AnImmediateSeparatorResizesAsThePointerMoves)
{
    panel->ApplyAttribute(L"sepimm", L"true");
    Send(*panel, EventKind::ButtonDown, POINT{197, 50});
    Send(*panel, EventKind::MouseMove, POINT{217, 50});
    EXPECT_EQ(220, panel->GetRequestedWidth());
    window.PaintNow();
    EXPECT_EQ(220, panel->GetWidth());
    Send(*panel, EventKind::MouseMove, POINT{207, 50});
    EXPECT_EQ(210, panel->GetRequestedWidth());
    Send(*panel, EventKind::ButtonUp, POINT{207, 50});
    EXPECT_EQ(210, panel->GetRequestedWidth());
}

TEST_F(SeparatorWindow, ALeftSeparatorGrowsToTheLeft)
{
    panel->ApplyAttribute(L"sepwidth", L"-6");
    EXPECT_TRUE(SameRect(RECT{0, 0, 6, 100}, panel->SeparatorStrip()));
    Drag(*panel, POINT{3, 50}, POINT{-27, 50});
    EXPECT_EQ(230, panel->GetRequestedWidth());
}

TEST_F(SeparatorWindow, ASeparatorOnTheRootLayoutAsksTheWindowForALayout)
{
    root->ApplyAttribute(L"sepwidth", L"4");
    Drag(*root, POINT{398, 50}, POINT{380, 50});
    EXPECT_EQ(382, root->GetRequestedWidth());
    EXPECT_TRUE(root->NeedsUpdate());
    window.PaintNow();
    EXPECT_EQ(400, root->GetWidth()) << "the root keeps filling the window";
}

TEST(Separator, AVerticalLayoutDragsItsHeight)
{
    ControlPtr owner = MakeControl<CVerticalLayoutUI>();
    auto& column = static_cast<CVerticalLayoutUI&>(*owner);
    column.ApplyAttributeList(L"sepheight=\"5\" minheight=\"50\"");
    column.Place(RECT{10, 10, 110, 210});
    EXPECT_TRUE(SameRect(RECT{10, 205, 110, 210}, column.SeparatorStrip()));
    Send(column, EventKind::SetCursor, POINT{50, 207});
    EXPECT_EQ(LoadCursorW(nullptr, IDC_SIZENS), GetCursor());
    Drag(column, POINT{50, 207}, POINT{50, 107});
    EXPECT_EQ(100, column.GetRequestedHeight());
    Drag(column, POINT{50, 207}, POINT{50, 0});
    EXPECT_EQ(50, column.GetRequestedHeight()) << "held at the min height";
}

}  // namespace
}  // namespace SkinUI
