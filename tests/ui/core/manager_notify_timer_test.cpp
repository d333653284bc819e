// Notifications (at once, queued through 0x8001 with the overwrite rule, nested loops) and
// timers (native ids from 17, re-arming, refusals, the wrap past ids still held).
#include "tests/ui/core/test_window.h"

#include <gtest/gtest.h>

#include <set>

using namespace SkinUI;
using namespace SkinUI::Testing;

namespace {

// Sees WM_TIMER before the manager and records the native ids; handles nothing.
class TimerIds : public IMessageFilterUI {
public:
    LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM, bool&) override
    {
        if (message == WM_TIMER) ids.push_back(wParam);
        return 0;
    }
    std::vector<WPARAM> ids;
};

struct Fixture {
    TestWindow window{10, 10, 200, 100};
    Tree tree = MakeTree({{0, 0, 50, 50}, {50, 0, 100, 50}});
    NotifyRecorder receiver;
    Fixture()
    {
        tree.children[0]->SetName(L"a");
        tree.children[1]->SetName(L"b");
        window.manager().AttachRoot(std::move(tree.root));
        window.PaintNow();  // "windowinit" goes before the receiver listens
        window.manager().AddReceiver(&receiver);
    }
    CUIManager& manager() { return window.manager(); }
};

bool RecordListener(void* param)
{
    auto* msg = static_cast<NotifyMsg*>(param);
    msg->lParam = 77;  // the receivers see what the sender's listeners left
    return true;
}

}  // namespace

TEST(ManagerNotifications, SynchronousGoesToTheSendersListenersThenToReceiversInOrder)
{
    Fixture f;
    NotifyRecorder second;
    f.manager().AddReceiver(&second);
    EXPECT_FALSE(f.manager().AddReceiver(&second));
    f.tree.children[0]->OnNotify.Add(MakeDelegate(&RecordListener));
    SendMessageW(f.window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));
    f.manager().SendNotification(f.tree.children[0], L"click", 5, 6);
    ASSERT_EQ(f.receiver.Trace(), (std::vector<std::wstring>{L"click:a"}));
    ASSERT_EQ(second.seen.size(), 1u);
    const NotifyMsg& msg = f.receiver.seen[0];
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(msg.lParam, 77) << "the sender's listener ran first";
    EXPECT_EQ(msg.mouse.x, 7);
    EXPECT_EQ(msg.mouse.y, 8);
    EXPECT_NEAR(double(msg.timestamp), double(GetTickCount()), 1000.0);
    EXPECT_EQ(f.window.Received(WM_SKIN_ASYNC_NOTIFY), 0);
}

TEST(ManagerNotifications, QueuedSendsCoalesceUnlessRepeatsAreAllowed)
{
    Fixture f;
    CControlUI* a = f.tree.children[0];
    f.manager().SendNotification(a, L"progress", 1, 0, true);
    f.manager().SendNotification(a, L"progress", 2, 0, true);
    f.manager().SendNotification(f.tree.children[1], L"progress", 3, 0, true);
    EXPECT_TRUE(f.receiver.seen.empty()) << "queued: nothing before the message loop runs";
    Pump(50);
    ASSERT_EQ(f.receiver.Trace(), (std::vector<std::wstring>{L"progress:a", L"progress:b"}));
    EXPECT_EQ(f.receiver.seen[0].wParam, 2u) << "the second values overwrite the first";
    EXPECT_EQ(f.window.Received(WM_SKIN_ASYNC_NOTIFY), 1);

    f.receiver.seen.clear();
    f.manager().SendNotification(a, L"tick", 1, 0, true, true);
    f.manager().SendNotification(a, L"tick", 2, 0, true, true);
    Pump(50);
    ASSERT_EQ(f.receiver.Trace(), (std::vector<std::wstring>{L"tick:a", L"tick:a"}));
    EXPECT_EQ(f.receiver.seen[1].wParam, 2u);
    EXPECT_EQ(f.window.Received(WM_SKIN_ASYNC_NOTIFY), 2);
}

// After a post that failed (no window yet), queued notifications are still delivered.
TEST(ManagerNotifications, AFailedPostDoesNotStopDeliveryForGood)
{
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                nullptr);
    DestroyWindow(gone);
    CUIManager manager;
    manager.AttachWindow(gone, L"gone");
    NotifyRecorder receiver;
    manager.AddReceiver(&receiver);
    manager.SendNotification(nullptr, L"lost", 0, 0, true);  // PostMessage fails here
    TestWindow window(10, 10, 50, 50);
    manager.AttachWindow(window.hwnd(), L"again");
    manager.SendNotification(nullptr, L"later", 0, 0, true);
    // The test window's procedure hands 0x8001 to its own manager; this one drains by hand.
    MSG msg;
    bool posted = PeekMessageW(&msg, window.hwnd(), WM_SKIN_ASYNC_NOTIFY, WM_SKIN_ASYNC_NOTIFY,
                               PM_REMOVE) != FALSE;
    ASSERT_TRUE(posted) << "the second send posts again";
    LRESULT result = 0;
    manager.HandleWindowMessage(msg.message, msg.wParam, msg.lParam, result);
    EXPECT_EQ(receiver.Trace(), (std::vector<std::wstring>{L"lost:-", L"later:-"}));
    manager.AttachWindow(nullptr, L"");
}

