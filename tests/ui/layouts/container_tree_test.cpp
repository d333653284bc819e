// The container's list: insert, move and remove with their index checks, adoption while the
// tree is built without a manager, children initialised before their container, removed
// children forgotten by the manager at once (a replacement of the same name is found),
// deferred deletion that runs, detached children alive and no longer painted, and the order
// of destruction.
#include "tests/ui/core/paint_target.h"
#include "tests/ui/core/recording_control.h"
#include "tests/ui/core/test_window.h"
#include "tests/ui/layouts/layout_test_support.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/layouts/vertical_layout_ui.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using namespace Testing;

ControlPtr Named(const wchar_t* name)
{
    ControlPtr control = MakeControl<CControlUI>();
    control->SetName(name);
    return control;
}

std::wstring Order(const CContainerUI& container)
{
    std::wstring names;
    for (int i = 0; i < container.ChildCount(); ++i) names += container.ChildAt(i)->GetName();
    return names;
}

TEST(ContainerTree, InsertMoveAndRemoveCheckTheirIndexes)
{
    ControlPtr owner = MakeControl<CContainerUI>();
    CContainerUI& box = *AsContainer(owner.get());
    EXPECT_EQ(&box, owner->QueryInterface(L"IContainer"));
    EXPECT_EQ(nullptr, AsContainer(Named(L"leaf").get()));
    CControlUI* a = box.AddChild(Named(L"a"));
    CControlUI* b = box.AddChild(Named(L"b"));
    CControlUI* d = box.AddChild(Named(L"d"));
    ASSERT_NE(nullptr, box.InsertChild(Named(L"c"), 2));
    EXPECT_EQ(L"abcd", Order(box));
    EXPECT_EQ(nullptr, box.AddChild(nullptr));
    EXPECT_EQ(nullptr, box.InsertChild(Named(L"x"), 5));
    EXPECT_EQ(nullptr, box.InsertChild(Named(L"x"), -1));
    EXPECT_NE(nullptr, box.InsertChild(Named(L"e"), 4)) << "at the end is an index too";
    EXPECT_TRUE(box.RemoveChildAt(4));
    EXPECT_EQ(nullptr, box.ChildAt(-1));
    EXPECT_EQ(nullptr, box.ChildAt(4));
    EXPECT_EQ(d, box.ChildAt(3));
    EXPECT_EQ(-1, box.IndexOfChild(nullptr));

    EXPECT_TRUE(box.MoveChild(a, 2));
    EXPECT_EQ(L"bcad", Order(box));
    EXPECT_TRUE(box.MoveChild(a, 0));
    EXPECT_FALSE(box.MoveChild(a, 4));
    EXPECT_FALSE(box.MoveChild(a, -1));
    ControlPtr stranger = Named(L"s");
    EXPECT_FALSE(box.MoveChild(stranger.get(), 0));
    EXPECT_TRUE(box.MoveChildRun(b, 2, 2));
    EXPECT_EQ(L"adbc", Order(box));
    EXPECT_TRUE(box.MoveChildRun(b, 2, 0));
    EXPECT_EQ(L"bcad", Order(box));
    EXPECT_FALSE(box.MoveChildRun(a, 3, 0)) << "the run runs past the end";
    EXPECT_FALSE(box.MoveChildRun(b, 2, 3)) << "its new place runs past the end";
    EXPECT_FALSE(box.MoveChildRun(b, 0, 1));
    EXPECT_EQ(L"bcad", Order(box));

    EXPECT_FALSE(box.RemoveChildAt(4));
    EXPECT_FALSE(box.RemoveChildAt(-1));
    EXPECT_FALSE(box.RemoveChild(stranger.get()));
    EXPECT_FALSE(box.RemoveChild(nullptr));
    EXPECT_EQ(nullptr, box.DetachChildAt(7));
    EXPECT_TRUE(box.RemoveChild(a));
    EXPECT_EQ(L"bcd", Order(box));
    EXPECT_EQ(2, box.FindSelectableItem(2, true));
    box.ChildAt(2)->SetEnabled(false);
    EXPECT_EQ(1, box.FindSelectableItem(2, false));
    EXPECT_EQ(-1, box.FindSelectableItem(2, true));
    EXPECT_EQ(-1, box.FindSelectableItem(9, false));

    // A hidden container hides what joins it; a detached child is no longer hidden by it.
    box.SetVisible(false);
    CControlUI* late = box.AddChild(Named(L"late"));
    EXPECT_FALSE(late->IsVisible());
    ControlPtr detached = box.DetachChild(late);
    EXPECT_TRUE(detached->IsVisible());
}

