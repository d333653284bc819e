// Placing controls: floating anchors that rewrite the fixed place, normalised and truncated
// values, the overlay's place, Offset, the invalidation clipped through the ancestors, and
// visibility with its focus loss.
#include "tests/ui/core/paint_target.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/core/control_ui.h"
#include "ui/core/ui_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace SkinUI {
namespace {

using Testing::PaintTarget;

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

bool Empty(RECT r)
{
    return IsRectEmpty(&r) != FALSE;
}

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// A container at `rect` with one plain child, both without a manager.
struct Pair {
    ControlPtr owner = MakeControl<CHorizontalLayoutUI>();
    CHorizontalLayoutUI& parent = static_cast<CHorizontalLayoutUI&>(*owner);
    CControlUI& child = *parent.AddChild(MakeControl<CControlUI>());
};

TEST(ControlPlacement, FloatingPlaceRewritesTheFixedPlaceSoRelayoutsKeepIt)
{
    Pair pair;
    pair.child.ApplyAttribute(L"float", L"0.5,0.5,0.5,0.5");
    pair.child.ApplyAttribute(L"pos", L"10,10,30,30");
    pair.parent.Place(RECT{100, 50, 300, 250});
    EXPECT_TRUE(SameRect(RECT{210, 160, 230, 180}, pair.child.GetRect()))
        << Show(pair.child.GetRect());

    // The program moves the picture (relative to the parent), as the download window does.
    pair.child.Place(RECT{50, 60, 90, 100});
    EXPECT_TRUE(SameRect(RECT{150, 110, 190, 150}, pair.child.GetRect()));
    EXPECT_EQ(-50, pair.child.GetFixedOffset().cx);
    EXPECT_EQ(-40, pair.child.GetFixedOffset().cy);
    EXPECT_EQ(40, pair.child.GetRequestedWidth());
    EXPECT_EQ(40, pair.child.GetRequestedHeight());

    pair.parent.Place(RECT{100, 50, 300, 250});
    EXPECT_TRUE(SameRect(RECT{150, 110, 190, 150}, pair.child.GetRect()))
        << "a relayout keeps the moved picture: " << Show(pair.child.GetRect());
    pair.parent.Place(RECT{100, 50, 400, 350});
    EXPECT_TRUE(SameRect(RECT{200, 160, 240, 200}, pair.child.GetRect()))
        << "and its anchors follow the parent: " << Show(pair.child.GetRect());
}

TEST(ControlPlacement, AnchorsAreTruncatedTowardZero)
{
    Pair pair;
    pair.child.SetFloatAnchors(FloatAnchors{-0.3333, 0.3333, 0.999, 1});
    pair.child.SetFloat(true);
    pair.parent.Place(RECT{0, 0, 200, 3});
    pair.child.Place(RECT{0, 0, 10, 10});
    // -66.66 becomes -66 (not -67), 0.9999 becomes 0, 199.8 becomes 199.
    EXPECT_EQ(66, pair.child.GetFixedOffset().cx);
    EXPECT_EQ(0, pair.child.GetFixedOffset().cy);
    EXPECT_EQ(10 - 199 - 66, pair.child.GetRequestedWidth());
    EXPECT_EQ(10 - 3 - 0, pair.child.GetRequestedHeight());
}

TEST(ControlPlacement, AbsurdAnchorsAreHeldWithinALimitInsteadOfWrapping)
{
    Pair pair;
    pair.child.ApplyAttribute(L"float", L"100000,-100000,0,0");
    pair.parent.Place(RECT{0, 0, 100000, 100000});
    pair.child.Place(RECT{10, 20, 30, 40});
    EXPECT_EQ(10 - (1 << 24), pair.child.GetFixedOffset().cx);
    EXPECT_EQ(20 + (1 << 24), pair.child.GetFixedOffset().cy);
    EXPECT_EQ(30 - 10 + (1 << 24), pair.child.GetRequestedWidth());
}

TEST(ControlPlacement, RectanglesAreNormalisedAndAFloaterWithoutParentStays)
{
    ControlPtr plain = MakeControl<CControlUI>();
    plain->Place(RECT{30, 40, 10, 20});
    EXPECT_TRUE(SameRect(RECT{30, 40, 30, 40}, plain->GetRect()));
    EXPECT_EQ(0, plain->GetWidth());

    ControlPtr floater = MakeControl<CControlUI>();
    floater->Place(RECT{1, 2, 3, 4});
    floater->SetFloat(true);
    floater->Place(RECT{10, 20, 30, 40});
    EXPECT_TRUE(SameRect(RECT{1, 2, 3, 4}, floater->GetRect()));
    EXPECT_EQ(0, floater->GetPosInParent().left) << "no parent: all zero";
}

TEST(ControlPlacement, TheOverlayCoversTheControlWithinItsLimitsOrByItsAnchors)
{
    CUIManager manager;
    ControlPtr owner = MakeControl<CControlUI>();
    CControlUI& control = *owner;
    manager.AdoptControls(&control);
    ControlPtr overlayOwner = MakeControl<CControlUI>();
    CControlUI& overlay = *overlayOwner;
    overlay.SetMaxWidth(50);
    overlay.SetMinHeight(100);
    control.SetOverlay(std::move(overlayOwner));
    EXPECT_EQ(&manager, overlay.GetWindowManager());
    EXPECT_EQ(&control, overlay.GetParent());

    control.Place(RECT{10, 20, 110, 80});
    EXPECT_TRUE(SameRect(RECT{10, 20, 60, 120}, overlay.GetRect())) << Show(overlay.GetRect());

    overlay.SetFloat(true);
    overlay.SetFloatAnchors(FloatAnchors{0.5, 0, 0.5, 1});
    overlay.SetFixedOffset(-5, 2);
    overlay.SetRequestedWidth(10);
    overlay.SetRequestedHeight(0);
    control.Place(RECT{10, 20, 110, 80});
    // Half of 100 minus 5, from the control's left; the whole height plus 2 below its top.
    EXPECT_TRUE(SameRect(RECT{55, 22, 65, 82}, overlay.GetRect())) << Show(overlay.GetRect());
}

TEST(ControlPlacement, OffsetAlwaysMovesTheOverlay)
{
    ControlPtr owner = MakeControl<CControlUI>();
    ControlPtr overlayOwner = MakeControl<CControlUI>();
    CControlUI& overlay = *overlayOwner;
    owner->SetOverlay(std::move(overlayOwner));
    owner->Place(RECT{0, 0, 10, 10});
    overlay.Place(RECT{0, 0, 10, 10});
    owner->Offset(5, 7, false);
    EXPECT_TRUE(SameRect(RECT{5, 7, 15, 17}, owner->GetRect()));
    EXPECT_TRUE(SameRect(RECT{5, 7, 15, 17}, overlay.GetRect()));

    // With a manager, and the control outside its parent (so nothing is invalidated).
    PaintTarget target;
    Pair pair;
    target.manager.AdoptControls(pair.owner.get());
    pair.parent.Place(RECT{0, 0, 100, 100});
    ControlPtr second = MakeControl<CControlUI>();
    CControlUI& secondOverlay = *second;
    pair.child.SetOverlay(std::move(second));
    pair.child.Place(RECT{200, 200, 220, 220});
    secondOverlay.Place(RECT{200, 200, 220, 220}, false);
    target.TakeInvalid();
    pair.child.Offset(10, 0, true);
    EXPECT_TRUE(SameRect(RECT{210, 200, 230, 220}, secondOverlay.GetRect()))
        << Show(secondOverlay.GetRect());
    EXPECT_TRUE(Empty(target.TakeInvalid()));
}

TEST(ControlPlacement, InvalidationIsClippedByEveryAncestor)
{
    PaintTarget target;
    ControlPtr rootOwner = MakeControl<CHorizontalLayoutUI>();
    auto& root = static_cast<CHorizontalLayoutUI&>(*rootOwner);
    auto& middle =
        static_cast<CHorizontalLayoutUI&>(*root.AddChild(MakeControl<CHorizontalLayoutUI>()));
    CControlUI& leaf = *middle.AddChild(MakeControl<CControlUI>());
    target.manager.AdoptControls(&root);
    root.Place(RECT{0, 0, 200, 200});
    middle.Place(RECT{50, 50, 150, 150});
    leaf.Place(RECT{100, 100, 300, 300});
    target.TakeInvalid();

    leaf.Invalidate();
    EXPECT_TRUE(SameRect(RECT{100, 100, 150, 150}, target.TakeInvalid()));

    // Place invalidates the old and the new rectangle together, clipped the same way.
    leaf.Place(RECT{60, 60, 70, 70});
    EXPECT_TRUE(SameRect(RECT{60, 60, 150, 150}, target.TakeInvalid()));

    leaf.Place(RECT{160, 160, 170, 170});
    target.TakeInvalid();
    leaf.Invalidate();
    EXPECT_TRUE(Empty(target.TakeInvalid())) << "outside its parent";

    leaf.Place(RECT{60, 60, 70, 70});
    target.TakeInvalid();
    middle.SetInnerVisible(false);
    leaf.SetInnerVisible(true);  // visible itself, below a hidden parent
    leaf.Place(RECT{70, 70, 80, 80});
    EXPECT_TRUE(Empty(target.TakeInvalid())) << "a hidden ancestor";
}

TEST(ControlPlacement, SizeListenersFireOnceEvenWhenTheyPlaceAgain)
{
    struct Resizer {
        int calls = 0;
        bool OnSize(void* control)
        {
            ++calls;
            static_cast<CControlUI*>(control)->Place(RECT{0, 0, 5, 5});
            return true;
        }
    } resizer;
    CUIManager manager;
    ControlPtr control = MakeControl<CControlUI>();
    control->OnSize.Add(MakeDelegate(&resizer, &Resizer::OnSize));
    control->Place(RECT{0, 0, 10, 10});
    EXPECT_EQ(0, resizer.calls) << "no manager yet";
    manager.AdoptControls(control.get());
    EXPECT_TRUE(control->NeedsUpdate());
    control->Place(RECT{0, 0, 10, 10});
    EXPECT_EQ(1, resizer.calls);
    EXPECT_FALSE(control->NeedsUpdate());
}

TEST(ControlVisibility, HidingTheFocusedControlClearsTheFocusEverywhere)
{
    CUIManager manager;
    ControlPtr rootOwner = MakeControl<CHorizontalLayoutUI>();
    auto& root = static_cast<CHorizontalLayoutUI&>(*rootOwner);
    CControlUI& child = *root.AddChild(MakeControl<CControlUI>());
    ControlPtr overlayOwner = MakeControl<CControlUI>();
    CControlUI& overlay = *overlayOwner;
    child.SetOverlay(std::move(overlayOwner));
    manager.AttachRoot(std::move(rootOwner));

    child.SetFocus();
    ASSERT_EQ(&child, manager.Focus());
    ASSERT_TRUE(child.IsFocused());
    child.SetVisible(false);
    EXPECT_EQ(nullptr, manager.Focus());
    EXPECT_FALSE(child.IsFocused());
    EXPECT_FALSE(overlay.IsVisible()) << "the overlay follows";
    child.SetVisible(true);
    EXPECT_TRUE(overlay.IsVisible());

    child.SetFocus();
    ASSERT_EQ(&child, manager.Focus());
    root.SetVisible(false);  // the parent imposes its visibility
    EXPECT_FALSE(child.IsVisible());
    EXPECT_FALSE(overlay.IsVisible());
    EXPECT_EQ(nullptr, manager.Focus());
    root.SetVisible(true);
    EXPECT_TRUE(child.IsVisible());
    EXPECT_TRUE(overlay.IsVisible());
}

}  // namespace
}  // namespace SkinUI
