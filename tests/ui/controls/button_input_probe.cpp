// The clickable leaf controls under real input: a test window at a fixed place with a button,
// a fading button, a check box, two grouped options, an option without a group and a text
// with two links, run by CUIManager's message loop. Every notification, every fade tick and
// every change of the colour painted at a control's centre is written to the log file named
// on the command line, one line each, for button_input_e2e.py to check.
#include "tests/ui/core/test_window.h"
#include "ui/controls/button_ui.h"
#include "ui/controls/check_box_ui.h"
#include "ui/controls/option_ui.h"
#include "ui/controls/text_ui.h"
#include "ui/layouts/container_ui.h"

#include <cstdio>
#include <map>
#include <string>

using namespace SkinUI;
using namespace SkinUI::Testing;

namespace {

constexpr int kWindowX = 100;
constexpr int kWindowY = 100;

FILE* g_log = nullptr;

void Log(const std::wstring& line)
{
    std::fprintf(g_log, "%ls\n", line.c_str());
    std::fflush(g_log);
}

std::wstring Hex(COLORREF bgr)
{
    wchar_t text[8];
    std::swprintf(text, 8, L"%02x%02x%02x", GetRValue(bgr), GetGValue(bgr), GetBValue(bgr));
    return text;
}

// A button that logs its fade alpha after every tick of the fade timer.
class FadeButton : public CButtonUI {
public:
    void HandleEvent(ControlEvent& event) override
    {
        CButtonUI::HandleEvent(event);
        if (event.kind == EventKind::Timer && event.wParam == FadeTimer)
            Log(L"fade alpha=" + std::to_wstring(GetFadeAlpha()) + L" t=" +
                std::to_wstring(GetTickCount()));
    }

protected:
    ~FadeButton() override = default;
};

// The root: after each paint it logs the colour at the centre of every named child that
// changed since the last paint.
class ProbeRoot : public CContainerUI {
public:
    void DrawAfter(HDC dc, const RECT&) override
    {
        for (int i = 0; i < ChildCount(); ++i) {
            CControlUI* child = ChildAt(i);
            const RECT r = child->GetRect();
            const std::wstring colour = Hex(GetPixel(dc, (r.left + r.right) / 2, r.top + 5));
            std::wstring& last = m_seen[child->GetName()];
            if (colour == last) continue;
            last = colour;
            Log(L"pixel " + child->GetName() + L" " + colour);
        }
    }

protected:
    ~ProbeRoot() override = default;

private:
    std::map<std::wstring, std::wstring> m_seen;
};

class Receiver : public INotifyUI {
public:
    void OnNotify(NotifyMsg& msg) override
    {
        Log(L"notify " + msg.type + L" " + (msg.sender ? msg.sender->GetName() : L"-") + L" w=" +
            std::to_wstring(msg.wParam));
    }
};

const std::wstring kStateImages = L"normalimage=\"color='#FFFF0000'\" "
                                  L"hotimage=\"color='#FF00FF00'\" "
                                  L"pushedimage=\"color='#FF0000FF'\"";
const std::wstring kTickImages = L"normalimage=\"color='#FF808080'\" "
                                 L"selectedimage=\"color='#FFFFFFFF'\"";

template <typename T>
T* Add(ProbeRoot& root, const RECT& rect, const std::wstring& attributes)
{
    ControlPtr control = MakeControl<T>();
    FloatAt(*control, rect);
    CControlUI* added = root.AddChild(std::move(control));
    added->ApplyAttributeList(attributes);
    return static_cast<T*>(added);
}

void BuildControls(ProbeRoot& root)
{
    Add<CButtonUI>(root, {10, 10, 110, 60}, L"name=\"btn\" " + kStateImages);
    Add<FadeButton>(root, {130, 10, 230, 60}, L"name=\"fade\" fadedelta=\"100\" " + kStateImages);
    Add<CCheckBoxUI>(root, {10, 80, 40, 110}, L"name=\"chk\" " + kTickImages);
    Add<COptionUI>(root, {60, 80, 90, 110}, L"name=\"opt1\" group=\"g\" " + kTickImages);
    Add<COptionUI>(root, {110, 80, 140, 110}, L"name=\"opt2\" group=\"g\" " + kTickImages);
    Add<COptionUI>(root, {160, 80, 190, 110}, L"name=\"solo\" " + kTickImages);
    Add<CTextUI>(root, {210, 80, 390, 130},
                 L"name=\"txt\" showhtml=\"true\" textcolor=\"#FFFFFFFF\" "
                 L"text=\"{a first}first link{/a} {a second}second link{/a}\"");
}

void LogLinks(const CTextUI& text)
{
    for (std::size_t i = 0; i < text.Links().size(); ++i) {
        const RECT& r = text.Links()[i].rects.at(0);
        Log(L"link " + std::to_wstring(i) + L" " + std::to_wstring((r.left + r.right) / 2) + L" " +
            std::to_wstring((r.top + r.bottom) / 2));
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || (g_log = _wfopen(argv[1], L"w")) == nullptr) return 2;
    TestWindow window(kWindowX, kWindowY, 400, 200);
    Receiver receiver;
    auto root = MakeControl<ProbeRoot>();
    auto* probeRoot = static_cast<ProbeRoot*>(root.get());
    probeRoot->SetBkColor(0xFF000000);
    window.manager().AttachRoot(std::move(root));
    BuildControls(*probeRoot);
    window.manager().AddReceiver(&receiver);
    window.manager().AddAfterPaint(probeRoot);
    SetForegroundWindow(window.hwnd());
    UpdateWindow(window.hwnd());
    LogLinks(*static_cast<CTextUI*>(window.manager().ControlByName(L"txt")));
    Log(L"ready " + std::to_wstring(kWindowX) + L" " + std::to_wstring(kWindowY));
    const int code = CUIManager::RunMessageLoop();
    std::fclose(g_log);
    return code;
}
