// TestWindow and the test helpers; see test_window.h.
#include "tests/ui/core/test_window.h"

#include "tests/ui/core/recording_control.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/render/dib_section.h"

namespace SkinUI::Testing {

namespace {

const wchar_t kClassName[] = L"SkinUIManagerTestWindow";

void RegisterOnce()
{
    static const bool registered = [] {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

TestWindow::TestWindow(int x, int y, int width, int height, DWORD exStyle, const wchar_t* title)
    : m_manager(std::make_unique<CUIManager>()), m_width(width), m_height(height)
{
    RegisterOnce();
    m_hwnd = CreateWindowExW(exStyle, kClassName, title, WS_POPUP, x, y, width, height, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    m_manager->AttachWindow(m_hwnd, L"test");
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
}

TestWindow::~TestWindow()
{
    m_manager.reset();
    DestroyWindow(m_hwnd);
}

LRESULT CALLBACK TestWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr) {
        ++self->m_received[message];
        LRESULT result = 0;
        if (self->m_manager &&
            self->m_manager->HandleWindowMessage(message, wParam, lParam, result))
            return result;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int TestWindow::Received(UINT message) const
{
    auto it = m_received.find(message);
    return it != m_received.end() ? it->second : 0;
}

void TestWindow::PaintNow()
{
    if (m_manager->IsLayered()) {
        // The 10 ms timer paints the dirty rectangle.
        Pump(60);
        return;
    }
    UpdateWindow(m_hwnd);
}

std::vector<COLORREF> TestWindow::PrintClient() const
{
    DibSection dib = CreateDibSection32(m_width, m_height);
    MemoryDC dc;
    {
        SelectGuard select(dc.get(), dib.bitmap.get());
        PrintWindow(m_hwnd, dc.get(), PW_CLIENTONLY);
        GdiFlush();
    }
    std::vector<COLORREF> pixels(dib.pixels, dib.pixels + size_t(m_width) * m_height);
    for (COLORREF& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

COLORREF TestWindow::PrintedPixel(const std::vector<COLORREF>& pixels, int x, int y) const
{
    return pixels[static_cast<size_t>(y) * m_width + x];
}

std::wstring WriteTestImage(const std::wstring& fileName, int width, int height,
                            uint32_t (*argb)(int x, int y))
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + fileName;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = -height;  // top-down
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD pixelBytes = DWORD(width) * height * 4;
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + pixelBytes;
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(argb(x, y));
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, &file, sizeof(file), &written, nullptr);
    WriteFile(out, &info, sizeof(info), &written, nullptr);
    WriteFile(out, pixels.data(), pixelBytes, &written, nullptr);
    CloseHandle(out);
    return path;
}

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    // Timers that expire faster than a loaded machine handles them keep the queue from ever
    // running empty: the deadline ends a drain as well, a little late so that Pump(0) still
    // handles what is queued.
    const DWORD drainEnd = milliseconds + 100;
    MSG msg;
    for (;;) {
        while (GetTickCount() - start < drainEnd && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

void FloatAt(CControlUI& child, const RECT& rect)
{
    child.SetFloat(true);
    child.SetFixedOffset(rect.left, rect.top);
    child.SetRequestedWidth(rect.right - rect.left);
    child.SetRequestedHeight(rect.bottom - rect.top);
}

Tree MakeTree(const std::vector<RECT>& childRects)
{
    Tree tree;
    auto root = MakeControl<CHorizontalLayoutUI>();
    auto* container = static_cast<CHorizontalLayoutUI*>(root.get());
    for (const RECT& rect : childRects) {
        ControlPtr child = MakeControl<CControlUI>();
        FloatAt(*child, rect);
        tree.children.push_back(container->AddChild(std::move(child)));
    }
    tree.root = std::move(root);
    return tree;
}

void EventRecorder::Watch(CControlUI& control)
{
    control.OnEvent.Add(MakeDelegate(this, &EventRecorder::OnEvent));
}

bool EventRecorder::OnEvent(void* param)
{
    const auto& event = *static_cast<ControlEvent*>(param);
    events.push_back(
        {event.sender, event.kind, event.keyState, event.wParam, event.mouse, event.key});
    return true;
}

std::vector<std::wstring> EventRecorder::Trace(const std::vector<EventKind>& kinds) const
{
    std::vector<std::wstring> trace;
    for (const SeenEvent& event : events) {
        bool wanted = kinds.empty();
        for (EventKind kind : kinds) wanted = wanted || kind == event.kind;
        if (!wanted) continue;
        trace.push_back(event.control->GetName() + L":" + EventKindName(event.kind));
    }
    return trace;
}

void NotifyRecorder::OnNotify(NotifyMsg& msg)
{
    seen.push_back(msg);
}

std::vector<std::wstring> NotifyRecorder::Trace() const
{
    std::vector<std::wstring> trace;
    for (const NotifyMsg& msg : seen)
        trace.push_back(msg.type + L":" + (msg.sender ? msg.sender->GetName() : L"-"));
    return trace;
}

}  // namespace SkinUI::Testing
