// A control's lifetime: overlays set before the control has a manager, the same overlay set
// again, and destruction that leaves the manager no reference to the control (a recording
// control notices any call that reaches it afterwards).
#include "tests/ui/core/paint_target.h"
#include "tests/ui/core/recording_control.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/core/control_ui.h"
#include "ui/core/ui_manager.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using Testing::CallLog;
using Testing::PaintTarget;
using Testing::RecordingControl;

struct DestroyCounter {
    int destroyed = 0;
    bool OnDestroy(void*)
    {
        ++destroyed;
        return true;
    }
};

TEST(ControlLifetime, TheGhostOfADestroyedControlRecordsStaleCalls)
{
    CallLog log;
    ControlPtr control = MakeControl<RecordingControl>(log, L"a");
    CControlUI* stale = control.get();
    ControlEvent event;
    event.kind = EventKind::MouseEnter;
    stale->DispatchEvent(event);
    EXPECT_EQ((std::vector<std::wstring>{L"a MouseEnter"}), log.calls);
    control.reset();
    EXPECT_TRUE(log.afterDestruction.empty());
    // Deliberately through the dangling pointer: the ghost stands there and records it.
    stale->DispatchEvent(event);
    (void)stale->GetName();
    EXPECT_EQ((std::vector<std::wstring>{L"DispatchEvent MouseEnter", L"GetName"}),
              log.afterDestruction);
}

TEST(ControlLifetime, AnOverlaySetWithoutAManagerIsAdoptedWhenTheControlJoinsOne)
{
    CallLog log;
    DestroyCounter counter;
    ControlPtr owner = MakeControl<CHorizontalLayoutUI>();
    auto& root = static_cast<CHorizontalLayoutUI&>(*owner);
    CControlUI& child = *root.AddChild(MakeControl<CControlUI>());
    ControlPtr overlayOwner = MakeControl<RecordingControl>(log, L"overlay");
    CControlUI& overlay = *overlayOwner;
    overlay.SetName(L"cover");
    overlay.OnDestroy.Add(MakeDelegate(&counter, &DestroyCounter::OnDestroy));
    child.SetOverlay(std::move(overlayOwner));
    EXPECT_EQ(nullptr, overlay.GetWindowManager());
    EXPECT_EQ(&child, overlay.GetParent());

    // The same overlay again keeps it (it is neither destroyed nor adopted twice).
    child.SetOverlay(ControlPtr(&overlay));
    EXPECT_EQ(&overlay, child.GetOverlay());
    EXPECT_EQ(0, counter.destroyed);

    CUIManager manager;
    manager.AttachRoot(std::move(owner));
    EXPECT_EQ(&manager, overlay.GetWindowManager());
    EXPECT_EQ(&overlay, manager.ControlByName(L"cover"));

    // A new overlay replaces (and destroys) the old one, which the manager forgets.
    child.SetOverlay(MakeControl<CControlUI>());
    EXPECT_EQ(1, counter.destroyed);
    EXPECT_EQ(nullptr, manager.ControlByName(L"cover"));
    EXPECT_EQ(&manager, child.GetOverlay()->GetWindowManager());
    EXPECT_TRUE(log.afterDestruction.empty());
}

TEST(ControlLifetime, ADestroyedControlLeavesNoReferenceInItsManager)
{
    CallLog log;
    PaintTarget target;
    CUIManager& manager = target.manager;
    ControlPtr owner = MakeControl<CHorizontalLayoutUI>();
    auto& root = static_cast<CHorizontalLayoutUI&>(*owner);
    manager.AttachRoot(std::move(owner));
    root.Place(RECT{0, 0, 400, 300});

    ControlPtr doomed = MakeControl<RecordingControl>(log, L"doomed", ControlFlagTabStop);
    doomed->SetName(L"doomed");
    manager.AdoptControls(doomed.get(), &root);
    doomed->Place(RECT{0, 0, 50, 50});
    doomed->SetFocus();
    ASSERT_EQ(doomed.get(), manager.Focus());
    ASSERT_TRUE(manager.StartTimer(doomed.get(), 5, 10000));
    manager.AddLeaveWatcher(doomed.get());
    manager.AddAfterPaint(doomed.get());
    manager.SendNotification(doomed.get(), L"queued", 0, 0, true);
    doomed.reset();

    EXPECT_EQ(nullptr, manager.Focus());
    EXPECT_EQ(nullptr, manager.ControlByName(L"doomed"));
    LRESULT result = 0;
    manager.HandleWindowMessage(WM_TIMER, 17, 0, result);
    manager.HandleWindowMessage(WM_SKIN_ASYNC_NOTIFY, 0, 0, result);
    manager.HandleWindowMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10), result);
    manager.HandleWindowMessage(WM_MOUSELEAVE, 0, 0, result);
    manager.FocusControl(&root);
    manager.MoveTabFocus(true);
    EXPECT_TRUE(log.afterDestruction.empty())
        << "first stale call: "
        << std::string(log.afterDestruction.front().begin(), log.afterDestruction.front().end());
}

}  // namespace
}  // namespace SkinUI
