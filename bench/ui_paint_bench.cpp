// Paint manager figures: the install options window (its layout and its eighteen real controls
// as its skin sets them) painted whole beside a plain BitBlt of that size, repainted after a
// hover over the install button, and laid out beside as many plain Place calls; one layered
// frame of the download window's size beside a plain UpdateLayeredWindow.
// Usage: ui_paint_bench [installer.exe] (default: ..\app\VQUpdate.exe beside this program).
#include "bench/bench_support.h"
#include "tests/ui/core/test_window.h"
#include "ui/controls/button_ui.h"
#include "ui/controls/check_box_ui.h"
#include "ui/controls/edit_ui.h"
#include "ui/controls/text_ui.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/render/dib_section.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace SkinUI;
using namespace SkinUIBench;
using namespace SkinUI::Testing;

namespace {

constexpr int kFrames = 50;
constexpr int kLayoutPasses = 2000;

enum class Kind { Button, Text, Edit, CheckBox };

struct SkinElement {
    Kind kind;
    const wchar_t* attributes;
};

// The children of the options skin's root layout, in document order, with their attributes
// (written one space apart, as attribute lists want them).
const SkinElement kOptionsChildren[] = {
    {Kind::Button,
     L"name=\"buttionClose\" float=\"true\" pos=\"1065,20,0,0\" width=\"18\" "
     L"height=\"18\" maxwidth=\"18\" maxheight=\"18\" normalimage=\"file='closebt.png'\" "
     L"hotimage=\"closeh.png\" pushedimage=\"closebt.png\" textcolor=\"#FFFFFFFF\" font=\"18\""},
    {Kind::Text, L"text=\"安装到:\" padding=\"451,125,0,0\" width=\"90\" height=\"27\" "
                 L"textcolor=\"#FFFFFFFF\" font=\"1\""},
    {Kind::Edit,
     L"name=\"installpath\" float=\"true\" pos=\"520,165,444,45\" width=\"444\" "
     L"height=\"45\" text=\"C:\\Program Files (x86)\\ROVuruvodiv\" textcolor=\"#FFFFFFFF\" "
     L"textpadding=\"12,12,12,12\" borderround=\"8,8\" align=\"left\" "
     L"bkcolor=\"#FF1A1C1F\" multiline=\"false\" font=\"1\""},
    {Kind::Button,
     L"name=\"installpathEdit\" float=\"true\" pos=\"984,170,35,29\" width=\"35\" "
     L"height=\"29\" maxheight=\"35\" maxwidth=\"29\" normalimage=\"file='pathchoose.png'\" "
     L"hotimage=\"pathchooseh.png\" pushedimage=\"pathchoose.png\""},
    {Kind::CheckBox, L"name=\"chkDesktopOption\" float=\"true\" pos=\"520,240,30,30\" width=\"30\" "
                     L"height=\"30\" selected=\"true\" normalimage=\"file='checkboxnormal.png'\" "
                     L"selectedimage=\"file='checkboxselect.png'\""},
    {Kind::Button,
     L"name=\"chkDesktopOptionText\" float=\"true\" pos=\"560,240,0,0\" width=\"200\" "
     L"height=\"23\" text=\"添加桌面快捷方式\" align=\"left\" textcolor=\"#FFFFFFFF\" font=\"3\""},
    {Kind::CheckBox, L"name=\"chkMenuOption\" float=\"true\" pos=\"780,240,30,30\" width=\"30\" "
                     L"height=\"30\" selected=\"true\" normalimage=\"file='checkboxnormal.png'\" "
                     L"selectedimage=\"file='checkboxselect.png'\""},
    {Kind::Button,
     L"name=\"chkMenuOptionText\" pos=\"820,240,0,0\" width=\"200\" height=\"23\" "
     L"float=\"true\" text=\"添加到开始菜单\" align=\"left\" textcolor=\"#FFFFFFFF\" font=\"3\""},
    {Kind::CheckBox, L"name=\"chkTaskOption\" float=\"true\" pos=\"520,300,30,30\" width=\"30\" "
                     L"height=\"30\" selected=\"true\" normalimage=\"file='checkboxnormal.png'\" "
                     L"selectedimage=\"file='checkboxselect.png'\""},
    {Kind::Button,
     L"name=\"chkTaskOptionText\" float=\"true\" pos=\"560,300,0,0\" width=\"300\" "
     L"height=\"30\" text=\"同意参加用户体验计划\" align=\"left\" textcolor=\"#FFFFFFFF\" "
     L"font=\"3\""},
    {Kind::CheckBox,
     L"name=\"chkOption\" float=\"true\" pos=\"780,300,30,30\" width=\"30\" "
     L"height=\"30\" selected=\"true\" visible=\"false\" "
     L"normalimage=\"file='checkboxnormal.png'\" selectedimage=\"file='checkboxselect.png'\""},
    {Kind::Button, L"name=\"chkOptionText\" float=\"true\" pos=\"820,300,0,0\" width=\"240\" "
                   L"height=\"30\" text=\"同意参加用户体验计划\" visible=\"false\" align=\"left\" "
                   L"textcolor=\"#FFFFFFFF\" font=\"3\""},
    {Kind::CheckBox, L"name=\"chkAgreeOption\" float=\"true\" pos=\"520,385,20,20\" width=\"20\" "
                     L"height=\"20\" selected=\"true\" normalimage=\"file='checkboxnormal1.png'\" "
                     L"selectedimage=\"file='checkboxselect1.png'\""},
    {Kind::Button,
     L"name=\"chkAgreeOptionText\" float=\"true\" pos=\"555,380,0,0\" width=\"150\" "
     L"height=\"30\" text=\"我已同意并阅读\" align=\"left\" textcolor=\"#FFFFFFFF\" font=\"3\""},
    {Kind::Button,
     L"name=\"userAgree\" float=\"true\" pos=\"715,380,0,0\" width=\"80\" height=\"30\" "
     L"text=\"用户协议\" textcolor=\"#FF24C75D\" hottextcolor=\"#FFFFFFFF\" font=\"3\""},
    {Kind::Button, L"name=\"with\" pos=\"795,380,0,0\" width=\"60\" height=\"30\" float=\"true\" "
                   L"text=\"  和  \" textcolor=\"#FFFFFFFF\" font=\"3\""},
    {Kind::Button,
     L"name=\"privAgree\" pos=\"855,380,0,0\" width=\"80\" height=\"30\" float=\"true\" "
     L"text=\"隐私协议\" textcolor=\"#FF24C75D\" hottextcolor=\"#FFFFFFFF\" font=\"3\""},
    {Kind::Button, L"name=\"buttonInstall\" float=\"true\" pos=\"830,440,186,57\" width=\"186\" "
                   L"height=\"57\" maxwidth=\"186\" maxheight=\"57\" textcolor=\"#FFFFFFFF\" "
                   L"bkcolor=\"#FF24C75D\" normalimage=\"file='installbt.png'\" "
                   L"hotimage=\"installbtH.png\" pushedimage=\"installbt.png\" font=\"4\""},
};

ControlPtr MakeElement(Kind kind)
{
    switch (kind) {
    case Kind::Button: return MakeControl<CButtonUI>();
    case Kind::Text: return MakeControl<CTextUI>();
    case Kind::Edit: return MakeControl<CEditUI>();
    case Kind::CheckBox: return MakeControl<CCheckBoxUI>();
    }
    return nullptr;
}

// The options window's root layout with its children, as its skin builds them.
ControlPtr MakeOptionsTree()
{
    ControlPtr root = MakeControl<CHorizontalLayoutUI>();
    root->ApplyAttributeList(L"bkimage=\"file='update_bg.png'\" hole=\"true\"");
    auto& layout = static_cast<CHorizontalLayoutUI&>(*root);
    for (const SkinElement& element : kOptionsChildren) {
        ControlPtr child = MakeElement(element.kind);
        child->ApplyAttributeList(element.attributes);
        layout.AddChild(std::move(child));
    }
    return root;
}

CControlUI* AttachOptionsTree(CUIManager& manager)
{
    manager.Fonts().DefineFont(1, L"checboxfont", 21, false, false, false);
    manager.Fonts().DefineFont(3, L"checboxfont", 21, false, false, false);
    manager.Fonts().DefineFont(4, L"checboxfont", 27, false, false, false);
    ControlPtr root = MakeOptionsTree();
    CControlUI* raw = root.get();
    manager.AttachRoot(std::move(root));
    return raw;
}

// Milliseconds per BitBlt of a window-sized bitmap to the window.
double PlainBlit(HWND window, int width, int height)
{
    DibSection source = CreateDibSection32(width, height);
    MemoryDC dc;
    SelectGuard select(dc.get(), source.bitmap.get());
    WindowDC target(window);
    auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i)
        BitBlt(target.get(), 0, 0, width, height, dc.get(), 0, 0, SRCCOPY);
    GdiFlush();
    return MillisecondsSince(start) / kFrames;
}

