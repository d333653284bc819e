// Skin figures: the markup reader on a 4 MiB skin beside a plain UTF-8 to UTF-16 conversion of
// the same bytes, and the options window's skin from the installer's archive to a built tree
// beside loading and parsing it alone, each timed in the same run.
#include "bench/bench_support.h"
#include "ui/core/ui_manager.h"
#include "ui/markup/skin_builder.h"
#include "ui/markup/skin_file.h"
#include "ui/window/window_impl_base.h"

#include <windows.h>

#include <cstdio>
#include <string>

using namespace SkinUI;
using SkinUIBench::Clock;
using SkinUIBench::MillisecondsSince;

namespace {

// Mean milliseconds of `runs` calls of `work`.
template <typename Work>
double MeanMilliseconds(int runs, Work&& work)
{
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) work();
    return MillisecondsSince(start) / runs;
}

// A skin of exactly `size` bytes that looks like the installer's: rows of floating controls
// with positions, colours, images, Chinese text, an entity and a comment each.
std::string LargeSkin(size_t size)
{
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Window size=\"1124,557\">"
        "<HorizontalLayout bkimage=\"file='update_bg.png'\">\n";
    const std::string row =
        "  <Button name=\"chkDesktopOptionText\" float=\"true\" pos=\"560,240,0,0\" width=\"200\" "
        "height=\"23\" text=\"\xE6\xB7\xBB\xE5\x8A\xA0\xE6\xA1\x8C\xE9\x9D\xA2 &amp; more\" "
        "align=\"left\" textcolor=\"#FFFFFFFF\" normalimage=\"file='closebt.png'\" font=\"3\" /> "
        "<!-- a caption -->\n";
    const std::string tail = "</HorizontalLayout></Window>";
    std::string skin = head;
    while (skin.size() + row.size() + tail.size() <= size) skin += row;
    skin += tail;
    skin.append(size - skin.size(), ' ');  // trailing blanks are allowed after the root
    return skin;
}

void MarkupFigures()
{
    const std::string skin = LargeSkin(4u << 20);
    const auto* bytes = reinterpret_cast<const unsigned char*>(skin.data());
    // A fresh string each time, as the reader makes one for each load.
    const double convertMs = MeanMilliseconds(10, [&] {
        const int length =
            MultiByteToWideChar(CP_UTF8, 0, skin.data(), int(skin.size()), nullptr, 0);
        std::wstring converted(static_cast<size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, skin.data(), int(skin.size()), converted.data(), length);
    });
    CSkinMarkup markup;
    bool parsed = true;
    const double parseMs = MeanMilliseconds(10, [&] {
        parsed = markup.LoadSkinBytes(bytes, skin.size(), SkinEncoding::Utf8) && parsed;
    });
    std::wstring decoded;
    const double decodeMs = MeanMilliseconds(
        10, [&] { decoded = DecodeSkinBytes(bytes, skin.size(), SkinEncoding::Utf8); });
    const double textMs = MeanMilliseconds(10, [&] { markup.LoadSkinText(decoded); });
    std::printf("markup: a %zu-byte skin\n", skin.size());
    std::printf("  of which decoding:                     %8.2f ms; parsing text: %.2f ms\n",
                decodeMs, textMs);
    std::printf("  UTF-8 -> UTF-16 (MultiByteToWideChar): %8.2f ms (mean of 10)\n", convertMs);
    std::printf("  decoded and parsed:                    %8.2f ms (mean of 10), %.2fx the "
                "conversion (goal within 3x)%s\n",
                parseMs, parseMs / convertMs, parsed ? "" : ", FAILED TO PARSE");
}

bool BuildFigures()
{
    if (!SkinUIBench::LendInstallerSkinArchive(SkinUIBench::DefaultInstaller())) return false;
    HWND window = CreateWindowExW(0, L"Static", L"skin bench", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    CSkinMarkup markup;
    const double parseMs = MeanMilliseconds(20, [&] { LoadSkinFile(markup, L"options.xml"); });
    // The first build decodes the skin's images into the window's cache; later builds of the
    // same window find them there, so they measure the tree alone.
    CUIManager manager;
    manager.AttachWindow(window, L"bench");
    auto buildOnce = [&manager] {
        CSkinBuilder builder;
        return builder.Build({L"options.xml", L"", nullptr, &manager}) != nullptr;
    };
    const auto start = Clock::now();
    const bool built = buildOnce();
    const double firstMs = MillisecondsSince(start);
    const double buildMs = MeanMilliseconds(20, buildOnce);
    DestroyWindow(window);
    std::printf("options.xml from the skin archive:\n");
    std::printf("  unzipped and parsed:                 %8.3f ms (mean of 20)\n", parseMs);
    std::printf("  built into a tree, images decoded:   %8.3f ms%s\n", firstMs,
                built ? "" : ", NOT BUILT");
    std::printf("  built into a tree, images cached:    %8.3f ms (mean of 20), %.1fx the parse\n",
                buildMs, buildMs / parseMs);
    return built;
}

class OptionsWindow : public WindowImplBase {
protected:
    const wchar_t* WindowClassName() const override { return L"SkinBenchOptionsWindow"; }
    std::wstring SkinFolder() const override { return L""; }
    std::wstring SkinFile() const override { return L"options.xml"; }
};

// Milliseconds from creating `make`'s window to the end of its first paint.
template <typename Make>
double CreationToFirstPaint(Make&& make)
{
    const auto start = Clock::now();
    HWND window = make();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    const double ms = MillisecondsSince(start);
    DestroyWindow(window);
    return ms;
}

// The options window from its skin, beside a plain popup of its size that paints nothing.
void FirstPaintFigures()
{
    const double plainMs = CreationToFirstPaint([] {
        return CreateWindowExW(0, L"Static", L"plain", WS_POPUP, 0, 0, 1124, 557, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    });
    OptionsWindow options;
    const double optionsMs = CreationToFirstPaint(
        [&options] { return options.CreateNative(nullptr, L"options", WS_POPUP, 0); });
    std::printf("options window, creation to first paint (images decoded on the way):\n");
    std::printf("  a plain 1124x557 popup:  %8.2f ms\n", plainMs);
    std::printf("  the skinned window:      %8.2f ms\n", optionsMs);
}

}  // namespace

int wmain()
{
    MarkupFigures();
    if (!BuildFigures()) return 1;
    FirstPaintFigures();
    return 0;
}
