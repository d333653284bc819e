// Draws a sheet of render engine samples (skin images, nine parts, tiles, gradients,
// borders, clips, HSL, plain and marked-up text in Latin and Chinese), checks pixels of it
// whose colours are known, and saves it as a PNG. Exits with 1 when a check fails.
// Usage: render_samples OUTPUT.png [installer.exe]
#include "tests/ui/render/canvas.h"
#include "ui/render/clip.h"
#include "ui/render/color_hsl.h"
#include "ui/render/fill_and_stroke.h"
#include "ui/render/image_blit.h"
#include "ui/render/image_descriptor.h"
#include "ui/render/text_markup.h"
#include "ui/render/msimg32_functions.h"
#include "ui/render/resource_files.h"
#include "ui/render/resource_settings.h"
#include "ui/render/text_render.h"

#include <cstdio>
#include <string>

using namespace SkinUI;
using namespace SkinUITest;

namespace {

constexpr int kWidth = 900, kHeight = 640;
constexpr int kChinese = 5, kLabel = 1, kTitle = 2;

constexpr uint32_t kBackground = 0xFF1A1C1F;

void Label(HDC dc, IRenderContext& context, int x, int y, const wchar_t* text)
{
    RECT rc = {x, y, x + 280, y + 18};
    DrawPlainText(dc, context, rc, text, 0xFF9AA0A6, kLabel, DT_SINGLELINE);
}

void Text(HDC dc, IRenderContext& context, RECT rc, const wchar_t* text, DWORD argb, int font,
          UINT style)
{
    DrawPlainText(dc, context, rc, text, argb, font, style);
}

void Checkerboard(HDC dc, const RECT& rc)
{
    for (int y = rc.top; y < rc.bottom; y += 8)
        for (int x = rc.left; x < rc.right; x += 8)
            FillColor(dc,
                      RECT{x, y, std::min<int>(x + 8, rc.right), std::min<int>(y + 8, rc.bottom)},
                      ((x + y) / 8) % 2 ? 0xFFFFFFFF : 0xFFC8C8C8);
}

void DrawDescriptor(HDC dc, IRenderContext& context, const RECT& rc, const wchar_t* descriptor)
{
    ImageDrawInfo info;
    info.SetDescriptor(descriptor);
    DrawImageDescriptor(dc, context, rc, rc, info);
}

void DrawImages(HDC dc, BasicRenderContext& context)
{
    Label(dc, context, 20, 50, L"skin images: stretched, opaque and alpha");
    DrawDescriptor(dc, context, RECT{20, 70, 300, 209}, L"update_bg.png");
    DrawDescriptor(dc, context, RECT{310, 70, 496, 127}, L"file='installbt.png'");
    DrawDescriptor(dc, context, RECT{310, 135, 340, 165}, L"checkboxselect.png");
    DrawDescriptor(dc, context, RECT{350, 135, 380, 165}, L"checkboxnormal.png");
    DrawDescriptor(dc, context, RECT{390, 135, 420, 165}, L"closebt.png");
    DrawDescriptor(dc, context, RECT{430, 135, 465, 164}, L"pathchoose.png");
    DrawDescriptor(dc, context, RECT{310, 175, 560, 190}, L"file='processBbg.png'");
    DrawDescriptor(dc, context, RECT{310, 175, 460, 190},
                   L"file='processFbg.png' source='0,0,740,39'");

    auto grid = makeImage(24, 24, [](int x, int y) {
        bool edge = x < 6 || y < 6 || x >= 18 || y >= 18;
        bool corner = (x < 6 || x >= 18) && (y < 6 || y >= 18);
        return corner ? 0xFFE0483Eu : edge ? 0xC03C78D8u : 0xFFF2C94Cu;
    });
    Label(dc, context, 580, 50, L"nine parts, hole, x tiles, fade");
    BlitLayout nine;
    nine.source = RECT{0, 0, 24, 24};
    nine.corner = RECT{6, 6, 6, 6};
    nine.hasAlpha = true;
    BlitImage(dc, grid->bitmap(), RECT{580, 70, 700, 130}, RECT{0, 0, kWidth, kHeight}, nine);
    nine.hole = true;
    BlitImage(dc, grid->bitmap(), RECT{710, 70, 880, 130}, RECT{0, 0, kWidth, kHeight}, nine);
    BlitLayout tiles;
    tiles.source = RECT{0, 0, 24, 24};
    tiles.xTiled = true;
    tiles.hasAlpha = true;
    BlitImage(dc, grid->bitmap(), RECT{580, 140, 870, 164}, RECT{0, 0, kWidth, kHeight}, tiles);
    BlitLayout faded;
    faded.source = RECT{0, 0, 24, 24};
    faded.fade = 90;
    BlitImage(dc, grid->bitmap(), RECT{580, 172, 700, 208}, RECT{0, 0, kWidth, kHeight}, faded);

    auto hue = makeImage(24, 24, [](int x, int) { return x < 12 ? 0xFF24C75Du : 0xFFE0483Eu; });
    hue->usesHSL = true;
    hue->unadjusted.assign(hue->dib.pixels, hue->dib.pixels + 24 * 24);
    ShiftImageHSL(true, hue.get(), 300, 100, 100);
    BlitLayout plain;
    plain.source = RECT{0, 0, 24, 24};
    BlitImage(dc, hue->bitmap(), RECT{710, 172, 770, 208}, RECT{0, 0, kWidth, kHeight}, plain);
    Label(dc, context, 780, 180, L"HSL +120");
}

void DrawFills(HDC dc, BasicRenderContext& context)
{
    Label(dc, context, 20, 225, L"gradients: system, banded, translucent");
    FillGradient(dc, RECT{20, 245, 160, 305}, 0xFF24C75D, 0xFF1A1C1F, true, 64);
    FillGradient(dc, RECT{170, 245, 310, 305}, 0xFFE0483E, 0xFF3C78D8, false, 64);
    DisableSystemBlending(true);
    FillGradient(dc, RECT{320, 245, 460, 305}, 0xFFE0483E, 0xFF3C78D8, false, 8);
    DisableSystemBlending(false);
    Checkerboard(dc, RECT{470, 245, 610, 305});
    FillGradient(dc, RECT{470, 245, 610, 305}, 0x003C78D8, 0xFF3C78D8, true, 64);
    Checkerboard(dc, RECT{620, 245, 760, 305});
    FillColor(dc, RECT{630, 255, 750, 295}, 0x80E0483E);
    Label(dc, context, 770, 265, L"colour at alpha 0x80");

    Label(dc, context, 20, 320, L"borders and a round clip");
    StrokeRect(dc, RECT{20, 340, 120, 400}, 3, 0xFF24C75D);
    StrokeRoundRect(dc, RECT{130, 340, 230, 400}, 2, 16, 16, 0xFFF2C94C);
    StrokeRect(dc, RECT{240, 340, 340, 400}, 1, 0xFFFFFFFF, PS_DASH);
    StrokeLine(dc, RECT{350, 340, 450, 400}, 2, 0xFFE0483E);
    ClipRegion clip = RoundClip(dc, RECT{460, 340, 560, 400}, RECT{460, 340, 559, 399}, 24, 24);
    FillGradient(dc, RECT{460, 340, 560, 400}, 0xFF3C78D8, 0xFF24C75D, false, 64);
}

// Draws the text samples; returns the links of the markup sample.
std::vector<MarkupLink> DrawTexts(HDC dc, BasicRenderContext& context)
{
    Label(dc, context, 20, 415, L"plain text");
    Text(dc, context, RECT{20, 435, 300, 460}, L"Install to: C:\\Program Files", 0xFFFFFFFF, 3,
         DT_SINGLELINE);
    Text(dc, context, RECT{20, 462, 300, 490}, L"安装到: 添加桌面快捷方式", 0xFF24C75D, kChinese,
         DT_SINGLELINE);
    Text(dc, context, RECT{20, 492, 200, 515},
         L"A long path that is cut with an ellipsis at the end", 0xFFF2C94C, 3,
         DT_SINGLELINE | DT_END_ELLIPSIS);

    Label(dc, context, 320, 415, L"markup");
    RECT box = {320, 435, 880, 620};
    FillColor(dc, box, 0xFF2A2D31);
    std::vector<MarkupLink> links;
    DrawMarkupText(
        dc, context, box,
        L"<b>Bold</b>, <i>italic</i>, <u>underlined</u>, <c #FFE0483E>red</c> and "
        L"<a https://example.invalid/agreement>a link</a>; {s}selected{/s} text.<n>"
        L"<f 5>我已同意并阅读 <a agreement>用户协议</a> 和 <a privacy>隐私协议</a></f><n>"
        L"<p 6>A paragraph with word wrap that runs over more than one line inside its box, "
        L"with an inline image <i checkboxselect1.png 1 0> and x<x 20>advance.</p>"
        L"<r><b> stays raw</b></r> <{> and <}> escaped",
        0xFFFFFFFF, &links, 8, 3, DT_WORDBREAK);
    for (const MarkupLink& link : links) {
        for (const RECT& rect : link.rects) StrokeRect(dc, rect, 1, 0xFF6B7280, PS_DOT);
    }
    return links;
}

// Checks of the drawn sheet: pixels whose colour follows from what was drawn there (blends
// worked out by hand), and counts where the exact pixels depend on the fonts.
class SheetChecks {
public:
    explicit SheetChecks(const Canvas& canvas) : m_canvas(canvas) {}