// The pointer goes onto the install button and off it again: each move repaints the button
// alone (hot image, then normal).
double HoverRepaint(TestWindow& window)
{
    const LPARAM over = MAKELPARAM(900, 470), beside = MAKELPARAM(700, 470);
    auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i) {
        SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, (i % 2) == 0 ? over : beside);
        window.PaintNow();
    }
    return MillisecondsSince(start) / kFrames;
}

void BenchRepaint()
{
    const int width = 1124, height = 557;
    TestWindow window(0, 0, width, height);
    CControlUI* root = AttachOptionsTree(window.manager());
    auto start = Clock::now();
    window.PaintNow();
    const double first = MillisecondsSince(start);
    const DibSection& frame = window.manager().OffscreenPixels();
    if (!frame || (frame.pixels[size_t(height / 2) * width + width / 2] & 0xFFFFFF) == 0)
        std::printf("nothing painted: the background image is missing\n");
    start = Clock::now();
    for (int i = 0; i < kFrames; ++i) {
        window.manager().InvalidateAll();
        window.PaintNow();
    }
    const double repaint = MillisecondsSince(start) / kFrames;
    const double hover = HoverRepaint(window);
    std::printf("full repaint %dx%d (options window: background image, layout and 18 controls): "
                "first %.2f ms (with decoding), then %.2f ms; repaint after a hover %.3f ms; "
                "plain BitBlt of the window's size %.3f ms\n",
                width, height, first, repaint, hover, PlainBlit(window.hwnd(), width, height));

    // The same number of Place calls on plain controls: what the layout adds is its own work.
    std::vector<ControlPtr> plain;
    for (int i = 0; i <= 18; ++i) {
        plain.push_back(MakeControl<CControlUI>());
        window.manager().AdoptControls(plain.back().get(), root);
    }
    const RECT whole = root->GetRect();
    start = Clock::now();
    for (int i = 0; i < kLayoutPasses; ++i) root->Place(whole, false);
    const double layout = MillisecondsSince(start) * 1000 / kLayoutPasses;
    start = Clock::now();
    for (int i = 0; i < kLayoutPasses; ++i)
        for (const ControlPtr& control : plain) control->Place(RECT{10, 10, 40, 40}, false);
    const double places = MillisecondsSince(start) * 1000 / kLayoutPasses;
    std::printf("layout pass of the options tree (root and 18 children): %.2f us; 19 plain "
                "Place calls %.2f us\n",
                layout, places);
}

