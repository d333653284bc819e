// Render engine figures: decoding each skin image of the installer's embedded archive, and
// painting the options window's background (2996x1484 stretched to 1124x557) per frame.
// Usage: render_bench [installer.exe] (default: ..\app\VQUpdate.exe beside this program).
#include "bench/bench_support.h"
#include "archive/zip_reader.h"
#include "ui/render/image_decoder.h"
#include "ui/render/image_descriptor.h"
#include "ui/render/msimg32_functions.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace SkinUI;
using namespace SkinUIBench;

namespace {

std::vector<std::wstring> ImageNames()
{
    std::vector<std::wstring> names;
    ZipEntry count;
    if (getZipItem(OpenSkinArchive(), -1, &count) != ResultOk) return names;
    for (int32_t i = 0; i < count.index; ++i) {
        ZipEntry entry;
        std::wstring name = getZipItem(OpenSkinArchive(), i, &entry) == ResultOk ? entry.name : L"";
        if (name.size() > 4 && name.compare(name.size() - 4, 4, L".png") == 0)
            names.push_back(name);
    }
    return names;
}

void BenchDecoding()
{
    std::printf("decoding (mean of 5 runs, from the in-memory archive):\n");
    double total = 0;
    for (const std::wstring& name : ImageNames()) {
        const int runs = 5;
        auto start = Clock::now();
        int width = 0, height = 0;
        for (int i = 0; i < runs; ++i) {
            auto image = DecodeImage(name, nullptr, 0);
            width = image ? image->width() : 0;
            height = image ? image->height() : 0;
        }
        double each = MillisecondsSince(start) / runs;
        total += each;
        std::printf("  %-22ls %5dx%-5d %8.2f ms\n", name.c_str(), width, height, each);
    }
    std::printf("  all images               %8.2f ms\n", total);
}

void BenchBackground(const wchar_t* descriptor, const wchar_t* label)
{
    const int width = 1124, height = 557, frames = 30;
    BasicRenderContext context;
    DibSection target = CreateDibSection32(width, height);
    MemoryDC dc;
    SelectGuard select(dc.get(), target.bitmap.get());
    RECT window = {0, 0, width, height};
    ImageDrawInfo background;
    background.SetDescriptor(descriptor);

    auto start = Clock::now();
    if (!DrawImageDescriptor(dc.get(), context, window, window, background)) {
        std::printf("update_bg.png did not load\n");
        return;
    }
    GdiFlush();
    double first = MillisecondsSince(start);
    start = Clock::now();
    for (int i = 0; i < frames; ++i)
        DrawImageDescriptor(dc.get(), context, window, window, background);
    GdiFlush();
    double each = MillisecondsSince(start) / frames;
    std::printf("background 2996x1484 -> %dx%d, %ls: first paint %.2f ms (with decoding), then "
                "%.2f ms per frame\n",
                width, height, label, first, each);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring installer = argc > 1 ? argv[1] : DefaultInstaller();
    if (!LendInstallerSkinArchive(installer)) return 1;
    BenchDecoding();
    // The image is opaque: it is copied. A fade sends it through the blend instead.
    BenchBackground(L"file='update_bg.png'", L"opaque copy");
    BenchBackground(L"file='update_bg.png' fade='254'", L"faded, system AlphaBlend");
    DisableSystemBlending(true);
    BenchBackground(L"file='update_bg.png' fade='254'", L"faded, own blend");
    DisableSystemBlending(false);
    return 0;
}