// Built without a manager (as the skin builder builds), adopted when the root is attached:
// children are initialised before their container, and their names are listed.
TEST(ContainerTree, ATreeBuiltWithoutManagerIsAdoptedWithChildrenInitialisedFirst)
{
    LifeLog log;
    ControlPtr root = MakeControl<CVerticalLayoutUI>();
    root->SetName(L"root");
    log.Watch(*root);
    CContainerUI* row =
        AsContainer(AsContainer(root.get())->AddChild(MakeControl<CHorizontalLayoutUI>()));
    row->SetName(L"row");
    log.Watch(*row);
    CControlUI* leaf = row->AddChild(Named(L"leaf"));
    log.Watch(*leaf);
    EXPECT_EQ(nullptr, leaf->GetWindowManager());
    EXPECT_EQ(row, leaf->GetParent());
    EXPECT_TRUE(log.events.empty()) << "nothing is initialised before a manager exists";

    TestWindow window(10, 10, 200, 100);
    window.manager().AttachRoot(std::move(root));
    EXPECT_EQ((std::vector<std::wstring>{L"init leaf", L"init row"}), log.events)
        << "the root has no parent, so only its children are initialised here";
    EXPECT_EQ(&window.manager(), leaf->GetWindowManager());
    EXPECT_EQ(leaf, window.manager().ControlByName(L"leaf"));
    EXPECT_EQ(row, window.manager().ControlByName(L"row"));

    // A child added to a tree that has a manager is adopted and initialised at once.
    CControlUI* late = row->AddChild(Named(L"late"));
    log.Watch(*late);  // after its init: watch only its destruction
    EXPECT_EQ(late, window.manager().ControlByName(L"late"));
    EXPECT_EQ(&window.manager(), late->GetWindowManager());
}

