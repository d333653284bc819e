// Layout separators under real input: a window at a fixed place whose two rows each hold a
// panel with a separator at its right edge (the top one follows the button-up, the bottom one
// "sepimm") and a filler. A thread timer writes the cursor and the panels' widths whenever
// they change to the log file named on the command line, for separator_input_e2e.py.
#include "tests/ui/core/test_window.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/layouts/vertical_layout_ui.h"

#include <cstdio>
#include <string>

using namespace SkinUI;
using namespace SkinUI::Testing;

namespace {

constexpr int kWindowX = 100;
constexpr int kWindowY = 100;

FILE* g_log = nullptr;
CControlUI* g_panels[2] = {};

void Log(const std::string& line)
{
    std::fprintf(g_log, "%s\n", line.c_str());
    std::fflush(g_log);
}

std::string CursorName()
{
    const HCURSOR cursor = GetCursor();
    if (cursor == LoadCursorW(nullptr, IDC_SIZEWE)) return "sizewe";
    if (cursor == LoadCursorW(nullptr, IDC_ARROW)) return "arrow";
    return "other";
}

void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD)
{
    static std::string cursor;
    static int widths[2] = {-1, -1};
    if (CursorName() != cursor) {
        cursor = CursorName();
        Log("cursor " + cursor);
    }
    for (int i = 0; i < 2; ++i) {
        if (g_panels[i]->GetWidth() == widths[i]) continue;
        widths[i] = g_panels[i]->GetWidth();
        Log("width " + std::string(i == 0 ? "panel " : "live ") + std::to_string(widths[i]));
    }
}

// A row 100 high: a panel 200 wide (120 to 260) with a separator of 6, then a filler.
CControlUI* AddRow(CContainerUI& root, bool immediate)
{
    auto* row = static_cast<CContainerUI*>(root.AddChild(MakeControl<CHorizontalLayoutUI>()));
    row->ApplyAttribute(L"height", L"100");
    CControlUI* panel = row->AddChild(MakeControl<CHorizontalLayoutUI>());
    panel->ApplyAttributeList(L"width=\"200\" minwidth=\"120\" maxwidth=\"260\" sepwidth=\"6\" "
                              L"bkcolor=\"#FF3070C0\"");
    panel->ApplyAttribute(L"sepimm", immediate ? L"true" : L"false");
    ControlPtr filler = MakeControl<CControlUI>();
    filler->SetBkColor(0xFFE0E0E0);
    row->AddChild(std::move(filler));
    return panel;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || (g_log = _wfopen(argv[1], L"w")) == nullptr) return 2;
    TestWindow window(kWindowX, kWindowY, 400, 200, 0, L"separator probe");
    ControlPtr root = MakeControl<CVerticalLayoutUI>();
    g_panels[0] = AddRow(static_cast<CContainerUI&>(*root), false);
    g_panels[1] = AddRow(static_cast<CContainerUI&>(*root), true);
    window.manager().AttachRoot(std::move(root));
    UpdateWindow(window.hwnd());
    SetTimer(nullptr, 0, 25, Poll);
    Log("ready");
    CUIManager::RunMessageLoop();
    std::fclose(g_log);
    return 0;
}
