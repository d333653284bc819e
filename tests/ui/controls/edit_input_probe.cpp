// The edit control under real input: a test window at a fixed place with four edits and a
// plain control, run by CUIManager's message loop. Notifications, where each box opens, the
// caret after a click and what is left when a box closes are written to the log file named
// on the command line, one line each, for edit_input_e2e.py to check. Q (outside a box) ends
// the program.
//
// The window's client area is at (100, 100), 500x260. "name" (text "abcdefghijkl") lies at
// (10, 20)-(320, 70) inside a container from x = 40, which clips its box on the left; "limited"
// gets "maxchar" 3 once its box is open; "digits" is "numberonly"; "secret" is "password".
#include "tests/ui/core/test_window.h"
#include "tests/ui/render/canvas.h"
#include "ui/controls/edit_ui.h"
#include "ui/layouts/container_ui.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace SkinUI;
using namespace SkinUI::Testing;

namespace {

constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
constexpr int kWidth = 500;
constexpr int kHeight = 260;
// Posted with the control in lParam: log its box, or what is left once it closed.
constexpr UINT kCheckOpen = WM_APP + 1;
constexpr UINT kCheckClosed = WM_APP + 2;

FILE* g_log = nullptr;

void Log(const std::wstring& line)
{
    std::fprintf(g_log, "%ls\n", line.c_str());
    std::fflush(g_log);
}

std::wstring Join(const std::vector<LONG>& values)
{
    std::wstring text;
    for (LONG value : values) text += (text.empty() ? L"" : L",") + std::to_wstring(value);
    return text;
}

ControlPtr MakeEdit(const wchar_t* name, const RECT& rect)
{
    ControlPtr edit = MakeControl<CEditUI>();
    edit->SetName(name);
    edit->ApplyAttribute(L"textcolor", L"#FF000000");
    FloatAt(*edit, rect);
    return edit;
}

class FocusTaker : public CControlUI {
public:
    UINT GetFlags() const override { return ControlFlagTabStop; }
};

class Probe : public INotifyUI, public IMessageFilterUI {
public:
    explicit Probe(TestWindow& window) : m_window(window) {}

    void OnNotify(NotifyMsg& msg) override
    {
        auto* edit = static_cast<CEditUI*>(msg.sender->QueryInterface(L"Edit"));
        std::wstring line = L"notify " + msg.type + L" " + msg.sender->GetName();
        if (edit != nullptr) line += L" text=" + edit->GetText();
        Log(line);
        if (edit == nullptr) return;
        const UINT check = msg.type == L"setfocus"    ? kCheckOpen
                           : msg.type == L"killfocus" ? kCheckClosed
                                                      : 0;
        if (check != 0) PostMessageW(m_window.hwnd(), check, 0, reinterpret_cast<LPARAM>(edit));
    }

    LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override
    {
        if (message == WM_KEYDOWN && wParam == 'Q') PostQuitMessage(0);
        if (message != kCheckOpen && message != kCheckClosed) return 0;
        handled = true;
        auto* edit = reinterpret_cast<CEditUI*>(lParam);
        if (message == kCheckOpen) {
            LogBox(*edit);
        } else {
            LogClosed(*edit);
        }
        return 0;
    }

private:
    void LogBox(CEditUI& edit)
    {
        HWND box = edit.NativeWindow();
        if (box == nullptr) {
            Log(L"box " + edit.GetName() + L" none");
            return;
        }
        if (edit.GetName() == L"limited") edit.SetMaxChar(3);
        RECT rc;
        GetWindowRect(box, &rc);
        DWORD caret = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
        // The screen x of the left edge of each character.
        std::vector<LONG> lefts;
        for (int i = 0; i < GetWindowTextLengthW(box); ++i) {
            POINT at = {short(LOWORD(SendMessageW(box, EM_POSFROMCHAR, i, 0))), 0};
            ClientToScreen(box, &at);
            lefts.push_back(at.x);
        }
        Log(L"box " + edit.GetName() + L" rect=" + Join({rc.left, rc.top, rc.right, rc.bottom}) +
            L" focused=" + std::to_wstring(GetFocus() == box ? 1 : 0) + L" password=" +
            std::to_wstring(SendMessageW(box, EM_GETPASSWORDCHAR, 0, 0)) + L" limit=" +
            std::to_wstring(SendMessageW(box, EM_GETLIMITTEXT, 0, 0)) + L" caret=" +
            std::to_wstring(caret) + L" lefts=" + Join(lefts));
    }

