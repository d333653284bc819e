// Paint manager figures: a full repaint of the options window's size (background image and
// 18 controls) beside a plain BitBlt of that size, one layered frame of the download window's
// size beside a plain UpdateLayeredWindow, and a layout pass of the tree. A test container
// stands in for the layouts that do not exist yet.
// Usage: ui_paint_bench [installer.exe] (default: ..\app\VQUpdate.exe beside this program).
#include "bench/bench_support.h"
#include "tests/ui/core/test_container.h"
#include "tests/ui/core/test_window.h"
#include "ui/render/dib_section.h"

#include <cstdio>
#include <string>

using namespace SkinUI;
using namespace SkinUIBench;
using namespace SkinUI::Testing;

namespace {

constexpr int kFrames = 50;

// The options window's picture: its background and 18 controls with images, colours, borders.
CControlUI* BuildOptionsTree(CUIManager& manager)
{
    auto root = MakeControl<TestContainer>();
    root->ApplyAttributeList(L"bkimage=\"file='update_bg.png'\"");
    auto* container = static_cast<TestContainer*>(root.get());
    const wchar_t* looks[] = {L"bkimage=\"file='checkboxselect.png'\"",
                              L"bkimage=\"file='pathchoose.png'\"",
                              L"bkcolor=\"#FF1A1C1F\" borderround=\"8,8\"",
                              L"bkimage=\"file='installbt.png'\"",
                              L"bkcolor=\"#8024C75D\" bordercolor=\"#FFFFFFFF\" bordersize=\"1\"",
                              L"bkimage=\"file='closebt.png'\""};
    for (int i = 0; i < 18; ++i) {
        ControlPtr child = MakeControl<CControlUI>();
        child->ApplyAttributeList(looks[i % 6]);
        const LONG x = 40 + (i % 6) * 170, y = 60 + (i / 6) * 150;
        FloatAt(*child, {x, y, x + 150, y + 100});
        container->Add(std::move(child));
    }
    CControlUI* raw = root.get();
    manager.AttachRoot(std::move(root));
    return raw;
}

void BenchRepaint()
{
    const int width = 1124, height = 557;
    TestWindow window(0, 0, width, height);
    CControlUI* root = BuildOptionsTree(window.manager());
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

    DibSection source = CreateDibSection32(width, height);
    MemoryDC dc;
    SelectGuard select(dc.get(), source.bitmap.get());
    WindowDC target(window.hwnd());
    start = Clock::now();
    for (int i = 0; i < kFrames; ++i)
        BitBlt(target.get(), 0, 0, width, height, dc.get(), 0, 0, SRCCOPY);
    GdiFlush();
    const double blit = MillisecondsSince(start) / kFrames;
    std::printf("full repaint %dx%d (background image and 18 controls): first %.2f ms (with "
                "decoding), then %.2f ms; plain BitBlt of that size %.3f ms\n",
                width, height, first, repaint, blit);

    const RECT whole = root->GetRect();
    start = Clock::now();
    for (int i = 0; i < kFrames * 20; ++i) root->Place(whole, false);
    std::printf("layout pass of the tree: %.4f ms\n", MillisecondsSince(start) / (kFrames * 20));
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
    auto root = MakeControl<TestContainer>();
    auto* container = static_cast<TestContainer*>(root.get());
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
        container->Add(std::move(child));
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
