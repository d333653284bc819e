// CWndShadow on real popups: the shadow window's kind and place, the pushed pixels, one shadow
// per parent, following the parent's moves, sizes, showing, hiding and destruction, the
// setters' ranges, parents without size and shaped parents.
#include "tests/ui/window/shadow_window_fixture.h"
#include "ui/render/gdi_handles.h"
#include "ui/window/region_shape.h"

#include <memory>

using namespace SkinUI;
using namespace SkinUITest;

TEST_F(ShadowWindowTest, AttachMakesAnOwnedClickThroughLayeredPopupWithTheComputedShadow)
{
    ParentWindow parent(100, 120, 200, 150);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(parent.get()));
    const HWND window = ShadowWindowOf(parent.get());
    ASSERT_TRUE(window) << "owned by the parent";
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT), WS_EX_LAYERED | WS_EX_TRANSPARENT);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_POPUP);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetForegroundWindow(), window);
    EXPECT_EQ(SendMessageW(window, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);

    ASSERT_EQ(Pushed().size(), 1u);
    const PushedBitmap& pushed = Pushed()[0];
    EXPECT_TRUE(pushed.accepted);
    EXPECT_EQ(pushed.window, window);
    EXPECT_EQ(pushed.place.x, 105) << "the parent's left + 5 - 0";
    EXPECT_EQ(pushed.place.y, 125);
    EXPECT_EQ(pushed.size.cx, 200);
    EXPECT_EQ(pushed.size.cy, 150);
    EXPECT_EQ(pushed.flags, DWORD{ULW_ALPHA});
    EXPECT_EQ(pushed.blend.SourceConstantAlpha, 255);
    EXPECT_EQ(pushed.blend.AlphaFormat, AC_SRC_ALPHA);
    const RECT placed = WindowRectOf(window);
    EXPECT_EQ(placed.left, 105);
    EXPECT_EQ(placed.top, 125);
    EXPECT_EQ(placed.right, 305);
    EXPECT_EQ(placed.bottom, 275);

    ASSERT_EQ(pushed.pixels.size(), 200u * 150u) << "a top-down 32-bit bitmap";
    EXPECT_EQ(pushed.at(100, 100), 0u) << "over the parent";
    EXPECT_EQ(pushed.at(199, 100), 0x19000000u) << "the soft right edge";
    EXPECT_EQ(pushed.at(100, 149), 0x96000000u) << "below the parent: darkness 150";
    EXPECT_EQ(pushed.pixels, ExpectedShadow(WindowShape::Rectangle(200, 150), ShadowLook()));
}

TEST_F(ShadowWindowTest, ASecondAttachOfTheShadowOrTheParentIsRefused)
{
    ParentWindow parent(100, 120, 200, 150);
    ParentWindow other(400, 120, 100, 100);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(parent.get()));
    EXPECT_FALSE(shadow.Attach(parent.get()));
    EXPECT_FALSE(shadow.Attach(other.get())) << "one parent per shadow";
    CWndShadow second;
    EXPECT_FALSE(second.Attach(parent.get())) << "one shadow per parent";
    EXPECT_FALSE(ShadowWindowOf(other.get()));
    EXPECT_EQ(Pushed().size(), 1u);

    // The parent's procedure chain has our procedure once: a message arrives once, and the
    // parent keeps working (a doubled subclass would call itself until the stack ran out).
    SendMessageW(parent.get(), WM_APP, 0, 0);
    EXPECT_EQ(ParentWindow::AppMessages(), 1);
    SetWindowPos(parent.get(), nullptr, 0, 0, 150, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(second.Attach(other.get())) << "another parent is fine";
    EXPECT_FALSE(CWndShadow().Attach(nullptr));
    EXPECT_FALSE(CWndShadow().Attach(reinterpret_cast<HWND>(0x1234))) << "not a window";
}