    void Pixel(const char* what, int x, int y, uint32_t expected, int tolerance = 0)
    {
        uint32_t actual = m_canvas.pixel(x, y);
        if (sameColor(actual, expected, tolerance)) return;
        Fail(what, "pixel (" + std::to_string(x) + "," + std::to_string(y) + ") is " + Hex(actual) +
                       ", expected " + Hex(expected));
    }

    void NotBackground(const char* what, int x, int y)
    {
        if (!sameColor(m_canvas.pixel(x, y), kBackground, 8)) return;
        Fail(what, "pixel (" + std::to_string(x) + "," + std::to_string(y) +
                       ") still shows the background");
    }

    // At least `minimum` pixels of `area` near `color`.
    void Shows(const char* what, const RECT& area, uint32_t color, int minimum)
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x)
                count += sameColor(m_canvas.pixel(x, y), color, 40) ? 1 : 0;
        }
        if (count < minimum)
            Fail(what, std::to_string(count) + " pixels of " + Hex(color) + ", expected " +
                           std::to_string(minimum) + " or more");
    }

    void That(const char* what, bool holds)
    {
        if (!holds) Fail(what, "does not hold");
    }

    int failures() const { return m_failures; }

private:
    static std::string Hex(uint32_t color)
    {
        char text[16];
        std::snprintf(text, sizeof(text), "%06X", static_cast<unsigned>(rgb(color)));
        return text;
    }

    void Fail(const char* what, const std::string& detail)
    {
        std::fprintf(stderr, "render_samples: %s: %s\n", what, detail.c_str());
        ++m_failures;
    }

    const Canvas& m_canvas;
    int m_failures = 0;
};