    void LogClosed(CEditUI& edit)
    {
        Log(L"closed " + edit.GetName() + L" box=" + std::to_wstring(edit.NativeWindow() ? 1 : 0) +
            L" text=" + edit.GetText() + L" drawn=" + DrawnText(edit));
    }

    // Which text the window shows for `edit`: its own text, or its password characters,
    // compared with fresh edits drawn over the same window pixels.
    std::wstring DrawnText(CEditUI& edit)
    {
        const std::vector<COLORREF> shown = m_window.PrintClient();
        const std::wstring masked(edit.GetText().size(), edit.GetPasswordChar());
        for (const std::wstring& text : {edit.GetText(), masked}) {
            if (SameAsShown(edit, text, shown)) return text == masked ? L"masked" : L"plain";
        }
        return L"other";
    }

    bool SameAsShown(CEditUI& edit, const std::wstring& text, const std::vector<COLORREF>& shown)
    {
        ControlPtr copy = MakeControl<CEditUI>();
        copy->ApplyAttribute(L"textcolor", L"#FF000000");
        copy->SetWindowManager(&m_window.manager(), nullptr, false);
        copy->Place(edit.GetRect());
        copy->SetText(text);
        SkinUITest::Canvas canvas(kWidth, kHeight, 0xFFFFFFFF);
        copy->PaintTo(canvas.dc(), edit.GetRect());
        const RECT rc = edit.GetRect();
        for (LONG y = rc.top; y < rc.bottom; ++y)
            for (LONG x = rc.left; x < rc.right; ++x)
                if (SkinUITest::rgb(canvas.pixel(x, y)) !=
                    SkinUITest::rgb(m_window.PrintedPixel(shown, x, y)))
                    return false;
        return true;
    }

    TestWindow& m_window;
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || (g_log = _wfopen(argv[1], L"w")) == nullptr) return 2;
    TestWindow window(kWindowX, kWindowY, kWidth, kHeight, 0, L"edit input test");
    Probe probe(window);
    auto root = MakeControl<CContainerUI>();
    auto* container = static_cast<CContainerUI*>(root.get());
    // First in tab order: the window's first paint gives it the focus, not an edit.
    ControlPtr other = MakeControl<FocusTaker>();
    other->SetName(L"other");
    FloatAt(*other, {300, 160, 480, 240});
    container->AddChild(std::move(other));
    ControlPtr clipPtr = MakeControl<CContainerUI>();
    FloatAt(*clipPtr, {40, 10, 480, 80});
    auto* clip = static_cast<CContainerUI*>(container->AddChild(std::move(clipPtr)));
    CControlUI* name = clip->AddChild(MakeEdit(L"name", {-30, 10, 280, 60}));
    name->SetText(L"abcdefghijkl");
    container->AddChild(MakeEdit(L"limited", {20, 100, 220, 140}));
    container->AddChild(MakeEdit(L"digits", {260, 100, 460, 140}))
        ->ApplyAttribute(L"numberonly", L"true");
    container->AddChild(MakeEdit(L"secret", {20, 160, 220, 200}))
        ->ApplyAttribute(L"password", L"true");
    window.manager().AttachRoot(std::move(root));
    window.manager().AddReceiver(&probe);
    window.manager().AddFilter(&probe);
    SetForegroundWindow(window.hwnd());
    UpdateWindow(window.hwnd());
    const int font = window.manager().Fonts().FontInfoByNumber(-1).metrics.tmHeight;
    Log(L"ready " + std::to_wstring(kWindowX) + L" " + std::to_wstring(kWindowY) + L" font " +
        std::to_wstring(font));
    const int code = CUIManager::RunMessageLoop();
    Log(L"quit " + std::to_wstring(code));
    std::fclose(g_log);
    return 0;
}
