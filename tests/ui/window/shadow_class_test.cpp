// The shadow window class: registered once per process, only where layered windows can be
// updated, with the documented styles and a procedure that never activates the window.
#include "tests/ui/window/shadow_window_fixture.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

bool ShadowClassExists(WNDCLASSEXW& found)
{
    found = {};
    found.cbSize = sizeof(found);
    return GetClassInfoExW(GetModuleHandleW(nullptr), L"SkinShadowWnd", &found) != FALSE;
}

}  // namespace

TEST(ShadowClass, RegistersOnceAndOnlyWhereLayeredWindowsCanBeUpdated)
{
    WNDCLASSEXW found;
    if (ShadowClassExists(found)) {
        EXPECT_FALSE(CWndShadow::RegisterShadowClass(GetModuleHandleW(nullptr)));
        GTEST_SKIP() << "an earlier test of this process registered the class (CTest runs each "
                        "test in a process of its own)";
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    ParentWindow parent(50, 50, 100, 80);
    CWndShadow early;
    EXPECT_FALSE(early.Attach(parent.get())) << "no class yet";
    EXPECT_FALSE(ShadowWindowOf(parent.get()));

    const LayeredWindowUpdater system = SetLayeredWindowUpdater(nullptr);
    ASSERT_TRUE(system);
    EXPECT_FALSE(CWndShadow::RegisterShadowClass(instance)) << "no layered-window update";
    EXPECT_FALSE(ShadowClassExists(found));
    SetLayeredWindowUpdater(system);

    EXPECT_TRUE(CWndShadow::RegisterShadowClass(instance));
    EXPECT_FALSE(CWndShadow::RegisterShadowClass(instance)) << "already registered";
    EXPECT_TRUE(ShadowClassExists(found));
    EXPECT_TRUE(early.Attach(parent.get())) << "registered now";
}

TEST(ShadowClass, RedrawsOnResizeShowsTheArrowAndNeverActivates)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    CWndShadow::RegisterShadowClass(instance);
    WNDCLASSEXW found;
    ASSERT_TRUE(ShadowClassExists(found));
    EXPECT_EQ(found.style, UINT{CS_HREDRAW | CS_VREDRAW});
    EXPECT_EQ(found.hCursor, LoadCursorW(nullptr, IDC_ARROW));

    HWND window = CreateWindowExW(0, L"SkinShadowWnd", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, instance, nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(SendMessageW(window, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    EXPECT_EQ(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), 0) << "the rest is the default's";
    DestroyWindow(window);
}
