// Every drawing operation gives back the GDI objects it makes (counted by the system), and
// snapshots copy what was drawn.
#include "tests/ui/gdi_object_count.h"
#include "tests/ui/render/canvas.h"
#include "ui/render/clip.h"
#include "ui/render/color_hsl.h"
#include "ui/render/fill_and_stroke.h"
#include "ui/render/image_blit.h"
#include "ui/render/image_descriptor.h"
#include "ui/render/text_markup.h"
#include "ui/render/msimg32_functions.h"
#include "ui/render/snapshot.h"
#include "ui/render/text_render.h"

#include <gtest/gtest.h>

using namespace SkinUI;
using namespace SkinUITest;

namespace {

void DrawEverything(HDC dc, IRenderContext& context, const ImageInfo& image)
{
    RECT rc = {0, 0, 64, 64};
    BlitLayout layout;
    layout.source = RECT{0, 0, image.width(), image.height()};
    layout.corner = RECT{2, 2, 2, 2};
    layout.hasAlpha = true;
    layout.xTiled = true;
    BlitImage(dc, image.bitmap(), rc, rc, layout);
    layout.hasAlpha = false;
    BlitImage(dc, image.bitmap(), rc, rc, layout);
    FillColor(dc, rc, 0xFF102030);
    FillColor(dc, rc, 0x80102030);
    FillGradient(dc, rc, 0xFFFF0000, 0xFF0000FF, true, 16);
    FillGradient(dc, rc, 0x40FF0000, 0xFF0000FF, false, 16);
    StrokeLine(dc, rc, 2, 0xFFFFFFFF);
    StrokeRect(dc, rc, 1, 0xFFFFFFFF, PS_DASH);
    StrokeRoundRect(dc, rc, 1, 5, 5, 0xFFFFFFFF);
    {
        ClipRegion outer = RoundClip(dc, rc, rc, 8, 8);
        ClipRegion inner = RectClip(dc, RECT{4, 4, 40, 40});
        inner.UsePrevious();
        inner.UseNew();
    }
    DrawPlainText(dc, context, rc, L"Text 文字", 0xFFFFFFFF, 1, DT_SINGLELINE);
    RECT markup = rc;
    std::vector<MarkupLink> links;
    DrawMarkupText(dc, context, markup,
                   L"<b>bold</b> <a x>link</a> <i>it</i> <f Tahoma 12 bold>f</f>{s}s{/s}",
                   0xFFFFFFFF, &links, 4, 1, DT_WORDBREAK | DT_CENTER);
    DibSection copy = Snapshot(dc, rc, 0x80000000);
}

}  // namespace

TEST(GdiObjects, DrawingLoopsLeakNoGdiObjects)
{
    BasicRenderContext context;
    context.Fonts().DefineFont(1, L"Tahoma", 14, false, false, false);
    auto image =
        makeImage(8, 8, [](int x, int y) { return (x + y) % 2 ? 0x80FFFFFF : 0xFF000000; });
    Canvas canvas(64, 64);
    for (bool fallback : {false, true}) {
        DisableSystemBlending(fallback);
        DrawEverything(canvas.dc(), context, *image);  // fonts made on first use stay in the table
        DWORD before = GdiObjectCount();
        for (int i = 0; i < 50; ++i) DrawEverything(canvas.dc(), context, *image);
        EXPECT_EQ(GdiObjectCount(), before) << (fallback ? "own fallbacks" : "system functions");
    }
    DisableSystemBlending(false);

    DWORD before = GdiObjectCount();
    {
        BasicRenderContext scoped;
        scoped.Fonts().DefineFont(3, L"Tahoma", 20, true, false, false);
        scoped.Fonts().DefineFont(3, L"Tahoma", 21, true, false,
                                  false);  // replaces, deletes the first
        ImageDrawInfo info;
        info.SetDescriptor(L"color='#FF00FF00'");
        DrawImageDescriptor(canvas.dc(), scoped, canvas.rect(), canvas.rect(), info);
        EXPECT_GT(GdiObjectCount(), before);
    }
    EXPECT_EQ(GdiObjectCount(), before) << "fonts and images go with their tables";
}

TEST(GdiObjects, SnapshotCopiesTheAreaAndCoversItWithTheOverlay)
{
    Canvas canvas(20, 20);
    FillColor(canvas.dc(), RECT{10, 10, 20, 20}, 0xFFFFFFFF);
    DibSection plain = Snapshot(canvas.dc(), RECT{5, 5, 15, 15}, 0);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain.width, 10);
    EXPECT_TRUE(sameColor(plain.at(0, 0), 0x000000, 0));
    EXPECT_TRUE(sameColor(plain.at(9, 9), 0xFFFFFF, 0));

    DibSection dimmed = Snapshot(canvas.dc(), RECT{5, 5, 15, 15}, 0x80000000);
    EXPECT_TRUE(sameColor(dimmed.at(9, 9), 0x7F7F7F, 3));
    EXPECT_FALSE(Snapshot(canvas.dc(), RECT{5, 5, 5, 15}, 0)) << "an empty area gives nothing";
}
