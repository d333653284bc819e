// EditScene and the edit test helpers; see edit_scene.h.
#include "tests/ui/controls/edit_scene.h"

namespace SkinUI::Testing {

EditScene::EditScene(DWORD exStyle, int x, int y) : m_window(x, y, 400, 200, exStyle, L"edit test")
{
    ControlPtr root = MakeControl<CContainerUI>();
    m_root = static_cast<CContainerUI*>(root.get());
    manager().AttachRoot(std::move(root));
    manager().AddReceiver(&notifications);
    Settle();
}

CEditUI& EditScene::AddEdit(const RECT& rect, CContainerUI* parent)
{
    ControlPtr edit = MakeControl<CEditUI>();
    FloatAt(*edit, rect);
    auto& added = static_cast<CEditUI&>(*(parent ? parent : m_root)->AddChild(std::move(edit)));
    Settle();
    return added;
}

CContainerUI& EditScene::AddContainer(const RECT& rect)
{
    ControlPtr container = MakeControl<CContainerUI>();
    FloatAt(*container, rect);
    auto& added = static_cast<CContainerUI&>(*m_root->AddChild(std::move(container)));
    Settle();
    return added;
}

namespace {

class FocusTaker : public CControlUI {
public:
    UINT GetFlags() const override { return ControlFlagTabStop; }
};

}  // namespace

CControlUI& EditScene::AddFocusTaker(const RECT& rect)
{
    ControlPtr control = MakeControl<FocusTaker>();
    FloatAt(*control, rect);
    CControlUI& added = *m_root->AddChild(std::move(control));
    Settle();
    return added;
}

void EditScene::Settle()
{
    InvalidateRect(m_window.hwnd(), nullptr, FALSE);
    m_window.PaintNow();
    Pump(0);
}

HWND EditScene::Open(CEditUI& edit)
{
    manager().FocusControl(&edit);
    return edit.NativeWindow();
}

void Type(HWND box, const std::wstring& text)
{
    for (wchar_t ch : text) SendMessageW(box, WM_CHAR, ch, 1);
}

void PressEnter(HWND box)
{
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
    SendMessageW(box, WM_CHAR, VK_RETURN, 1);
    SendMessageW(box, WM_KEYUP, VK_RETURN, 0xC0000001);
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < milliseconds) Pump(5);
    return done();
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

RECT RectInParent(HWND window)
{
    RECT rc;
    GetWindowRect(window, &rc);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

int CountOf(const NotifyRecorder& recorder, const std::wstring& type)
{
    int count = 0;
    for (const NotifyMsg& msg : recorder.seen) count += msg.type == type ? 1 : 0;
    return count;
}

}  // namespace SkinUI::Testing
