// The skinned window base: a frameless window built from its skin, the size box and caption
// hit tests, the round-corner region, min-max information, system commands and buttons,
// Escape, and the skin archive of resource kind 4.
#include "tests/ui/gdi_object_count.h"
#include "tests/ui/installer_module.h"
#include "tests/ui/window/shadow_window_fixture.h"
#include "ui/layouts/container_ui.h"
#include "ui/render/resource_settings.h"
#include "ui/window/window_impl_base.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

using namespace SkinUI;
using SkinUITest::PumpMessages;
using SkinUITest::WindowRectOf;

namespace {

constexpr wchar_t kSkin[] = LR"(<Window size="300,200" sizebox="4,5,6,7" caption="0,0,0,40"
        roundcorner="10,10" mininfo="120,90">
  <HorizontalLayout>
    <Button name="closebtn" float="true" pos="260,8,0,0" width="20" height="20"/>
    <CheckBox name="check" float="true" pos="100,8,0,0" width="20" height="20"/>
    <Text name="label" float="true" pos="140,8,0,0" width="40" height="20"/>
    <Edit name="edit" float="true" pos="200,8,0,0" width="40" height="20"/>
    <Button name="maxbtn" float="true" pos="10,60,0,0" width="20" height="20"/>
    <Button name="restorebtn" float="true" pos="40,60,0,0" width="20" height="20"
            visible="false"/>
  </HorizontalLayout>
</Window>)";

class SkinWindow : public WindowImplBase {
public:
    explicit SkinWindow(std::wstring skin, SkinResourceKind kind = SkinResourceKind::File)
        : m_skin(std::move(skin)), m_kind(kind)
    {
    }
    int skinReady = 0;
    std::vector<WPARAM> closes;

protected:
    const wchar_t* WindowClassName() const override { return L"SkinUITestSkinWindow"; }
    std::wstring SkinFolder() const override { return L""; }
    std::wstring SkinFile() const override { return m_skin; }
    SkinResourceKind ResourceKind() const override { return m_kind; }
    std::wstring SkinResourceId() const override { return L"101"; }
    void OnSkinReady() override { ++skinReady; }
    LRESULT HandleClose(UINT, WPARAM wParam, LPARAM, bool& handled) override
    {
        closes.push_back(wParam);
        handled = false;
        return 0;
    }

private:
    std::wstring m_skin;
    SkinResourceKind m_kind;
};

class WindowImplBaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetModuleInstance(GetModuleHandleW(nullptr));
        SetResourceFolder(L"C:\\");  // texts need no folder; the module's folder is not read
    }
    // Creates a window with a caption frame at (100, 100) and lays out its skin.
    HWND Create(SkinWindow& window)
    {
        HWND handle =
            window.CreateNative(nullptr, L"skin", WS_OVERLAPPEDWINDOW, 0, 100, 100, 400, 300);
        ShowWindow(handle, SW_SHOWNOACTIVATE);
        UpdateWindow(handle);
        PumpMessages();
        return handle;
    }
    static LRESULT HitTest(HWND window, int x, int y)
    {
        POINT point = {x, y};
        ClientToScreen(window, &point);
        return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    }
    // The first posted WM_CLOSE for `window`: its first parameter, or -1 when none.
    static long long PostedClose(HWND window)
    {
        MSG msg = {};
        if (!PeekMessageW(&msg, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) return -1;
        return static_cast<long long>(msg.wParam);
    }
};

}  // namespace

TEST_F(WindowImplBaseTest, CreationStripsTheFrameAndAttachesTheSkin)
{
    SkinWindow window(kSkin);
    HWND handle = Create(window);
    ASSERT_TRUE(handle);
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_EQ(style & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS), WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    EXPECT_EQ(window.skinReady, 1);
    ASSERT_NE(window.Manager().Root(), nullptr);
    EXPECT_EQ(window.Manager().Root()->GetClassName(), L"HorizontalLayout");
    RECT client = {};
    GetClientRect(handle, &client);
    const RECT rect = WindowRectOf(handle);
    EXPECT_EQ(client.right, 300) << "no frame: the whole window is client area";
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(window.Manager().ControlByName(L"closebtn")->GetRect().left, 260);
    DestroyWindow(handle);
    EXPECT_EQ(window.NativeHandle(), nullptr);
}