int CheckSheet(const Canvas& canvas, const std::vector<MarkupLink>& links)
{
    SheetChecks check(canvas);
    check.Pixel("untouched background", 890, 5, kBackground);
    check.NotBackground("stretched skin background", 160, 140);
    check.NotBackground("install button", 403, 98);
    check.NotBackground("close button", 405, 150);

    // The 24x24 grid: opaque red corners, edges 0x3C78D8 at alpha 0xC0, opaque yellow centre.
    check.Pixel("nine-part corner", 582, 72, 0xE0483E);
    check.Pixel("nine-part centre", 640, 100, 0xF2C94C);
    check.Pixel("nine-part edge blended over the background", 640, 72, 0x3361AA, 3);
    check.Pixel("nine-part hole", 795, 100, kBackground, 1);
    check.Pixel("first x tile", 581, 141, 0xE0483E);
    check.Pixel("second x tile", 605, 141, 0xE0483E);
    check.Pixel("image at fade 90", 640, 190, 0x66592F, 3);
    check.Pixel("image turned by 120 degrees", 720, 190, ShiftColorHSL(0xFF24C75D, 300, 100, 100),
                2);

    check.Pixel("vertical gradient, top", 90, 245, 0x24C75D, 6);
    check.Pixel("vertical gradient, bottom", 90, 304, 0x1A1C1F, 6);
    check.Pixel("horizontal gradient, left", 170, 275, 0xE0483E, 6);
    check.Pixel("horizontal gradient, right", 309, 275, 0x3C78D8, 6);
    check.Pixel("banded gradient, right band", 459, 275, 0x3C78D8, 1);
    check.Pixel("banded gradient, left band: (7 from + to) / 8", 321, 275, 0xCB4E51, 1);
    check.Pixel("gradient at alpha 127 over white", 471, 246, 0x9EBCEC, 3);

    check.Pixel("3-pixel frame", 22, 370, 0x24C75D);
    check.Pixel("inside the frame", 24, 370, kBackground);
    check.Pixel("round clip keeps the corner", 460, 340, kBackground);
    check.NotBackground("inside the round clip", 510, 370);

    check.Shows("white plain text", RECT{20, 435, 300, 460}, 0xFFFFFF, 30);
    check.Shows("green Chinese text", RECT{20, 462, 300, 490}, 0x24C75D, 30);
    check.Shows("yellow text with an ellipsis", RECT{20, 492, 200, 515}, 0xF2C94C, 30);
    check.Shows("the link colour", RECT{320, 435, 880, 620}, 0x0000FF, 10);
    check.That("three links in the markup, each drawn",
               links.size() == 3 && !links[0].rects.empty() && !links[1].rects.empty() &&
                   !links[2].rects.empty());
    return check.failures();
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_samples OUTPUT.png [installer.exe]\n");
        return 2;
    }
    wchar_t self[MAX_PATH];
    std::wstring folder(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    folder.resize(folder.find_last_of(L'\\') + 1);
    std::wstring installer = argc > 2 ? argv[2] : folder + L"..\\..\\app\\VQUpdate.exe";
    HMODULE module = LoadLibraryExW(installer.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    std::optional<Bytes> archive;
    if (module) {
        SetResourceModule(module);
        archive = ReadProgramResource(L"101", L"ZIPRES");
    }
    if (!archive) {
        std::fprintf(stderr, "render_samples: no skin archive in %ls\n", installer.c_str());
        return 1;
    }
    SetSkinArchive(archive->data(), static_cast<unsigned>(archive->size()));

    BasicRenderContext context;
    context.Fonts().DefineFont(kLabel, L"Tahoma", 12, false, false, false);
    context.Fonts().DefineFont(kTitle, L"Tahoma", 20, true, false, false);
    context.Fonts().DefineFont(3, L"Tahoma", 15, false, false, false);
    context.Fonts().DefineFont(kChinese, L"WenQuanYi Micro Hei", 18, false, false, false);
    Canvas canvas(kWidth, kHeight, 0xFF1A1C1F);
    Text(canvas.dc(), context, RECT{20, 12, 880, 40}, L"SkinUI render engine samples", 0xFFFFFFFF,
         kTitle, DT_SINGLELINE);
    DrawImages(canvas.dc(), context);
    DrawFills(canvas.dc(), context);
    std::vector<MarkupLink> links = DrawTexts(canvas.dc(), context);
    int failures = CheckSheet(canvas, links);

    std::vector<unsigned char> png = encodePng(kWidth, kHeight, [&](int x, int y) {
        return canvas.pixel(x, y) | 0xFF000000;  // GDI text leaves alpha 0: the sheet is opaque
    });
    writeFile(argv[1], png);
    std::printf("wrote %ls (%zu bytes)\n", argv[1], png.size());
    return failures == 0 ? 0 : 1;
}
