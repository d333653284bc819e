// The paint manager under real input: a test window at a fixed place with two controls side
// by side, run by CUIManager's message loop. Every event the controls receive, every
// notification and every tooltip shown is written to the log file named on the command line,
// one line each, for manager_input_e2e.py to check. Q ends the program.
#include "tests/ui/core/recording_control.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "tests/ui/core/test_window.h"

#include <cstdio>
#include <string>

using namespace SkinUI;
using namespace SkinUI::Testing;

namespace {

constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
constexpr UINT kCheckToolTip = WM_APP + 1;

FILE* g_log = nullptr;

void Log(const std::wstring& line)
{
    std::fprintf(g_log, "%ls\n", line.c_str());
    std::fflush(g_log);
}

std::wstring EventLine(const ControlEvent& event)
{
    return L"event " + event.sender->GetName() + L" " + EventKindName(event.kind) + L" keys=" +
           std::to_wstring(event.keyState) + L" w=" + std::to_wstring(event.wParam) + L" at=" +
           std::to_wstring(event.mouse.x) + L"," + std::to_wstring(event.mouse.y);
}

// A control that logs its activation (what a shortcut does).
class ProbeControl : public CControlUI {
public:
    bool Activate() override
    {
        Log(L"activate " + GetName());
        return CControlUI::Activate();
    }
    UINT GetFlags() const override { return ControlFlagTabStop; }
};

class Probe : public INotifyUI, public IMessageFilterUI {
public:
    explicit Probe(TestWindow& window) : m_window(window) {}

    bool OnEvent(void* param)
    {
        auto& event = *static_cast<ControlEvent*>(param);
        if (event.kind != EventKind::SetCursor) Log(EventLine(event));
        if (event.kind == EventKind::MouseHover) PostMessageW(m_window.hwnd(), kCheckToolTip, 0, 0);
        return true;
    }
    void OnNotify(NotifyMsg& msg) override
    {
        Log(L"notify " + msg.type + L" " + (msg.sender ? msg.sender->GetName() : L"-"));
    }
    LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) override
    {
        if (message == WM_KEYDOWN && wParam == 'Q') PostQuitMessage(0);
        if (message == WM_MOUSELEAVE) Log(L"message leave");
        if (message == WM_MOUSEHOVER) Log(L"message hover");
        if (message != kCheckToolTip) return 0;
        handled = true;
        LogToolTip();
        return 0;
    }

private:
    void LogToolTip()
    {
        HWND tip = nullptr;
        while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
            if (GetWindow(tip, GW_OWNER) != m_window.hwnd()) continue;
            wchar_t text[256] = {};
            TOOLINFOW info = {};
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.lpszText = text;
            SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info));
            std::wstring shown = text;
            for (size_t at = 0; (at = shown.find(L"\r\n", at)) != std::wstring::npos;)
                shown.replace(at, 2, L"|");
            Log(L"tooltip visible=" + std::to_wstring(IsWindowVisible(tip) ? 1 : 0) + L" text=" +
                shown);
            return;
        }
        Log(L"tooltip none");
    }

    TestWindow& m_window;
};

ControlPtr MakeProbeControl(const wchar_t* name, const RECT& rect, Probe& probe)
{
    ControlPtr control = MakeControl<ProbeControl>();
    control->SetName(name);
    FloatAt(*control, rect);
    control->OnEvent.Add(MakeDelegate(&probe, &Probe::OnEvent));
    return control;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || (g_log = _wfopen(argv[1], L"w")) == nullptr) return 2;
    TestWindow window(kWindowX, kWindowY, 400, 200);
    Probe probe(window);
    auto root = MakeControl<CHorizontalLayoutUI>();
    root->SetName(L"root");
    auto* container = static_cast<CHorizontalLayoutUI*>(root.get());
    CControlUI* left = container->AddChild(MakeProbeControl(L"left", {0, 0, 150, 150}, probe));
    CControlUI* right = container->AddChild(MakeProbeControl(L"right", {200, 0, 350, 150}, probe));
    left->SetToolTip(L"first<n>second");
    left->SetShortcut(L'L');
    right->SetShortcut(L'R');
    right->SetUsesContextMenu(true);
    window.manager().AttachRoot(std::move(root));
    window.manager().AddReceiver(&probe);
    window.manager().AddFilter(&probe);
    SetForegroundWindow(window.hwnd());
    UpdateWindow(window.hwnd());
    Log(L"ready " + std::to_wstring(kWindowX) + L" " + std::to_wstring(kWindowY));
    const int code = CUIManager::RunMessageLoop();
    Log(L"quit " + std::to_wstring(code));
    std::fclose(g_log);
    return 0;
}