using UpdateLayeredWindowFunction = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                  BLENDFUNCTION*, DWORD);

// A plain layered window updated from a DIB of the same size, with nothing drawn.
double PlainLayeredFrame(int width, int height)
{
    TestWindow window(0, 600, width, height, WS_EX_LAYERED);
    auto update = reinterpret_cast<UpdateLayeredWindowFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow")));
    DibSection source = CreateDibSection32(width, height);
    MemoryDC dc;
    SelectGuard select(dc.get(), source.bitmap.get());
    POINT position = {0, 600}, origin = {0, 0};
    SIZE size = {width, height};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i)
        update(window.hwnd(), nullptr, &position, &size, dc.get(), &origin, 0, &blend, ULW_ALPHA);
    return MillisecondsSince(start) / kFrames;
}

void BenchLayeredFrame()
{
    const int width = 1217, height = 300;
    TestWindow window(0, 600, width, height);
    ControlPtr root = MakeControl<CHorizontalLayoutUI>();
    auto* container = static_cast<CHorizontalLayoutUI*>(root.get());
    const std::pair<const wchar_t*, RECT> pictures[] = {
        {L"bkimage=\"file='processBbg.png'\" borderround=\"20,20\"", {0, 135, 1217, 174}},
        {L"bkimage=\"file='prcessgame.png'\"", {225, 45, 375, 145}},
        {L"bkimage=\"file='processvideo.png'\"", {300, 90, 370, 160}},
        {L"bkimage=\"file='processscreen.png'\"", {430, 30, 530, 100}},
        {L"bkimage=\"file='processaudio.png'\"", {590, 90, 640, 160}}};
    for (const auto& [look, rect] : pictures) {
        ControlPtr child = MakeControl<CControlUI>();
        child->ApplyAttributeList(look);
        FloatAt(*child, rect);
        container->AddChild(std::move(child));
    }
    window.manager().AttachRoot(std::move(root));
    window.manager().ApplyWindowAttributeList(L"layeredimage=\"\" layeredopacity=\"255\"");
    window.PaintNow();
    auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i) {
        window.manager().InvalidateAll();
        SendMessageW(window.hwnd(), WM_PAINT, 0, 0);
    }
    const double frame = MillisecondsSince(start) / kFrames;
    std::printf("layered frame %dx%d (5 pictures): %.2f ms; plain UpdateLayeredWindow of that "
                "size %.2f ms\n",
                width, height, frame, PlainLayeredFrame(width, height));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring installer = argc > 1 ? argv[1] : DefaultInstaller();
    if (!LendInstallerSkinArchive(installer)) return 1;
    BenchRepaint();
    BenchLayeredFrame();
    return 0;
}