TEST_F(WindowImplBaseTest, HitTestsGiveTheSizeBoxThenTheCaptionBandExceptOverButtonsAndTexts)
{
    SkinWindow window(kSkin);
    HWND handle = Create(window);
    ASSERT_TRUE(handle);
    const struct {
        int x, y;
        LRESULT code;
    } kPoints[] = {
        {1, 1, HTTOPLEFT},      {150, 4, HTTOP},      {294, 0, HTTOPRIGHT},
        {3, 193, HTBOTTOMLEFT}, {150, 193, HTBOTTOM}, {299, 199, HTBOTTOMRIGHT},
        {3, 100, HTLEFT},       {294, 100, HTRIGHT},  {4, 5, HTCAPTION},
        {293, 192, HTCLIENT},   {50, 20, HTCAPTION},  {265, 15, HTCLIENT},
        {105, 15, HTCAPTION},   {150, 15, HTCLIENT},  {210, 15, HTCAPTION},
        {50, 39, HTCAPTION},    {50, 40, HTCLIENT},   {15, 65, HTCLIENT},
    };
    for (const auto& point : kPoints)
        EXPECT_EQ(HitTest(handle, point.x, point.y), point.code) << point.x << "," << point.y;

    SendMessageW(handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    PumpMessages();
    ASSERT_TRUE(IsZoomed(handle));
    EXPECT_EQ(HitTest(handle, 1, 1), HTCAPTION) << "maximised: no size box";
    DestroyWindow(handle);
}

TEST_F(WindowImplBaseTest, TheRoundCornerRegionFollowsTheSizeAndAPlainSkinHasNone)
{
    SkinWindow window(kSkin);
    HWND handle = Create(window);
    ASSERT_TRUE(handle);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(handle, region), ERROR);
    RECT box = {};
    GetRgnBox(region, &box);
    EXPECT_EQ(box.right, 300);  // the region is made one pixel larger, its box is the window's
    EXPECT_EQ(box.bottom, 200);
    EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the corner is cut";
    EXPECT_FALSE(PtInRegion(region, 299, 199));
    EXPECT_TRUE(PtInRegion(region, 5, 5));
    EXPECT_TRUE(PtInRegion(region, 150, 100));
    SetWindowPos(handle, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRgn(handle, region);
    GetRgnBox(region, &box);
    EXPECT_EQ(box.right, 200);
    EXPECT_EQ(box.bottom, 150);
    DestroyWindow(handle);

    SkinWindow plain(L"<Window size=\"100,80\"><Control/></Window>");
    HWND plainHandle = Create(plain);
    EXPECT_EQ(GetWindowRgn(plainHandle, region), ERROR) << "no roundcorner: no region";
    DeleteObject(region);
    DestroyWindow(plainHandle);
}

TEST_F(WindowImplBaseTest, MinMaxInfoTakesTheWorkAreaAndTheSkinsMinimum)
{
    SkinWindow window(kSkin);
    HWND handle = Create(window);
    ASSERT_TRUE(handle);
    MINMAXINFO info = {};
    SendMessageW(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(info.ptMinTrackSize.x, 120);
    EXPECT_EQ(info.ptMinTrackSize.y, 90);
    EXPECT_EQ(info.ptMaxTrackSize.x, monitor.rcWork.right - monitor.rcWork.left);
    EXPECT_EQ(info.ptMaxTrackSize.y, monitor.rcWork.bottom - monitor.rcWork.top);
    EXPECT_EQ(info.ptMaxPosition.x, monitor.rcWork.left - monitor.rcMonitor.left);

    SetWindowPos(handle, nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT rect = WindowRectOf(handle);
    EXPECT_EQ(rect.right - rect.left, 120) << "the minimum clamps a smaller size";
    EXPECT_EQ(rect.bottom - rect.top, 90);

    SendMessageW(handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    RECT client = {};
    GetClientRect(handle, &client);
    EXPECT_EQ(client.right, monitor.rcWork.right - monitor.rcWork.left);
    EXPECT_EQ(client.bottom, monitor.rcWork.bottom - monitor.rcWork.top);
    DestroyWindow(handle);
}

TEST_F(WindowImplBaseTest, MaximiseAndRestoreSwapTheirButtonsAndTheSystemButtonsWork)
{
    SkinWindow window(kSkin);
    HWND handle = Create(window);
    ASSERT_TRUE(handle);
    CUIManager& manager = window.Manager();
    CControlUI* maximize = manager.ControlByName(L"maxbtn");
    CControlUI* restore = manager.ControlByName(L"restorebtn");
    manager.SendNotification(maximize, L"click");
    EXPECT_TRUE(IsZoomed(handle));
    EXPECT_FALSE(maximize->IsVisible());
    EXPECT_TRUE(restore->IsVisible());
    manager.SendNotification(restore, L"click");
    EXPECT_FALSE(IsZoomed(handle));
    EXPECT_TRUE(maximize->IsVisible());
    EXPECT_FALSE(restore->IsVisible());

    manager.SendNotification(manager.ControlByName(L"check"), L"click");
    EXPECT_EQ(PostedClose(handle), -1) << "other names do nothing";
    manager.SendNotification(manager.ControlByName(L"closebtn"), L"click");
    EXPECT_EQ(PostedClose(handle), 1);
    EXPECT_TRUE(window.closes.empty()) << "posted, not yet handled";
    DestroyWindow(handle);
}

TEST_F(WindowImplBaseTest, EscapeClosesWithOneAndEnterDoesNothing)
{
    SkinWindow window(kSkin);
    HWND handle = Create(window);
    ASSERT_TRUE(handle);
    MSG enter = {handle, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    CUIManager::TranslateForManagers(enter);
    EXPECT_EQ(PostedClose(handle), -1);
    MSG escape = {handle, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    CUIManager::TranslateForManagers(escape);
    EXPECT_EQ(PostedClose(handle), 1);
    DestroyWindow(handle);
}

TEST_F(WindowImplBaseTest, TheSystemCloseCommandBecomesACloseMessage)
{
    SkinWindow window(kSkin);
    HWND handle = Create(window);
    ASSERT_TRUE(handle);
    SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(window.closes, std::vector<WPARAM>{0});
    EXPECT_FALSE(IsWindow(handle)) << "an unhandled close destroys the window";
    EXPECT_EQ(window.NativeHandle(), nullptr);
}

TEST_F(WindowImplBaseTest, AMissingSkinArchiveResourceLeavesTheWindowEmpty)
{
    SetResourceModule(GetModuleHandleW(nullptr));  // no ZIPRES here
    SkinWindow window(L"options.xml", SkinResourceKind::ZipResource);
    HWND handle = Create(window);
    ASSERT_TRUE(handle);
    EXPECT_EQ(window.Manager().Root(), nullptr);
    EXPECT_EQ(window.skinReady, 0);
    DestroyWindow(handle);
}

TEST_F(WindowImplBaseTest, TheSkinArchiveResourceGivesTheOptionsWindow)
{
    HMODULE installer = SkinUITest::LoadInstallerAsData();
    ASSERT_TRUE(installer) << "the installer is built beside the tests";
    SetResourceModule(installer);
    SkinWindow first(L"options.xml", SkinResourceKind::ZipResource);
    SkinWindow second(L"download.xml", SkinResourceKind::ZipResource);
    HWND firstHandle = Create(first);
    HWND secondHandle = Create(second);
    ASSERT_TRUE(first.Manager().Root());
    ASSERT_TRUE(second.Manager().Root());
    EXPECT_NE(first.Manager().ControlByName(L"buttonInstall"), nullptr);
    EXPECT_NE(second.Manager().ControlByName(L"downloadpro"), nullptr);
    EXPECT_EQ(first.Manager().CaptionRect().bottom, 57);
    DestroyWindow(firstHandle);
    DestroyWindow(secondHandle);
    SetResourceModule(nullptr);
    FreeLibrary(installer);
}

TEST_F(WindowImplBaseTest, WindowsComeAndGoWithoutLeavingGdiObjects)
{
    // Hidden: showing a window costs the display a round trip, and nothing here needs paint.
    auto cycle = [] {
        SkinWindow window(kSkin);
        HWND handle =
            window.CreateNative(nullptr, L"skin", WS_OVERLAPPEDWINDOW, 0, 100, 100, 400, 300);
        SetWindowPos(handle, nullptr, 0, 0, 250, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DestroyWindow(handle);
    };
    cycle();  // fonts, brushes and caches made once per process
    const DWORD before = SkinUITest::GdiObjectCount();
    for (int i = 0; i < 20; ++i) cycle();
    EXPECT_LE(SkinUITest::GdiObjectCount(), before + 2) << "regions, DCs and bitmaps are freed";
}