TEST_F(ShadowWindowTest, FollowsTheParentsMovesAndSizesGrowingOnlyAtItsNextPaint)
{
    ParentWindow parent(100, 120, 200, 150);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(parent.get()));
    const HWND window = ShadowWindowOf(parent.get());
    ASSERT_EQ(Pushed().size(), 1u);

    SetWindowPos(parent.get(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(WindowRectOf(window).left, 305);
    EXPECT_EQ(WindowRectOf(window).top, 205);
    EXPECT_EQ(Pushed().size(), 1u) << "a move only moves";

    // The first size message counts as growing (no size is known yet): pushed at the paint.
    SetWindowPos(parent.get(), nullptr, 0, 0, 190, 140, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Pushed().size(), 1u);
    UpdateWindow(parent.get());
    ASSERT_EQ(Pushed().size(), 2u);
    EXPECT_EQ(Pushed().back().size.cx, 190);

    SetWindowPos(parent.get(), nullptr, 0, 0, 180, 130, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(Pushed().size(), 3u) << "shrinking pushes at once";
    EXPECT_EQ(Pushed().back().size.cx, 180);
    EXPECT_EQ(Pushed().back().size.cy, 130);
    EXPECT_EQ(Pushed().back().pixels,
              ExpectedShadow(WindowShape::Rectangle(180, 130), ShadowLook()));
    UpdateWindow(parent.get());
    EXPECT_EQ(Pushed().size(), 3u) << "nothing pending";

    SetWindowPos(parent.get(), nullptr, 0, 0, 230, 130, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Pushed().size(), 3u) << "growing waits for the paint";
    UpdateWindow(parent.get());
    ASSERT_EQ(Pushed().size(), 4u);
    EXPECT_EQ(Pushed().back().size.cx, 230);
    const RECT placed = WindowRectOf(window);
    EXPECT_EQ(placed.left, 305);
    EXPECT_EQ(placed.right - placed.left, 230);
    EXPECT_EQ(placed.bottom - placed.top, 130);

    SendMessageW(parent.get(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(Pushed().size(), 5u) << "the end of a size-or-move loop pushes";
}

TEST_F(ShadowWindowTest, HidesWithTheParentAndWhileItIsMinimisedOrMaximised)
{
    ParentWindow parent(100, 120, 200, 150);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(parent.get()));
    const HWND window = ShadowWindowOf(parent.get());
    ASSERT_TRUE(IsWindowVisible(window));

    ShowWindow(parent.get(), SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(window));
    SendMessageW(parent.get(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(Pushed().size(), 1u) << "a hidden shadow is not updated";

    ShowWindow(parent.get(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(window));
    UpdateWindow(parent.get());
    EXPECT_EQ(Pushed().size(), 2u) << "showing the parent pushes at its paint";

    ShowWindow(parent.get(), SW_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(window));
    ShowWindow(parent.get(), SW_RESTORE);
    EXPECT_TRUE(IsWindowVisible(window));
    UpdateWindow(parent.get());
    EXPECT_EQ(WindowRectOf(window).left, 105);

    ShowWindow(parent.get(), SW_MAXIMIZE);
    EXPECT_FALSE(IsWindowVisible(window));
    ShowWindow(parent.get(), SW_RESTORE);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(ShadowWindowTest, AHiddenOrMaximisedParentGetsItsShadowWhenShownNormally)
{
    ParentWindow hidden(100, 120, 200, 150, WS_POPUP);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(hidden.get()));
    const HWND window = ShadowWindowOf(hidden.get());
    ASSERT_TRUE(window);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(shadow.SetDarkness(10));
    EXPECT_TRUE(Pushed().empty()) << "nothing is pushed for a hidden parent";
    ShowWindow(hidden.get(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(window));
    UpdateWindow(hidden.get());
    ASSERT_EQ(Pushed().size(), 1u);
    ShadowLook look;
    look.darkness = 10;
    EXPECT_EQ(Pushed()[0].pixels, ExpectedShadow(WindowShape::Rectangle(200, 150), look));

    ParentWindow maximised(100, 120, 200, 150, WS_POPUP);
    ShowWindow(maximised.get(), SW_MAXIMIZE);
    CWndShadow second;
    ASSERT_TRUE(second.Attach(maximised.get()));
    EXPECT_FALSE(IsWindowVisible(ShadowWindowOf(maximised.get())));
    EXPECT_EQ(Pushed().size(), 1u);
    ShowWindow(maximised.get(), SW_RESTORE);
    EXPECT_TRUE(IsWindowVisible(ShadowWindowOf(maximised.get())));
}

TEST_F(ShadowWindowTest, DiesWithTheParentAndCanThenFollowAnother)
{
    auto parent = std::make_unique<ParentWindow>(100, 120, 200, 150);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(parent->get()));
    const HWND window = ShadowWindowOf(parent->get());
    ASSERT_TRUE(window);
    parent.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(shadow.SetDarkness(200)) << "nothing to update, and no dead window touched";

    ParentWindow next(50, 60, 120, 90);
    ASSERT_TRUE(shadow.Attach(next.get()));
    EXPECT_TRUE(IsWindowVisible(ShadowWindowOf(next.get())));
    ASSERT_FALSE(Pushed().empty());
    EXPECT_EQ(Pushed().back().size.cx, 120);
    EXPECT_EQ(Pushed().back().at(60, 89), 0xC8000000u) << "the darkness set meanwhile";
}

TEST_F(ShadowWindowTest, SettersCheckTheirRangesAndUpdateAVisibleShadowAtOnce)
{
    ParentWindow parent(100, 120, 200, 150);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(parent.get()));
    ShadowLook look;
    size_t pushes = 1;
    auto expectPushed = [&](const char* what) {
        SCOPED_TRACE(what);
        ASSERT_EQ(Pushed().size(), ++pushes);
        const PushedBitmap& pushed = Pushed().back();
        EXPECT_EQ(pushed.place.x, 100 + look.xOffset - look.size);
        EXPECT_EQ(pushed.place.y, 120 + look.yOffset - look.size);
        EXPECT_EQ(pushed.pixels, ExpectedShadow(WindowShape::Rectangle(200, 150), look));
    };

    EXPECT_FALSE(shadow.SetDarkness(256));
    EXPECT_FALSE(shadow.SetDarkness(-1));
    EXPECT_FALSE(shadow.SetSharpness(21));
    EXPECT_FALSE(shadow.SetSharpness(-1));
    EXPECT_FALSE(shadow.SetPosition(21, 0));
    EXPECT_FALSE(shadow.SetPosition(0, -21));
    EXPECT_EQ(Pushed().size(), pushes) << "refused values change nothing";

    EXPECT_TRUE(shadow.SetDarkness(255));
    look.darkness = 255;
    expectPushed("darkness 255");
    EXPECT_TRUE(shadow.SetSharpness(20));
    look.sharpness = 20;
    expectPushed("sharpness 20");
    EXPECT_TRUE(shadow.SetSharpness(0));
    look.sharpness = 0;
    expectPushed("sharpness 0");
    EXPECT_TRUE(shadow.SetPosition(-20, 20));
    look.xOffset = -20;
    look.yOffset = 20;
    expectPushed("position -20, 20");
    shadow.SetSize(12);
    look.size = 12;
    expectPushed("size 12");
    EXPECT_EQ(Pushed().back().size.cx, 224);
    shadow.SetSize(-5);
    look.size = -5;
    expectPushed("size -5");
    EXPECT_EQ(Pushed().back().size.cy, 140);
    shadow.SetColor(RGB(200, 100, 50));
    look.color = RGB(200, 100, 50);
    expectPushed("a colour");
    EXPECT_EQ(Pushed().back().at(20, 139), 0xFFC86432u) << "opaque below the parent";

    shadow.SetSize(-100);  // 200 - 200 wide: no bitmap at all
    EXPECT_EQ(Pushed().size(), pushes) << "no update when a dimension is 0 or less";
    EXPECT_TRUE(IsWindowVisible(ShadowWindowOf(parent.get())));

    ShowWindow(parent.get(), SW_HIDE);
    shadow.SetSize(0);
    EXPECT_TRUE(shadow.SetDarkness(30));
    EXPECT_EQ(Pushed().size(), pushes) << "a hidden shadow is updated when shown";
}

TEST_F(ShadowWindowTest, AParentWithoutSizeGetsNoUpdate)
{
    ParentWindow empty(100, 120, 0, 0);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(empty.get()));
    SendMessageW(empty.get(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_TRUE(Pushed().empty());
    SetWindowPos(empty.get(), nullptr, 0, 0, 30, 0, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(empty.get());
    SendMessageW(empty.get(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_TRUE(Pushed().empty());
}

TEST_F(ShadowWindowTest, AShapedParentIsNeverCoveredByItsShadow)
{
    ParentWindow parent(100, 120, 200, 150);
    CWndShadow shadow;
    ASSERT_TRUE(shadow.Attach(parent.get()));
    ASSERT_TRUE(shadow.SetPosition(3, 3));
    ASSERT_TRUE(shadow.SetDarkness(255));
    SetWindowRgn(parent.get(), CreateRoundRectRgn(0, 0, 201, 151, 60, 60), TRUE);
    SendMessageW(parent.get(), WM_EXITSIZEMOVE, 0, 0);

    const PushedBitmap& pushed = Pushed().back();
    ASSERT_EQ(pushed.pixels.size(), 200u * 150u);
    Region region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(parent.get(), region.get()), ERROR);
    ShadowLook look;
    look.xOffset = look.yOffset = 3;
    look.darkness = 255;
    EXPECT_EQ(pushed.pixels, ExpectedShadow(ShapeFromRegion(region.get(), 200, 150), look));
    int covered = 0;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (!PtInRegion(region.get(), x + 3, y + 3)) continue;
            ++covered;
            ASSERT_EQ(pushed.at(x, y), 0u) << "over the parent at " << x + 3 << "," << y + 3;
        }
    }
    EXPECT_GT(covered, 20000);
    EXPECT_EQ(pushed.at(100, 149), 0xFF000000u) << "below the parent";
}
