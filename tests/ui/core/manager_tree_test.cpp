// The paint manager's tree: attaching a root, the first-wins name map, hit tests, option
// groups, window attributes and default attribute lists, and forgetting a destroyed control
// everywhere (no call reaches it afterwards).
#include "tests/ui/core/recording_control.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "tests/ui/core/test_window.h"

#include <gtest/gtest.h>

using namespace SkinUI;
using namespace SkinUI::Testing;

TEST(ManagerTree, NamesFirstWinsAndFollowRenamesAndDestruction)
{
    TestWindow window(10, 10, 200, 100);
    Tree tree = MakeTree({{0, 0, 50, 50}, {60, 0, 110, 50}, {120, 0, 170, 50}});
    tree.children[0]->SetName(L"same");
    tree.children[1]->SetName(L"same");
    tree.children[2]->SetName(L"other");
    CControlUI* root = tree.root.get();
    ASSERT_TRUE(window.manager().AttachRoot(std::move(tree.root)));
    CUIManager& manager = window.manager();
    EXPECT_EQ(manager.Root(), root);
    EXPECT_EQ(manager.ControlByName(L"same"), tree.children[0]);
    EXPECT_EQ(manager.ControlByName(L"SAME"), nullptr) << "names compare exactly";

    tree.children[2]->SetName(L"renamed");
    EXPECT_EQ(manager.ControlByName(L"other"), nullptr);
    EXPECT_EQ(manager.ControlByName(L"renamed"), tree.children[2]);
    tree.children[1]->SetName(L"renamed");  // taken: the first keeps it
    EXPECT_EQ(manager.ControlByName(L"renamed"), tree.children[2]);

    // A child added later is adopted with its name.
    ControlPtr late = MakeControl<CControlUI>();
    late->SetName(L"late");
    CControlUI* added = AsContainer(root)->AddChild(std::move(late));
    EXPECT_EQ(manager.ControlByName(L"late"), added);
    EXPECT_EQ(added->GetWindowManager(), &manager);
    EXPECT_FALSE(manager.AttachRoot(nullptr));
    EXPECT_EQ(manager.Root(), root);
}

TEST(ManagerTree, ControlAtPointFindsTheTopmostVisibleControl)
{
    TestWindow window(10, 10, 200, 100);
    Tree tree = MakeTree({{0, 0, 100, 100}, {50, 0, 150, 100}});
    window.manager().AttachRoot(std::move(tree.root));
    window.PaintNow();  // the first paint lays the tree out
    CUIManager& manager = window.manager();
    EXPECT_EQ(manager.ControlAtPoint({10, 10}), tree.children[0]);
    EXPECT_EQ(manager.ControlAtPoint({60, 10}), tree.children[1]) << "the later child is on top";
    tree.children[1]->SetVisible(false);
    EXPECT_EQ(manager.ControlAtPoint({60, 10}), tree.children[0]);
    EXPECT_EQ(manager.ControlAtPoint({160, 10}), manager.Root());
    EXPECT_EQ(manager.ControlAtPoint({-1, -1}), nullptr);
}

TEST(ManagerTree, OptionGroupsRefuseDuplicatesAndForgetDestroyedMembers)
{
    TestWindow window(10, 10, 200, 100);
    Tree tree = MakeTree({{0, 0, 10, 10}, {10, 0, 20, 10}});
    window.manager().AttachRoot(std::move(tree.root));
    CUIManager& manager = window.manager();
    EXPECT_TRUE(manager.JoinOptionGroup(L"g", tree.children[0]));
    EXPECT_FALSE(manager.JoinOptionGroup(L"g", tree.children[0]));
    EXPECT_TRUE(manager.JoinOptionGroup(L"g", tree.children[1]));
    ASSERT_NE(manager.OptionGroup(L"g"), nullptr);
    EXPECT_EQ(*manager.OptionGroup(L"g"),
              (std::vector<CControlUI*>{tree.children[0], tree.children[1]}));
    manager.LeaveOptionGroup(L"g", tree.children[0]);
    EXPECT_EQ(*manager.OptionGroup(L"g"), (std::vector<CControlUI*>{tree.children[1]}));
    EXPECT_EQ(manager.OptionGroup(L"none"), nullptr);
    manager.ForgetControl(tree.children[1]);
    EXPECT_EQ(manager.OptionGroup(L"g"), nullptr);
}

