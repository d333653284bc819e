// Focus: the order of the focus events and notifications, Tab and Shift+Tab through the tab
// stops as the message loop shows them to the manager, shortcut keys, key events.
#include "tests/ui/core/recording_control.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "tests/ui/core/test_window.h"

#include <gtest/gtest.h>

using namespace SkinUI;
using namespace SkinUI::Testing;

namespace {

struct FocusFixture {
    TestWindow window{10, 10, 300, 100};
    CallLog log;
    NotifyRecorder receiver;
    std::vector<CControlUI*> controls;
    // Controls "a" to "d" side by side; `tabStops` says which take Tab.
    explicit FocusFixture(const std::vector<bool>& tabStops)
    {
        auto root = MakeControl<CHorizontalLayoutUI>();
        auto* container = static_cast<CHorizontalLayoutUI*>(root.get());
        for (size_t i = 0; i < tabStops.size(); ++i) {
            std::wstring name(1, wchar_t(L'a' + i));
            ControlPtr control =
                MakeControl<RecordingControl>(log, name, tabStops[i] ? ControlFlagTabStop : 0);
            control->SetName(name);
            FloatAt(*control, {LONG(i) * 60, 0, LONG(i) * 60 + 50, 50});
            controls.push_back(container->AddChild(std::move(control)));
        }
        window.manager().AttachRoot(std::move(root));
        window.manager().AddReceiver(&receiver);
        window.PaintNow();  // the first paint focuses the first tab stop
    }
    CUIManager& manager() { return window.manager(); }
    std::wstring FocusName() const
    {
        CControlUI* focus = const_cast<FocusFixture*>(this)->manager().Focus();
        return focus != nullptr ? focus->GetName() : L"-";
    }
    // The key as the message loop offers it before dispatch.
    bool Offer(UINT message, WPARAM key)
    {
        MSG msg = {window.hwnd(), message, key, 0, 0, {0, 0}};
        LRESULT result = 0;
        return manager().PreTranslate(msg, result);
    }
};

void PressShift(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

TEST(ManagerFocus, KillFocusEventAndNotificationComeBeforeSetFocusEventAndNotification)
{
    FocusFixture f({true, true});
    ASSERT_EQ(f.FocusName(), L"a") << "the first paint focuses the first tab stop";
    f.log.calls.clear();
    f.receiver.seen.clear();
    // One timeline of both logs: the notifications are recorded as calls too.
    struct Merge : INotifyUI {
        CallLog* log;
        void OnNotify(NotifyMsg& msg) override
        {
            log->calls.push_back(L"notify " + msg.type + L":" + msg.sender->GetName());
        }
    } merge;
    merge.log = &f.log;
    f.manager().AddReceiver(&merge);
    EventRecorder events;
    events.Watch(*f.controls[0]);
    f.manager().FocusControl(f.controls[1]);
    EXPECT_EQ(f.log.calls, (std::vector<std::wstring>{L"a KillFocus", L"notify killfocus:a",
                                                      L"b SetFocus", L"notify setfocus:b"}));
    ASSERT_EQ(events.events.size(), 1u);
    EXPECT_EQ(events.events[0].wParam, reinterpret_cast<WPARAM>(f.controls[1]))
        << "the kill-focus event names the new focus";
    f.log.calls.clear();
    f.manager().FocusControl(f.controls[1]);
    EXPECT_TRUE(f.log.calls.empty()) << "focusing the focus changes nothing";
    f.controls[0]->SetEnabled(false);
    f.manager().FocusControl(f.controls[0]);
    EXPECT_EQ(f.FocusName(), L"-") << "a disabled control takes no focus, the old one lost it";
}

TEST(ManagerFocus, TabWrapsForwardAndShiftTabBackward)
{
    FocusFixture f({true, false, true, true});
    ASSERT_EQ(f.FocusName(), L"a");
    std::vector<std::wstring> order;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(f.Offer(WM_KEYDOWN, VK_TAB)) << "Tab is handled";
        order.push_back(f.FocusName());
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"c", L"d", L"a", L"c"}));
    PressShift(true);
    order.clear();
    for (int i = 0; i < 4; ++i) {
        f.Offer(WM_KEYDOWN, VK_TAB);
        order.push_back(f.FocusName());
    }
    PressShift(false);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"a", L"d", L"c", L"a"}));
    EXPECT_FALSE(f.Offer(WM_KEYDOWN, 'X')) << "other keys are dispatched";
}

TEST(ManagerFocus, TabWithoutTabStopsChangesNothing)
{
    FocusFixture f({false, false});
    f.manager().FocusControl(f.controls[1]);
    f.log.calls.clear();
    f.Offer(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(f.FocusName(), L"b");
    EXPECT_TRUE(f.log.calls.empty());
}

TEST(ManagerFocus, AltLetterFocusesAndActivatesTheControlWithThatShortcut)
{
    FocusFixture f({true, false, false});
    f.controls[2]->SetShortcut(L'K');
    f.controls[1]->SetShortcut(L'J');
    f.controls[1]->SetVisible(false);
    f.log.calls.clear();
    EXPECT_TRUE(f.Offer(WM_SYSCHAR, L'k'));
    EXPECT_EQ(f.FocusName(), L"c");
    EXPECT_EQ(f.log.CallsStartingWith(L"c Activate").size(), 1u);
    f.Offer(WM_SYSCHAR, L'j');
    EXPECT_EQ(f.FocusName(), L"c") << "a hidden control's shortcut does nothing";
}

TEST(ManagerFocus, KeysGoToTheFocusAndKeyUpToTheControlOfKeyDown)
{
    FocusFixture f({true, true});
    EventRecorder events;
    events.Watch(*f.controls[0]);
    events.Watch(*f.controls[1]);
    SendMessageW(f.window.hwnd(), WM_KEYDOWN, 'Q', 0);
    SendMessageW(f.window.hwnd(), WM_CHAR, 'q', 0);
    f.manager().FocusControl(f.controls[1]);
    SendMessageW(f.window.hwnd(), WM_KEYUP, 'Q', 0);
    f.Offer(WM_SYSKEYDOWN, VK_F10);
    EXPECT_EQ(
        events.Trace({EventKind::KeyDown, EventKind::Char, EventKind::KeyUp, EventKind::SystemKey}),
        (std::vector<std::wstring>{L"a:KeyDown", L"a:Char", L"a:KeyUp", L"b:SystemKey"}));
    EXPECT_EQ(events.events[0].key, L'Q');
    EXPECT_EQ(f.manager().KeyDownControl(), nullptr);
}
