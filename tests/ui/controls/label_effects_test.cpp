// CLabelUI's text effects where the system's GDI+ cannot be used: the text is drawn as a label
// without effects draws it, and the effects come back with GDI+.
#include "tests/ui/render/canvas.h"
#include "ui/controls/label_ui.h"
#include "ui/core/ui_manager.h"
#include "ui/render/gdiplus_functions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace SkinUI {
namespace {

using SkinUITest::Canvas;

// GDI+ switched off for the scope, as if gdiplus.dll could not be loaded.
struct WithoutGdiplus {
    WithoutGdiplus() { DisableSystemGdiplus(true); }
    ~WithoutGdiplus() { DisableSystemGdiplus(false); }
    WithoutGdiplus(const WithoutGdiplus&) = delete;
    WithoutGdiplus& operator=(const WithoutGdiplus&) = delete;
};

// The pixels of a 200x40 label with `attributes`, painted on black.
std::vector<uint32_t> LabelPixels(const std::wstring& attributes)
{
    CUIManager manager;
    ControlPtr label = MakeControl<CLabelUI>();
    label->SetWindowManager(&manager, nullptr, false);
    label->Place(RECT{0, 0, 200, 40});
    label->ApplyAttributeList(attributes);
    Canvas canvas(200, 40);
    label->PaintTo(canvas.dc(), canvas.rect());
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) pixels.push_back(canvas.pixel(x, y));
    return pixels;
}

TEST(LabelEffects, WithoutGdiplusTheTextIsDrawnPlainAndTheEffectsReturnWithIt)
{
    const std::wstring text = L"text=\"Effect\" textcolor=\"#FFFF0000\" textpadding=\"50,0,0,0\" ";
    const std::wstring effects = text + L"enabledeffect=\"true\" enabledstroke=\"true\" "
                                        L"strokecolor=\"#FF00FF00\" enabledshadow=\"true\"";
    const std::vector<uint32_t> plain = LabelPixels(text);
    ASSERT_NE(plain, LabelPixels(L"")) << "the plain text is drawn at all";
    {
        const WithoutGdiplus off;
        EXPECT_EQ(LabelPixels(effects), plain) << "the effect text drawn plain";
    }
    EXPECT_NE(LabelPixels(effects), plain) << "GDI+ draws the effects again";
}

}  // namespace
}  // namespace SkinUI