// A button that is hot, pushed, focused, has a timer and paints after the others: removing it
// drops all of that at once, its name goes to its replacement, and it is destroyed when the
// manager's clean-up message arrives.
TEST(ContainerTree, ARemovedChildIsForgottenAtOnceAndDeletedWhenTheQueueDrains)
{
    LifeLog log;
    TestWindow window(10, 10, 200, 100);
    CallLog calls;
    ControlPtr rootOwner = MakeControl<CHorizontalLayoutUI>();
    CContainerUI& root = *AsContainer(rootOwner.get());
    ControlPtr buttonOwner = MakeControl<RecordingControl>(calls, L"button");
    CControlUI* button = buttonOwner.get();
    button->SetName(L"button");
    FloatAt(*button, RECT{10, 10, 60, 60});
    root.AddChild(std::move(buttonOwner));
    CUIManager& manager = window.manager();
    manager.AttachRoot(std::move(rootOwner));
    log.Watch(*button);
    window.PaintNow();
    SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ASSERT_EQ(button, manager.HotControl());
    ASSERT_EQ(button, manager.PushedControl());
    ASSERT_EQ(button, manager.Focus());
    ASSERT_TRUE(manager.StartTimer(button, 7, 20));
    manager.AddAfterPaint(button);

    ASSERT_TRUE(root.RemoveChild(button));
    EXPECT_EQ(nullptr, manager.HotControl());
    EXPECT_EQ(nullptr, manager.PushedControl());
    EXPECT_EQ(nullptr, manager.Focus());
    EXPECT_FALSE(manager.IsMouseCaptured());
    EXPECT_EQ(nullptr, manager.ControlByName(L"button"));
    EXPECT_FALSE(manager.StopTimer(button, 7)) << "its timer is gone";
    EXPECT_TRUE(log.events.empty()) << "destroyed later, not inside the call";

    CControlUI* replacement = root.AddChild(Named(L"button"));
    EXPECT_EQ(replacement, manager.ControlByName(L"button"));

    SendMessageW(window.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    Pump(100);  // the clean-up message, timer ticks and a paint
    EXPECT_EQ((std::vector<std::wstring>{L"destroy button"}), log.events);
    EXPECT_TRUE(calls.afterDestruction.empty()) << "a call reached the destroyed control";
    EXPECT_EQ(replacement, manager.ControlByName(L"button")) << "the old one forgot only itself";
}

TEST(ContainerTree, DestructionAtOnceWithoutDeferringOrWithoutManager)
{
    LifeLog log;
    ControlPtr owner = MakeControl<CContainerUI>();
    CContainerUI& box = *AsContainer(owner.get());
    log.Watch(*box.AddChild(Named(L"a")));
    EXPECT_TRUE(box.RemoveChildAt(0));
    EXPECT_EQ((std::vector<std::wstring>{L"destroy a"}), log.events) << "no manager: at once";

    TestWindow window(10, 10, 100, 100);
    CContainerUI* root = AsContainer(owner.get());
    window.manager().AttachRoot(std::move(owner));
    root->SetDefersDestruction(false);
    log.Watch(*root->AddChild(Named(L"b")));
    log.Watch(*root->AddChild(Named(L"c")));
    root->RemoveAllChildren();
    EXPECT_EQ((std::vector<std::wstring>{L"destroy a", L"destroy b", L"destroy c"}), log.events);
    EXPECT_EQ(nullptr, window.manager().ControlByName(L"b"));
    EXPECT_EQ(0, root->ChildCount());

    // With deferring, RemoveAllChildren hands them over and the queue destroys them.
    root->SetDefersDestruction(true);
    log.Watch(*root->AddChild(Named(L"d")));
    root->RemoveAllChildren();
    EXPECT_EQ(nullptr, window.manager().ControlByName(L"d"));
    EXPECT_EQ(3u, log.events.size());
    Pump(50);
    EXPECT_EQ(L"destroy d", log.events.back());
}

TEST(ContainerTree, ADetachedChildStaysAliveUnpaintedAndCanJoinAgain)
{
    LifeLog log;  // outlives the window, whose tree destroys the child
    TestWindow window(10, 10, 100, 100);
    ControlPtr owner = MakeControl<CHorizontalLayoutUI>();
    CContainerUI& root = *AsContainer(owner.get());
    root.SetBkColor(0xFF0000FF);
    ControlPtr childOwner = Named(L"red");
    childOwner->SetBkColor(0xFFFF0000);
    FloatAt(*childOwner, RECT{10, 10, 50, 50});
    CControlUI* child = root.AddChild(std::move(childOwner));
    window.manager().AttachRoot(std::move(owner));
    log.Watch(*child);
    window.PaintNow();
    EXPECT_EQ(0xFF0000u, window.PrintedPixel(window.PrintClient(), 20, 20));

    ControlPtr detached = root.DetachChild(child);
    ASSERT_EQ(child, detached.get());
    EXPECT_EQ(nullptr, child->GetWindowManager());
    EXPECT_EQ(nullptr, child->GetParent());
    EXPECT_EQ(nullptr, window.manager().ControlByName(L"red"));
    window.PaintNow();
    Pump(50);
    EXPECT_EQ(0x0000FFu, window.PrintedPixel(window.PrintClient(), 20, 20)) << "no longer painted";
    EXPECT_TRUE(log.events.empty()) << "alive";

    root.AddChild(std::move(detached));
    window.PaintNow();
    EXPECT_EQ(0xFF0000u, window.PrintedPixel(window.PrintClient(), 20, 20));
    EXPECT_EQ(child, window.manager().ControlByName(L"red"));
}

TEST(ContainerTree, AContainerThatDoesNotOwnItsChildrenLetsThemGo)
{
    LifeLog log;
    ControlPtr owner = MakeControl<CContainerUI>();
    CContainerUI& box = *AsContainer(owner.get());
    box.SetOwnsChildren(false);
    CControlUI* kept = box.AddChild(Named(L"kept"));
    log.Watch(*kept);
    EXPECT_TRUE(box.RemoveChild(kept));
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(nullptr, kept->GetParent());
    ControlPtr(kept).reset();  // its owner destroys it
    EXPECT_EQ((std::vector<std::wstring>{L"destroy kept"}), log.events);
}

// Children in list order, then the scroll bars; a tree with a manager defers nothing.
TEST(ContainerTree, DestroyingAContainerDestroysChildrenInOrderThenItsBars)
{
    LifeLog log;
    TestWindow window(10, 10, 100, 100);
    ControlPtr owner = MakeControl<CVerticalLayoutUI>();
    CContainerUI& box = *AsContainer(owner.get());
    box.SetName(L"box");
    window.manager().AttachRoot(std::move(owner));
    box.SetScrollBars(true, true);
    box.GetVerticalBar()->SetName(L"vbar");
    box.GetHorizontalBar()->SetName(L"hbar");
    log.Watch(*box.GetVerticalBar());
    log.Watch(*box.GetHorizontalBar());
    log.Watch(*box.AddChild(Named(L"first")));
    log.Watch(*box.AddChild(Named(L"second")));
    log.Watch(box);
    window.manager().AttachRoot(MakeControl<CControlUI>());  // the old root is deferred
    Pump(50);
    EXPECT_EQ((std::vector<std::wstring>{L"destroy first", L"destroy second", L"destroy vbar",
                                         L"destroy hbar", L"destroy box"}),
              log.events);
}

}  // namespace
}  // namespace SkinUI

