// A shadow destroyed before its parent: the parent's window procedure chain stays whole, with
// or without a subclass installed after the shadow's, and the shadow is never called again.
#include "tests/ui/window/shadow_window_fixture.h"

using namespace SkinUI;
using namespace SkinUITest;

namespace {

WNDPROC g_beforeLater = nullptr;
int g_laterMessages = 0;

// A subclass of some other code, installed on top of the shadow's.
LRESULT CALLBACK LaterSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) ++g_laterMessages;
    return CallWindowProcW(g_beforeLater, window, message, wParam, lParam);
}

}  // namespace

TEST_F(ShadowWindowTest, DestroyingTheShadowGivesTheParentItsProcedureBack)
{
    ParentWindow parent(100, 120, 200, 150);
    const LONG_PTR own = GetWindowLongPtrW(parent.get(), GWLP_WNDPROC);
    HWND window = nullptr;
    {
        CWndShadow shadow;
        ASSERT_TRUE(shadow.Attach(parent.get()));
        window = ShadowWindowOf(parent.get());
        EXPECT_NE(GetWindowLongPtrW(parent.get(), GWLP_WNDPROC), own);
    }
    EXPECT_EQ(GetWindowLongPtrW(parent.get(), GWLP_WNDPROC), own);
    SendMessageW(parent.get(), WM_APP, 0, 0);
    EXPECT_EQ(ParentWindow::AppMessages(), 1);
    PumpMessages();
    EXPECT_FALSE(IsWindow(window)) << "closed by the posted close message";

    const size_t pushes = Pushed().size();
    SetWindowPos(parent.get(), nullptr, 10, 10, 100, 100, SWP_NOZORDER);
    SendMessageW(parent.get(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(Pushed().size(), pushes);

    CWndShadow again;
    EXPECT_TRUE(again.Attach(parent.get())) << "the parent is free for a new shadow";
}

TEST_F(ShadowWindowTest, ALaterSubclassKeepsChainingThroughAfterTheShadowIsGone)
{
    ParentWindow parent(100, 120, 200, 150);
    g_laterMessages = 0;
    auto shadow = std::make_unique<CWndShadow>();
    ASSERT_TRUE(shadow->Attach(parent.get()));
    g_beforeLater = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(parent.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclass)));
    ASSERT_TRUE(g_beforeLater);
    shadow.reset();

    EXPECT_EQ(GetWindowLongPtrW(parent.get(), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&LaterSubclass))
        << "nothing re-installed over the later subclass";
    SendMessageW(parent.get(), WM_APP, 0, 0);
    EXPECT_EQ(g_laterMessages, 1);
    EXPECT_EQ(ParentWindow::AppMessages(), 1) << "the chain reaches the parent's own procedure";

    // Every message the shadow followed now only passes through.
    const size_t pushes = Pushed().size();
    SetWindowPos(parent.get(), nullptr, 10, 10, 250, 180, SWP_NOZORDER);
    UpdateWindow(parent.get());
    SendMessageW(parent.get(), WM_EXITSIZEMOVE, 0, 0);
    ShowWindow(parent.get(), SW_HIDE);
    ShowWindow(parent.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(parent.get());
    EXPECT_EQ(Pushed().size(), pushes);

    CWndShadow second;
    EXPECT_FALSE(second.Attach(parent.get()))
        << "the old procedure is still in the chain: subclassing again would loop";
    SendMessageW(parent.get(), WM_APP, 0, 0);
    EXPECT_EQ(ParentWindow::AppMessages(), 2);

    SetWindowLongPtrW(parent.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_beforeLater));
    DestroyWindow(parent.get());  // passes through the shadow's procedure to the end
    ParentWindow next(100, 120, 80, 60);
    EXPECT_TRUE(second.Attach(next.get()));
}
