// The rows of the manager's message table that the mouse, focus and paint tests do not
// cover: reflection to child windows, cursor, activation, erasing, size, close, the layered
// frame messages, deferred deletion of a replaced root, filters, and plug-ins.
#include "tests/ui/core/recording_control.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "tests/ui/core/test_window.h"

#include <gtest/gtest.h>

using namespace SkinUI;
using namespace SkinUI::Testing;

namespace {

// A child window that answers every message with its number plus 1 and records them.
struct ReflectionTarget {
    static std::vector<UINT>& Seen()
    {
        static std::vector<UINT> seen;
        return seen;
    }
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message >= 0x2000 && message < 0x3000) {
            Seen().push_back(message);
            return message + 1;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static HWND Create(HWND parent)
    {
        static const bool registered = [] {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = &Procedure;
            wc.lpszClassName = L"ManagerReflectionTarget";
            return RegisterClassW(&wc) != 0;
        }();
        (void)registered;
        return CreateWindowExW(0, L"ManagerReflectionTarget", L"", WS_CHILD, 0, 0, 10, 10, parent,
                               nullptr, nullptr, nullptr);
    }
};

class CursorControl : public CControlUI {
public:
    UINT GetFlags() const override { return ControlFlagSetsCursor; }
};

class Swallow : public IMessageFilterUI {
public:
    LRESULT FilterMessage(UINT message, WPARAM, LPARAM, bool& handled) override
    {
        handled = message == WM_LBUTTONDOWN;
        return 42;
    }
};

}  // namespace

TEST(ManagerMessages, ChildNotificationsCommandsAndColoursAreReflected)
{
    TestWindow window(10, 10, 100, 100);
    HWND child = ReflectionTarget::Create(window.hwnd());
    NMHDR header = {child, 7, 0};
    EXPECT_EQ(SendMessageW(window.hwnd(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)),
              LRESULT(0x204E + 1));
    SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(7, EN_CHANGE),
                 reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(SendMessageW(window.hwnd(), WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(child)),
              LRESULT(WM_CTLCOLOREDIT + 0x2000 + 1));
    EXPECT_EQ(SendMessageW(window.hwnd(), WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(child)),
              LRESULT(WM_CTLCOLORSTATIC + 0x2000 + 1));
    EXPECT_EQ(ReflectionTarget::Seen(), (std::vector<UINT>{0x204E, 0x2111, WM_CTLCOLOREDIT + 0x2000,
                                                           WM_CTLCOLORSTATIC + 0x2000}));
    DestroyWindow(child);
}

TEST(ManagerMessages, CursorActivationErasingAndSize)
{
    TestWindow window(10, 10, 200, 100);
    auto root = MakeControl<CHorizontalLayoutUI>();
    ControlPtr cursor = MakeControl<CursorControl>();
    FloatAt(*cursor, {0, 0, 100, 100});
    CControlUI* setsCursor =
        static_cast<CHorizontalLayoutUI*>(root.get())->AddChild(std::move(cursor));
    window.manager().AttachRoot(std::move(root));
    window.PaintNow();
    EventRecorder events;
    events.Watch(*setsCursor);
    LRESULT result = 0;
    CUIManager& manager = window.manager();
    SetCursorPos(10 + 50, 10 + 50);
    EXPECT_TRUE(
        manager.HandleWindowMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), result))
        << "the control under the cursor sets it";
    EXPECT_EQ(events.Trace({EventKind::SetCursor}), (std::vector<std::wstring>{L":SetCursor"}));
    SetCursorPos(10 + 150, 10 + 50);
    EXPECT_FALSE(
        manager.HandleWindowMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), result))
        << "the root does not";
    EXPECT_FALSE(
        manager.HandleWindowMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), result));

    EXPECT_TRUE(manager.HandleWindowMessage(WM_ERASEBKGND, 0, 0, result));
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(manager.HandleWindowMessage(WM_MOUSEACTIVATE, 0, 0, result));
    manager.ApplyWindowAttribute(L"noactivate", L"true");
    EXPECT_TRUE(manager.HandleWindowMessage(WM_MOUSEACTIVATE, 0, 0, result));
    EXPECT_EQ(result, MA_NOACTIVATEANDEAT);

    manager.FocusControl(setsCursor);
    SetWindowPos(window.hwnd(), nullptr, 0, 0, 300, 120,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(events.Trace({EventKind::WindowSize}), (std::vector<std::wstring>{L":WindowSize"}));
    window.PaintNow();
    EXPECT_EQ(manager.Root()->GetWidth(), 300) << "a new size lays the root out again";
}

TEST(ManagerMessages, CloseLetsGoOfHotPushedAndFocusedControls)
{
    TestWindow window(10, 10, 200, 100);
    Tree tree = MakeTree({{0, 0, 100, 100}});
    tree.children[0]->SetName(L"c");
    window.manager().AttachRoot(std::move(tree.root));
    window.PaintNow();
    EventRecorder events;
    events.Watch(*tree.children[0]);
    SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    LRESULT result = 0;
    EXPECT_FALSE(window.manager().HandleWindowMessage(WM_CLOSE, 0, 0, result));
    EXPECT_EQ(events.Trace({EventKind::MouseLeave, EventKind::ButtonUp, EventKind::KillFocus}),
              (std::vector<std::wstring>{L"c:MouseLeave", L"c:ButtonUp", L"c:KillFocus"}));
    EXPECT_EQ(window.manager().Focus(), nullptr);
}

