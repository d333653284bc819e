// The window base: class registration and superclassing, the back pointer and the orderly
// detach at the last message, the three creation forms, showing, the modal loop with its close
// code and quit message, centring within the work area, icons, client sizes and hooking.
#include "tests/ui/installer_module.h"
#include "tests/ui/window/shadow_window_fixture.h"
#include "ui/render/resource_settings.h"
#include "ui/window/window_wnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace SkinUI;
using SkinUITest::PumpMessages;
using SkinUITest::WindowRectOf;

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;

// A window of the test's own class that records the messages it sees and what it hears when
// its native window is gone; `onProbe` runs when kProbeMessage arrives.
class ProbeWindow : public CWindowWnd {
public:
    std::vector<UINT> messages;
    std::vector<HWND> destroyed;
    std::function<void()> onProbe;
    HWND handleAtCreate = nullptr;

protected:
    const wchar_t* WindowClassName() const override { return L"SkinUITestProbeWindow"; }
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(message);
        if (message == WM_CREATE) handleAtCreate = NativeHandle();
        if (message == kProbeMessage && onProbe) onProbe();
        return CWindowWnd::ProcessMessage(message, wParam, lParam);
    }
    void OnNativeDestroyed(HWND window) override { destroyed.push_back(window); }
};

// A window superclassing the system edit box.
class SuperEdit : public ProbeWindow {
protected:
    const wchar_t* WindowClassName() const override { return L"SkinUITestSuperEdit"; }
    const wchar_t* SuperClassName() const override { return L"Edit"; }
};

bool Saw(const std::vector<UINT>& messages, UINT message)
{
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

class WindowBaseTest : public ::testing::Test {
protected:
    void SetUp() override { SetModuleInstance(GetModuleHandleW(nullptr)); }
    void TearDown() override { PumpMessages(); }
};

RECT WorkArea(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

}  // namespace

TEST_F(WindowBaseTest, CreationStoresTheHandleFromTheFirstMessageAndRoutesEveryMessage)
{
    ProbeWindow window;
    HWND handle = window.CreateNative(nullptr, L"probe", WS_POPUP, 0, 10, 20, 200, 100);
    ASSERT_TRUE(handle);
    EXPECT_EQ(window.NativeHandle(), handle);
    EXPECT_EQ(window.handleAtCreate, handle) << "the handle is known inside WM_CREATE";
    EXPECT_TRUE(Saw(window.messages, WM_NCCREATE));
    RECT rect = WindowRectOf(handle);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right - rect.left, 200);
    EXPECT_EQ(rect.bottom - rect.top, 100);
    EXPECT_EQ(window.SendToSelf(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"title")), TRUE)
        << "unhandled messages reach the default procedure";
    wchar_t text[16] = {};
    GetWindowTextW(handle, text, 16);
    EXPECT_STREQ(text, L"title");

    // A second window of the class that exists already.
    ProbeWindow second;
    EXPECT_TRUE(second.CreateNative(nullptr, L"second", WS_POPUP, 0, RECT{5, 6, 55, 46}));
    RECT secondRect = WindowRectOf(second.NativeHandle());
    EXPECT_EQ(secondRect.left, 5);
    EXPECT_EQ(secondRect.right - secondRect.left, 50);
    EXPECT_EQ(secondRect.bottom - secondRect.top, 40);
    ProbeWindow third;
    EXPECT_TRUE(third.CreateNative(nullptr, L"third", WS_POPUP, 0));
    EXPECT_EQ(WindowRectOf(third.NativeHandle()).right, 0);
    for (ProbeWindow* w : {&window, &second, &third}) DestroyWindow(w->NativeHandle());
}

TEST_F(WindowBaseTest, TheLastMessageDetachesTheObjectAndReportsTheOldHandle)
{
    ProbeWindow window;
    HWND handle = window.CreateNative(nullptr, L"probe", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_TRUE(handle);
    DestroyWindow(handle);
    EXPECT_EQ(window.NativeHandle(), nullptr);
    ASSERT_EQ(window.destroyed.size(), 1u);
    EXPECT_EQ(window.destroyed[0], handle);
    EXPECT_TRUE(Saw(window.messages, WM_DESTROY));
    EXPECT_FALSE(Saw(window.messages, WM_NCDESTROY)) << "the last message is the base's own";
    window.ShowNative();
    window.PostClose(3);
    EXPECT_EQ(window.NativeHandle(), nullptr) << "calls on a dead window change nothing";
}

TEST_F(WindowBaseTest, AnObjectDestroyedBeforeItsWindowLeavesTheWindowWorking)
{
    HWND handle = nullptr;
    {
        ProbeWindow window;
        handle = window.CreateNative(nullptr, L"probe", WS_POPUP, 0, 0, 0, 50, 50);
        ASSERT_TRUE(handle);
    }
    // Messages now go to the default procedure, not to the freed object.
    EXPECT_TRUE(SendMessageW(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"orphan")));
    EXPECT_TRUE(DestroyWindow(handle));
}