namespace SkinUI {
namespace {

using namespace Testing;

TEST(ContainerTree, AttributesAndTheEventsAContainerHandlesItself)
{
    struct Parent : CContainerUI {
        std::vector<EventKind> seen;
        void HandleEvent(ControlEvent& event) override { seen.push_back(event.kind); }
    };
    PaintTarget target;
    ControlPtr owner = MakeControl<Parent>();
    auto& parent = static_cast<Parent&>(*owner);
    CContainerUI& row = *AsContainer(parent.AddChild(MakeControl<CHorizontalLayoutUI>()));
    row.ApplyAttribute(L"childpadding", L"-5");
    EXPECT_EQ(0, row.GetChildPadding()) << "a negative padding becomes 0";
    row.ApplyAttribute(L"hscrollbarstyle", L"linesize=\"3\"");
    ASSERT_NE(nullptr, row.GetHorizontalBar());
    EXPECT_EQ(nullptr, row.GetVerticalBar());
    EXPECT_EQ(3, row.GetHorizontalBar()->GetLineSize());
    row.ApplyAttribute(L"hole", L"true");
    ASSERT_NE(nullptr, row.FindCustomAttribute(L"hole")) << "not a container attribute";
    target.manager.AdoptControls(&parent);
    parent.Place(RECT{0, 0, 100, 100});
    target.TakeInvalid();

    ControlEvent event;
    event.sender = &row;
    event.kind = EventKind::SetFocus;
    row.DispatchEvent(event);
    EXPECT_TRUE(row.IsFocused());
    const RECT invalid = target.TakeInvalid();
    EXPECT_TRUE(IsRectEmpty(&invalid)) << "nothing to repaint";

    // The wheel is the container's own while it takes the mouse, its parent's otherwise.
    event.kind = EventKind::ScrollWheel;
    row.DispatchEvent(event);
    EXPECT_TRUE(parent.seen.empty());
    row.SetMouseEnabled(false);
    row.DispatchEvent(event);
    EXPECT_EQ(std::vector<EventKind>{EventKind::ScrollWheel}, parent.seen);
    EXPECT_FALSE(row.GetHorizontalBar()->IsMouseEnabled()) << "the bars follow";
}

}  // namespace
}  // namespace SkinUI
