// Shadow window test helpers; see shadow_window_fixture.h.
#include "tests/ui/window/shadow_window_fixture.h"

#include <string>

using namespace SkinUI;

namespace SkinUITest {
namespace {

std::vector<PushedBitmap> g_pushed;
LayeredWindowUpdater g_system = nullptr;
int g_appMessages = 0;

BOOL WINAPI RecordingUpdater(HWND window, HDC screen, POINT* place, SIZE* size, HDC source,
                             POINT* origin, COLORREF key, BLENDFUNCTION* blend, DWORD flags)
{
    PushedBitmap pushed;
    pushed.window = window;
    if (place) pushed.place = *place;
    if (size) pushed.size = *size;
    if (blend) pushed.blend = *blend;
    pushed.flags = flags;
    DIBSECTION section = {};
    if (GetObjectW(GetCurrentObject(source, OBJ_BITMAP), sizeof(section), &section) ==
            sizeof(section) &&
        section.dsBm.bmBits) {
        GdiFlush();
        const auto* bits = static_cast<const uint32_t*>(section.dsBm.bmBits);
        pushed.pixels.assign(bits, bits + static_cast<size_t>(section.dsBm.bmWidth) *
                                              section.dsBm.bmHeight);
    }
    const BOOL accepted = g_system(window, screen, place, size, source, origin, key, blend, flags);
    pushed.accepted = accepted != FALSE;
    g_pushed.push_back(std::move(pushed));
    return accepted;
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) ++g_appMessages;
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* ParentClass()
{
    static const wchar_t* name = [] {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_HREDRAW | CS_VREDRAW;  // every size change repaints
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = L"ShadowTestParent";
        RegisterClassExW(&windowClass);
        return L"ShadowTestParent";
    }();
    return name;
}

struct ShadowSearch {
    HWND parent;
    HWND found;
};

BOOL CALLBACK FindShadow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ShadowSearch*>(param);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) == L"SkinShadowWnd" && GetWindow(window, GW_OWNER) == search->parent) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

// Shown without activation: hiding or destroying the active window costs 2 s under Wine
// without a window manager.
ParentWindow::ParentWindow(int x, int y, int width, int height, DWORD style)
    : m_window(CreateWindowExW(0, ParentClass(), L"parent", style & ~WS_VISIBLE, x, y, width,
                               height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr))
{
    if (style & WS_VISIBLE) ShowWindow(m_window, SW_SHOWNOACTIVATE);
}

ParentWindow::~ParentWindow()
{
    if (IsWindow(m_window)) DestroyWindow(m_window);
}

int ParentWindow::AppMessages()
{
    return g_appMessages;
}

HWND ShadowWindowOf(HWND parent)
{
    ShadowSearch search = {parent, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindShadow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT WindowRectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<uint32_t> ExpectedShadow(const WindowShape& shape, const ShadowLook& look)
{
    const ShadowBitmapSize size = ComputedShadowSize(shape.width(), shape.height(), look.size);
    if (size.empty()) return {};
    std::vector<uint32_t> pixels(static_cast<size_t>(size.width) * size.height);
    ComputeShadow(shape, look, pixels.data());
    return pixels;
}

void ShadowWindowTest::SetUp()
{
    g_system = SetLayeredWindowUpdater(RecordingUpdater);
    ASSERT_TRUE(g_system) << "user32 has UpdateLayeredWindow";
    // Registered by the first test of the process; later ones find it registered.
    CWndShadow::RegisterShadowClass(GetModuleHandleW(nullptr));
    g_pushed.clear();
    g_appMessages = 0;
}

void ShadowWindowTest::TearDown()
{
    PumpMessages();
    SetLayeredWindowUpdater(g_system);
}

const std::vector<PushedBitmap>& ShadowWindowTest::Pushed()
{
    return g_pushed;
}

}  // namespace SkinUITest
