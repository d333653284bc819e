// What the shadow window tests share: plain popup parents that count the messages reaching
// their own procedure, finding a parent's shadow window, and a fixture that registers the
// shadow class and records every bitmap pushed to a layered window (the pixels are read from
// the pushed bitmap: the test display does not composite alpha).
#pragma once

#include "ui/window/shadow_bitmap.h"
#include "ui/window/window_shadow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

namespace SkinUITest {

// One call of the layered-window update function.
struct PushedBitmap {
    HWND window = nullptr;
    POINT place = {};
    SIZE size = {};
    BLENDFUNCTION blend = {};
    DWORD flags = 0;
    std::vector<uint32_t> pixels;  // the source DC's bitmap, row 0 at the top
    bool accepted = false;         // the system's answer
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * size.cx + x]; }
};

// A popup of the test's own class, destroyed with the object.
class ParentWindow {
public:
    ParentWindow(int x, int y, int width, int height, DWORD style = WS_POPUP | WS_VISIBLE);
    ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;
    HWND get() const { return m_window; }

    // How often WM_APP reached the window's own procedure.
    static int AppMessages();

private:
    HWND m_window;
};

// The shadow window owned by `parent` (class "SkinShadowWnd"), or null.
HWND ShadowWindowOf(HWND parent);
RECT WindowRectOf(HWND window);
void PumpMessages();

// The computed shadow of `shape` as the pure function gives it.
std::vector<uint32_t> ExpectedShadow(const SkinUI::WindowShape& shape,
                                     const SkinUI::ShadowLook& look);

class ShadowWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every bitmap pushed since the test began.
    static const std::vector<PushedBitmap>& Pushed();
};

}  // namespace SkinUITest