// A receiver that queues another notification and runs a nested message loop (a message box
// would) sees each record once, in order.
TEST(ManagerNotifications, NestedLoopsInHandlersDeliverEachRecordOnce)
{
    struct NestedLoop : INotifyUI {
        void OnNotify(NotifyMsg& msg) override
        {
            types.push_back(msg.type);
            if (msg.type != L"first") return;
            manager->SendNotification(msg.sender, L"inner", 0, 0, true);
            Pump(30);
        }
        CUIManager* manager = nullptr;
        std::vector<std::wstring> types;
    } nested;
    Fixture f;
    nested.manager = &f.manager();
    f.manager().AddReceiver(&nested);
    f.manager().SendNotification(f.tree.children[0], L"first", 0, 0, true);
    f.manager().SendNotification(f.tree.children[0], L"second", 0, 0, true);
    Pump(60);
    f.manager().SendNotification(f.tree.children[1], L"third", 0, 0, true);
    Pump(60);
    EXPECT_EQ(nested.types, (std::vector<std::wstring>{L"first", L"second", L"inner", L"third"}));
}

TEST(ManagerTimers, NativeIdsStartAt17AndEventsCarryTheControlsOwnId)
{
    Fixture f;
    TimerIds seen;
    f.manager().AddFilter(&seen);
    EventRecorder events;
    events.Watch(*f.tree.children[0]);
    CControlUI* a = f.tree.children[0];
    ASSERT_TRUE(f.manager().StartTimer(a, 42, 50));
    EXPECT_FALSE(f.manager().StartTimer(a, 42, 50)) << "a live timer of this id";
    Pump(520);
    ASSERT_FALSE(seen.ids.empty());
    EXPECT_EQ(seen.ids[0], 17u);
    int ticks = 0;
    for (const SeenEvent& event : events.events) {
        if (event.kind != EventKind::Timer) continue;
        ++ticks;
        EXPECT_EQ(event.wParam, 42u);
    }
    EXPECT_GE(ticks, 4) << "50 ms over half a second";
    EXPECT_LE(ticks, 11);

    // Stopped, it keeps its entry; started again, it fires with the same native id.
    EXPECT_TRUE(f.manager().StopTimer(a, 42));
    EXPECT_FALSE(f.manager().StopTimer(a, 42));
    seen.ids.clear();
    Pump(150);
    EXPECT_TRUE(seen.ids.empty()) << "a stopped timer is silent";
    ASSERT_TRUE(f.manager().StartTimer(a, 42, 20));
    ASSERT_TRUE(f.manager().StartTimer(f.tree.children[1], 42, 20));
    Pump(100);
    std::set<WPARAM> ids(seen.ids.begin(), seen.ids.end());
    EXPECT_EQ(ids, (std::set<WPARAM>{17u, 18u})) << "re-armed on 17, the other control's is 18";
    f.manager().StopTimers(a);
    EXPECT_FALSE(f.manager().StopTimer(a, 42)) << "StopTimers removes the entries";
}

// 255 native ids: after the wrap, ids still held are skipped (setting one again would
// replace that timer), and the 256th timer is refused.
TEST(ManagerTimers, IdsWrapPastTheIdsStillHeld)
{
    Fixture f;
    TimerIds seen;
    f.manager().AddFilter(&seen);
    CControlUI* a = f.tree.children[0];
    // Slow enough that 255 of them leave the queue room on a loaded machine.
    for (UINT id = 0; id < 255; ++id) ASSERT_TRUE(f.manager().StartTimer(a, id, 100)) << id;
    EXPECT_FALSE(f.manager().StartTimer(a, 1000, 100)) << "every native id is held";
    Pump(400);
    std::set<WPARAM> ids(seen.ids.begin(), seen.ids.end());
    EXPECT_EQ(ids.size(), 255u) << "every timer fires on an id of its own";
    EXPECT_EQ(ids.count(LayeredRepaintTimer), 0u);

    // One control's timers gone: the next one takes a freed id.
    f.manager().StopTimers(a);
    seen.ids.clear();
    ASSERT_TRUE(f.manager().StartTimer(f.tree.children[1], 1, 20));
    Pump(100);
    ASSERT_FALSE(seen.ids.empty());
    EXPECT_EQ(seen.ids[0], 17u) << "counting goes on after 16, the last id given";
}