TEST(ManagerTree, WindowAttributesTakeEveryValueAndKeepTheRestAsCustom)
{
    TestWindow window(10, 10, 200, 100);
    CUIManager& manager = window.manager();
    manager.ApplyWindowAttributeList(
        L"SIZE=\"320,240\" sizebox=\"1,2,3,4\" caption=\"0,0,0,30\" roundcorner=\"5,6\" "
        L"mininfo=\"100,80\" maxinfo=\"800,600\" showdirty=\"true\" noactivate=\"true\" "
        L"defaultfontcolor=\"#FF112233\" selectedcolor=\"FF445566\" extra=\"x\" extra=\"y\" "
        L"LinkFontColor=\"#FF010203\" broken=unquoted after=\"never\"");
    EXPECT_EQ(manager.InitialSize().cx, 320);
    EXPECT_EQ(manager.InitialSize().cy, 240);
    RECT client;
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, 320) << "without a root the window takes the size at once";
    EXPECT_EQ(client.bottom, 240);
    EXPECT_EQ(manager.SizeBox().right, 3);
    EXPECT_EQ(manager.CaptionRect().bottom, 30);
    EXPECT_EQ(manager.RoundCorner().cy, 6);
    EXPECT_EQ(manager.MinInfo().cx, 100);
    EXPECT_EQ(manager.MaxInfo().cy, 600);
    EXPECT_TRUE(manager.ShowsDirty());
    EXPECT_TRUE(manager.NoActivate());
    EXPECT_EQ(manager.Colors().text, 0xFF112233u);
    EXPECT_EQ(manager.Colors().selectedBackground, 0xFF445566u);
    EXPECT_EQ(manager.Colors().link, 0xFF010203u) << "colour names ignore case";
    ASSERT_NE(manager.FindWindowCustomAttribute(L"extra"), nullptr);
    EXPECT_EQ(*manager.FindWindowCustomAttribute(L"extra"), L"x") << "the first value stays";
    EXPECT_EQ(manager.FindWindowCustomAttribute(L"after"), nullptr)
        << "the list stops at a bad pair";

    manager.ApplyWindowAttribute(L"NoActivate", L"false");  // exact names only
    EXPECT_TRUE(manager.NoActivate());
    manager.ApplyWindowAttribute(L"layeredopacity", L"120");
    EXPECT_FALSE(manager.IsLayered()) << "layered opacity alone does not make a layered window";
    EXPECT_EQ(manager.WindowOpacity(), 120);
    manager.ApplyWindowAttribute(L"layeredimage", L"");
    EXPECT_TRUE(manager.IsLayered()) << "even an empty layered image turns layered mode on";
    EXPECT_NE(GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);

    MINMAXINFO info = {};
    info.ptMaxTrackSize = {5000, 5000};
    SendMessageW(window.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 100);
    EXPECT_EQ(info.ptMaxTrackSize.y, 600);
}

TEST(ManagerTree, DefaultAttributeListsPreferTheWindowsOwn)
{
    TestWindow window(10, 10, 100, 100);
    CUIManager& manager = window.manager();
    manager.SetDefaultAttributes(L"Button", L"shared=\"1\"", true);
    manager.SetDefaultAttributes(L"Label", L"shared=\"2\"", true);
    manager.SetDefaultAttributes(L"Button", L"own=\"1\"");
    ASSERT_NE(manager.DefaultAttributes(L"Button"), nullptr);
    EXPECT_EQ(*manager.DefaultAttributes(L"Button"), L"own=\"1\"");
    EXPECT_EQ(*manager.DefaultAttributes(L"Label"), L"shared=\"2\"");
    EXPECT_EQ(manager.DefaultAttributes(L"Edit"), nullptr);
    manager.ClearDefaultAttributes();
    EXPECT_EQ(*manager.DefaultAttributes(L"Button"), L"shared=\"1\"");
    manager.ClearDefaultAttributes(true);
    EXPECT_EQ(manager.DefaultAttributes(L"Button"), nullptr);
}