TEST(ManagerMessages, LayeredWindowsDrawNoFrame)
{
    TestWindow window(10, 10, 100, 100);
    LRESULT result = 5;
    EXPECT_FALSE(window.manager().HandleWindowMessage(WM_NCPAINT, 1, 0, result));
    window.manager().SetLayered(true);
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_NCPAINT, 1, 0, result));
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_NCCALCSIZE, 0, 0, result));
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_NCACTIVATE, 0, 0, result));
    EXPECT_EQ(result, 1) << "deactivation";
    EXPECT_TRUE(window.manager().HandleWindowMessage(WM_NCACTIVATE, 1, 0, result));
    EXPECT_EQ(result, 0);
    window.manager().SetLayered(false);
    EXPECT_EQ(GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST(ManagerMessages, AReplacedRootIsDestroyedWhenTheQueueIsDrained)
{
    TestWindow window(10, 10, 100, 100);
    CallLog log;
    window.manager().AttachRoot(MakeControl<RecordingControl>(log, L"old"));
    bool destroyed = false;
    struct Flag {
        bool* flag;
        bool Set(void*) { return *flag = true; }
    } flag{&destroyed};
    window.manager().Root()->OnDestroy.Add(MakeDelegate(&flag, &Flag::Set));
    window.manager().AttachRoot(MakeControl<RecordingControl>(log, L"new"));
    EXPECT_FALSE(destroyed) << "deferred: the old root may still be on the call stack";
    Pump(50);
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(log.afterDestruction.empty());
}

TEST(ManagerMessages, AFilterThatHandlesEndsTheHandlingButTheMousePositionIsKept)
{
    TestWindow window(10, 10, 100, 100);
    Tree tree = MakeTree({{0, 0, 100, 100}});
    window.manager().AttachRoot(std::move(tree.root));
    window.PaintNow();
    Swallow swallow;
    window.manager().AddFilter(&swallow);
    EventRecorder events;
    events.Watch(*tree.children[0]);
    EXPECT_EQ(SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(33, 44)), 42);
    EXPECT_TRUE(events.events.empty());
    EXPECT_EQ(window.manager().MousePosition().x, 33);
    EXPECT_EQ(window.manager().MousePosition().y, 44);
    EXPECT_TRUE(window.manager().RemoveFilter(&swallow));
}

TEST(ManagerMessages, PluginsNeedTheLibraryAndItsCreateControl)
{
    EXPECT_FALSE(CUIManager::LoadPlugin(L"no_such_plugin.dll"));
    EXPECT_FALSE(CUIManager::LoadPlugin(L""));
    EXPECT_FALSE(CUIManager::LoadPlugin(L"version.dll")) << "loaded, but without CreateControl";
    EXPECT_TRUE(CUIManager::PluginFactories().empty());
    EXPECT_TRUE(CUIManager::LoadPlugin(L"manager_test_plugin.dll"));
    EXPECT_TRUE(CUIManager::LoadPlugin(L"manager_test_plugin.dll"));
    ASSERT_EQ(CUIManager::PluginFactories().size(), 1u) << "a factory is listed once";
    EXPECT_EQ(CUIManager::PluginFactories()[0](L"Unknown"), nullptr);
}

// The message loop's translation: translators first, then the manager of the window; for a
// child window the managers of its ancestors see it, but only a translator can take it.
TEST(ManagerMessages, TranslationOffersMessagesToTheManagersOfTheWindowAndItsAncestors)
{
    struct Translator : ITranslateAccelerator {
        LRESULT TranslateAccelerator(MSG* msg) override
        {
            seen.push_back(msg->wParam);
            return msg->wParam == VK_F5 ? S_OK : S_FALSE;
        }
        std::vector<WPARAM> seen;
    } translator;
    TestWindow window(10, 10, 200, 100);
    CallLog log;
    auto root = MakeControl<CHorizontalLayoutUI>();
    for (LONG x : {0, 60}) {
        ControlPtr stop = MakeControl<RecordingControl>(log, L"stop", ControlFlagTabStop);
        FloatAt(*stop, {x, 0, x + 50, 50});
        static_cast<CHorizontalLayoutUI*>(root.get())->AddChild(std::move(stop));
    }
    window.manager().AttachRoot(std::move(root));
    window.PaintNow();
    window.manager().AddAcceleratorTranslator(&translator);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 120, 0, 50, 20,
                                window.hwnd(), nullptr, nullptr, nullptr);
    auto message = [](HWND hwnd, WPARAM key) { return MSG{hwnd, WM_KEYDOWN, key, 0, 0, {0, 0}}; };

    MSG f5 = message(window.hwnd(), VK_F5);
    EXPECT_TRUE(CUIManager::TranslateForManagers(f5)) << "a translator took it";
    MSG f6 = message(window.hwnd(), VK_F6);
    EXPECT_FALSE(CUIManager::TranslateForManagers(f6)) << "nobody wanted it: dispatched";
    MSG tab = message(window.hwnd(), VK_TAB);
    EXPECT_TRUE(CUIManager::TranslateForManagers(tab)) << "Tab moves the focus";
    MSG childF5 = message(edit, VK_F5);
    EXPECT_TRUE(CUIManager::TranslateForManagers(childF5)) << "the parent's translator";
    MSG childTab = message(edit, VK_TAB);
    CControlUI* before = window.manager().Focus();
    EXPECT_FALSE(CUIManager::TranslateForManagers(childTab)) << "the edit box still gets Tab";
    EXPECT_NE(window.manager().Focus(), before) << "after the parent's manager moved the focus";
    EXPECT_EQ(translator.seen, (std::vector<WPARAM>{VK_F5, VK_F6, VK_TAB, VK_F5, VK_TAB}));
    DestroyWindow(edit);
}