TEST_F(WindowBaseTest, ASuperclassKeepsTheBaseClassBehaviourAndSeesEveryMessage)
{
    SuperEdit edit;
    HWND handle = edit.CreateNative(nullptr, L"", WS_POPUP, 0, 0, 0, 120, 30);
    ASSERT_TRUE(handle);
    SendMessageW(handle, EM_SETLIMITTEXT, 4, 0);
    SendMessageW(handle, WM_CHAR, L'a', 0);
    SendMessageW(handle, WM_CHAR, L'b', 0);
    wchar_t text[16] = {};
    GetWindowTextW(handle, text, 16);
    EXPECT_STREQ(text, L"ab") << "the edit box's own procedure handles typing";
    EXPECT_TRUE(Saw(edit.messages, WM_CHAR));
    EXPECT_EQ(SendMessageW(handle, EM_GETLIMITTEXT, 0, 0), 4);
    wchar_t className[64] = {};
    GetClassNameW(handle, className, 64);
    EXPECT_STREQ(className, L"SkinUITestSuperEdit");
    DestroyWindow(handle);
    EXPECT_EQ(edit.NativeHandle(), nullptr);
    EXPECT_EQ(edit.destroyed.size(), 1u);
}

TEST_F(WindowBaseTest, HookingRoutesAnExistingWindowAndUnhookingRestoresItsProcedure)
{
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 100, 30, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(edit);
    const LONG_PTR original = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    ProbeWindow hook;
    ASSERT_TRUE(hook.HookWindow(edit));
    EXPECT_EQ(hook.NativeHandle(), edit);
    ProbeWindow other;
    EXPECT_FALSE(other.HookWindow(edit)) << "a window has one object";
    EXPECT_FALSE(hook.HookWindow(edit)) << "an object has one window";
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"hooked"));
    EXPECT_TRUE(Saw(hook.messages, WM_SETTEXT));
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"hooked") << "the previous procedure still does the work";

    hook.UnhookWindow();
    EXPECT_EQ(hook.NativeHandle(), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), original);
    hook.messages.clear();
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"free"));
    EXPECT_TRUE(hook.messages.empty());

    ASSERT_TRUE(hook.HookWindow(edit));
    DestroyWindow(edit);
    EXPECT_EQ(hook.NativeHandle(), nullptr) << "a hooked window detaches at its last message";
    EXPECT_EQ(hook.destroyed.size(), 1u);
}

TEST_F(WindowBaseTest, ShowNativeShowsWithOrWithoutActivationAndHides)
{
    ProbeWindow window;
    ASSERT_TRUE(window.CreateNative(nullptr, L"probe", WS_POPUP, 0, 0, 0, 50, 50));
    window.ShowNative(true, false);
    EXPECT_TRUE(IsWindowVisible(window.NativeHandle()));
    EXPECT_NE(GetActiveWindow(), window.NativeHandle());
    window.ShowNative(false);
    EXPECT_FALSE(IsWindowVisible(window.NativeHandle()));
    window.ShowNative(true, true);
    EXPECT_TRUE(IsWindowVisible(window.NativeHandle()));
    EXPECT_EQ(GetActiveWindow(), window.NativeHandle());
    DestroyWindow(window.NativeHandle());
}

TEST_F(WindowBaseTest, RunModalDisablesTheOwnerAndReturnsTheCodeOfPostClose)
{
    ProbeWindow owner;
    ASSERT_TRUE(owner.CreateNative(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 0, 300, 200));
    ProbeWindow dialog;
    ASSERT_TRUE(dialog.CreateNative(owner.NativeHandle(), L"dialog", WS_POPUP, 0, 20, 20, 100, 80));
    bool ownerEnabledInside = true;
    dialog.onProbe = [&] {
        ownerEnabledInside = IsWindowEnabled(owner.NativeHandle()) != FALSE;
        dialog.PostClose(42);
    };
    dialog.PostToSelf(kProbeMessage);
    EXPECT_EQ(dialog.RunModal(), 42u);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(owner.NativeHandle()));
    EXPECT_FALSE(IsWindow(dialog.NativeHandle())) << "the close message destroyed the window";
    EXPECT_EQ(dialog.destroyed.size(), 1u);
    DestroyWindow(owner.NativeHandle());
}

TEST_F(WindowBaseTest, AQuitMessageEndsRunModalAndIsPostedAgain)
{
    ProbeWindow dialog;
    ASSERT_TRUE(dialog.CreateNative(nullptr, L"dialog", WS_POPUP, 0, 0, 0, 100, 80));
    dialog.onProbe = [] { PostQuitMessage(5); };
    dialog.PostToSelf(kProbeMessage);
    EXPECT_EQ(dialog.RunModal(), 0u);
    EXPECT_TRUE(IsWindow(dialog.NativeHandle()));
    MSG msg = {};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    DestroyWindow(dialog.NativeHandle());
}