// A destroyed control was hot, pushed, focused, key-down, captured, timed, named, listed for
// after-paint and leave events, and had a queued notification: nothing reaches it afterwards.
TEST(ManagerTree, ForgettingAControlClearsEveryReferenceToIt)
{
    TestWindow window(10, 10, 200, 100);
    CallLog log;
    auto root = MakeControl<CHorizontalLayoutUI>();
    auto* container = AsContainer(root.get());
    window.manager().AttachRoot(std::move(root));
    CUIManager& manager = window.manager();
    NotifyRecorder receiver;
    manager.AddReceiver(&receiver);
    // The overlay: its owner can destroy it while the tree lives on.
    ControlPtr owned = MakeControl<RecordingControl>(log, L"doomed", ControlFlagTabStop);
    FloatAt(*owned, {0, 0, 100, 100});
    owned->SetName(L"doomed");
    owned->SetToolTip(L"tip");
    CControlUI* doomed = owned.get();
    container->SetOverlay(std::move(owned));
    window.PaintNow();

    // Hot, pushed, focused and captured through real messages, then key-down.
    SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(window.hwnd(), WM_KEYDOWN, 'A', 0);
    ASSERT_EQ(manager.HotControl(), doomed);
    ASSERT_EQ(manager.PushedControl(), doomed);
    ASSERT_EQ(manager.Focus(), doomed);
    ASSERT_EQ(manager.KeyDownControl(), doomed);
    ASSERT_TRUE(manager.IsMouseCaptured());
    SendMessageW(window.hwnd(), WM_MOUSEHOVER, 0, MAKELPARAM(10, 10));  // its tooltip shows
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 120, 0, 50, 20, window.hwnd(), nullptr,
                                nullptr, nullptr);
    ASSERT_TRUE(manager.AddChildWindow(doomed, edit));
    ASSERT_TRUE(manager.StartTimer(doomed, 1, 10));
    manager.AddAfterPaint(doomed);
    manager.AddLeaveWatcher(doomed);
    manager.SendNotification(doomed, L"queued", 0, 0, true);

    container->SetOverlay(nullptr);
    EXPECT_EQ(manager.HotControl(), nullptr);
    EXPECT_EQ(manager.PushedControl(), nullptr);
    EXPECT_EQ(manager.Focus(), nullptr);
    EXPECT_EQ(manager.KeyDownControl(), nullptr);
    EXPECT_FALSE(manager.IsMouseCaptured());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(manager.ControlByName(L"doomed"), nullptr);
    SendMessageW(window.hwnd(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(edit), 0);
    EXPECT_EQ(manager.Focus(), nullptr) << "the edit box no longer stands for the control";

    // Everything that would have used a stale pointer: timers, paint, leave, keys, queue.
    manager.InvalidateAll();
    window.PaintNow();
    SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(150, 50));
    SendMessageW(window.hwnd(), WM_KEYUP, 'A', 0);
    SendMessageW(window.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Pump(100);
    EXPECT_TRUE(log.afterDestruction.empty()) << "first late call: " << [&] {
        return log.afterDestruction.empty()
                   ? std::string()
                   : std::string(log.afterDestruction[0].begin(), log.afterDestruction[0].end());
    }();
    for (const NotifyMsg& msg : receiver.seen) EXPECT_NE(msg.type, L"queued");
    DestroyWindow(edit);
}
