// A plain Win32 popup for the paint manager's tests: its window procedure hands every message
// to its CUIManager (the real window base comes later), and counts what it received. Helpers
// to build small trees, pump messages and record the events controls receive.
#pragma once

#include "ui/core/control_ui.h"
#include "ui/core/ui_manager.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI::Testing {

class TestWindow {
public:
    // A visible popup with its client area at (x, y) on the screen, not activated.
    TestWindow(int x, int y, int width, int height, DWORD exStyle = 0,
               const wchar_t* title = L"manager test");
    // The manager (and its tree) goes first, then the window.
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }
    CUIManager& manager() { return *m_manager; }
    // How many times the window procedure received `message`.
    int Received(UINT message) const;
    // Paints now what is invalid (layered windows: their dirty rectangle).
    void PaintNow();
    // The window's client area as the manager's print path draws it (PrintWindow), 0xRRGGBB.
    std::vector<COLORREF> PrintClient() const;
    COLORREF PrintedPixel(const std::vector<COLORREF>& pixels, int x, int y) const;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    std::unique_ptr<CUIManager> m_manager;
    std::map<UINT, int> m_received;
    int m_width;
    int m_height;
};

// Writes a 32-bit BMP with alpha (pixels 0xAARRGGBB, not premultiplied) into the temporary
// folder and returns its full path, usable as an image descriptor.
std::wstring WriteTestImage(const std::wstring& fileName, int width, int height,
                            uint32_t (*argb)(int x, int y));

// Dispatches the messages of this thread for `milliseconds`.
void Pump(DWORD milliseconds);

// A container root filling the window and plain children floating at the given rectangles.
struct Tree {
    ControlPtr root;
    std::vector<CControlUI*> children;
};
Tree MakeTree(const std::vector<RECT>& childRects);
// Makes `child` float at `rect` (relative to its parent's top-left).
void FloatAt(CControlUI& child, const RECT& rect);

// One event as a control received it.
struct SeenEvent {
    CControlUI* control;
    EventKind kind;
    WORD keyState;
    WPARAM wParam;
    POINT mouse;
    wchar_t key;
};

// Records every event the watched controls receive, in order, through their event listeners.
class EventRecorder {
public:
    void Watch(CControlUI& control);
    std::vector<SeenEvent> events;
    // "name:Kind" for each event of the given kinds (all kinds when empty).
    std::vector<std::wstring> Trace(const std::vector<EventKind>& kinds = {}) const;

private:
    bool OnEvent(void* event);
};

// Records notifications as "type:sender name" with their parameters.
class NotifyRecorder : public INotifyUI {
public:
    void OnNotify(NotifyMsg& msg) override;
    std::vector<NotifyMsg> seen;
    std::vector<std::wstring> Trace() const;
};

}  // namespace SkinUI::Testing