TEST_F(WindowBaseTest, CenterOnOwnerCentresOnTheOwnerWithinTheWorkArea)
{
    ProbeWindow owner;
    ASSERT_TRUE(
        owner.CreateNative(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 100, 100, 400, 300));
    ProbeWindow window;
    ASSERT_TRUE(window.CreateNative(owner.NativeHandle(), L"w", WS_POPUP, 0, 0, 0, 200, 100));
    const RECT area = WorkArea(owner.NativeHandle());

    window.CenterOnOwner();
    RECT rect = WindowRectOf(window.NativeHandle());
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 200);
    EXPECT_EQ(rect.right - rect.left, 200) << "only the position changes";

    // An owner near the bottom-right corner: the window stays inside the work area.
    SetWindowPos(owner.NativeHandle(), nullptr, area.right - 100, area.bottom - 50, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    window.CenterOnOwner();
    rect = WindowRectOf(window.NativeHandle());
    EXPECT_EQ(rect.right, area.right);
    EXPECT_EQ(rect.bottom, area.bottom);

    // Near the top-left corner, partly outside: left and top edges inside.
    SetWindowPos(owner.NativeHandle(), nullptr, area.left - 350, area.top - 280, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    window.CenterOnOwner();
    rect = WindowRectOf(window.NativeHandle());
    EXPECT_EQ(rect.left, area.left);
    EXPECT_EQ(rect.top, area.top);

    // A minimised owner: the work area is the centre.
    ShowWindow(owner.NativeHandle(), SW_MINIMIZE);
    window.CenterOnOwner();
    rect = WindowRectOf(window.NativeHandle());
    EXPECT_EQ(rect.left, (area.left + area.right) / 2 - 100);
    EXPECT_EQ(rect.top, (area.top + area.bottom) / 2 - 50);
    DestroyWindow(owner.NativeHandle());
}

TEST_F(WindowBaseTest, CenterWithoutOwnerUsesTheWorkAreaAndKeepsTheTopLeftCornerInside)
{
    ProbeWindow window;
    ASSERT_TRUE(window.CreateNative(nullptr, L"w", WS_POPUP, 0, 5, 5, 301, 151));
    const RECT area = WorkArea(window.NativeHandle());
    window.CenterOnOwner();
    RECT rect = WindowRectOf(window.NativeHandle());
    EXPECT_EQ(rect.left, (area.left + area.right) / 2 - 150);
    EXPECT_EQ(rect.top, (area.top + area.bottom) / 2 - 75);

    // Larger than the work area: the left and top edges win.
    SetWindowPos(window.NativeHandle(), nullptr, 0, 0, area.right - area.left + 200,
                 area.bottom - area.top + 100, SWP_NOMOVE | SWP_NOZORDER);
    window.CenterOnOwner();
    rect = WindowRectOf(window.NativeHandle());
    EXPECT_EQ(rect.left, area.left);
    EXPECT_EQ(rect.top, area.top);
    DestroyWindow(window.NativeHandle());
}

TEST_F(WindowBaseTest, ResizeClientAreaSizesTheClientForTheFrameAndKeepsTheOtherValue)
{
    ProbeWindow window;
    ASSERT_TRUE(window.CreateNative(nullptr, L"framed", WS_OVERLAPPEDWINDOW, 0, 30, 40, 400, 300));
    window.ResizeClientArea(250, 120);
    RECT client = {};
    GetClientRect(window.NativeHandle(), &client);
    EXPECT_EQ(client.right, 250);
    EXPECT_EQ(client.bottom, 120);
    EXPECT_EQ(WindowRectOf(window.NativeHandle()).left, 30) << "the position stays";
    window.ResizeClientArea(-1, 90);
    GetClientRect(window.NativeHandle(), &client);
    EXPECT_EQ(client.right, 250);
    EXPECT_EQ(client.bottom, 90);
    DestroyWindow(window.NativeHandle());
}

TEST_F(WindowBaseTest, AttachIconGivesBigAndSmallIconsRoundedToSixteen)
{
    HMODULE installer = SkinUITest::LoadInstallerAsData();
    ASSERT_TRUE(installer) << "the installer is built beside the tests";
    ProbeWindow window;
    ASSERT_TRUE(window.CreateNative(nullptr, L"icon", WS_POPUP, 0, 0, 0, 50, 50));
    SetModuleInstance(installer);  // the installer's icon group 102
    window.AttachIcon(102);
    SetModuleInstance(GetModuleHandleW(nullptr));
    for (auto [kind, metric] :
         {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        auto icon =
            reinterpret_cast<HICON>(SendMessageW(window.NativeHandle(), WM_GETICON, kind, 0));
        ASSERT_TRUE(icon) << "icon kind " << kind;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        EXPECT_EQ(bitmap.bmWidth % 16, 0);
        EXPECT_GE(bitmap.bmWidth, GetSystemMetrics(metric));
        EXPECT_LT(bitmap.bmWidth, GetSystemMetrics(metric) + 16);
    }
    DestroyWindow(window.NativeHandle());
    FreeLibrary(installer);
}
