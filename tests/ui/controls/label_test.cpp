// CLabelUI: the alignment words and their precedence, multi-line and ellipsis flags, the
// measured preferred size and its cache, the default colours stored at the first paint, and
// the text's pixels inside the padded rectangle, plain, with markup and through GDI+.
#include "tests/ui/controls/control_scene.h"
#include "tests/ui/gdi_object_count.h"
#include "tests/ui/render/canvas.h"
#include "ui/controls/button_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/core/ui_manager.h"
#include "ui/render/gdi_handles.h"
#include "ui/render/text_render.h"

#include <gtest/gtest.h>

#include <functional>

namespace SkinUI {
namespace {

using SkinUITest::Canvas;
using SkinUITest::channel;
using SkinUITest::rgb;

// A label that belongs to a window-less manager (fonts, colours) and sits at `rect`.
struct LabelFixture {
    explicit LabelFixture(RECT rect = {0, 0, 120, 30})
    {
        label->SetWindowManager(&manager, nullptr, false);
        label->Place(rect);
    }
    CLabelUI& operator*() { return static_cast<CLabelUI&>(*label); }
    CLabelUI* operator->() { return static_cast<CLabelUI*>(label.get()); }

    CUIManager manager;
    ControlPtr label = MakeControl<CLabelUI>();
};

UINT StyleAfter(const std::vector<std::pair<const wchar_t*, const wchar_t*>>& attributes)
{
    LabelFixture label;
    for (const auto& [name, value] : attributes) label->ApplyAttribute(name, value);
    return label->GetTextStyle();
}

// The columns in which some pixel of `canvas` inside `area` satisfies `is`.
struct Columns {
    int first = -1;
    int last = -1;
};
Columns ColumnsWhere(const Canvas& canvas, const RECT& area,
                     const std::function<bool(uint32_t)>& is)
{
    Columns found;
    for (int x = area.left; x < area.right; ++x)
        for (int y = area.top; y < area.bottom; ++y)
            if (is(canvas.pixel(x, y))) {
                if (found.first < 0) found.first = x;
                found.last = x;
                break;
            }
    return found;
}

bool Reddish(uint32_t pixel)
{
    return channel(pixel, 16) > 0x80 && channel(pixel, 8) < 0x40 && channel(pixel, 0) < 0x40;
}

TEST(Label, IsALabelAndAControl)
{
    LabelFixture label;
    EXPECT_EQ(L"Label", label->GetClassName());
    EXPECT_EQ(label.label.get(), label->QueryInterface(L"Label"));
    EXPECT_EQ(label.label.get(), label->QueryInterface(L"Control"));
    EXPECT_EQ(nullptr, label->QueryInterface(L"Button"));
    EXPECT_EQ(UINT(DT_VCENTER | DT_SINGLELINE), label->GetTextStyle());
    EXPECT_EQ(-1, label->GetFont());
}

TEST(Label, AlignmentWordsApplyInTheirFixedOrderWhateverTheSkinWrote)
{
    const UINT base = DT_VCENTER | DT_SINGLELINE;
    EXPECT_EQ(base | DT_CENTER, StyleAfter({{L"align", L"center"}}));
    EXPECT_EQ(base | DT_RIGHT, StyleAfter({{L"align", L"right left"}})) << "right comes last";
    EXPECT_EQ(base | DT_CENTER, StyleAfter({{L"align", L"center,left"}}));
    EXPECT_EQ(base, StyleAfter({{L"align", L"right"}, {L"align", L"left"}}));
    EXPECT_EQ(base, StyleAfter({{L"align", L"middle"}})) << "an unknown word changes nothing";
    EXPECT_EQ(UINT(DT_SINGLELINE | DT_BOTTOM), StyleAfter({{L"valign", L"vcenter bottom"}}));
    EXPECT_EQ(UINT(DT_SINGLELINE), StyleAfter({{L"valign", L"top"}}));
    EXPECT_EQ(UINT(DT_SINGLELINE | DT_BOTTOM), StyleAfter({{L"valign", L"bottom top vcenter"}}))
        << "bottom comes last";
}

TEST(Label, MultiLineEllipsisAndOtherTextAttributes)
{
    EXPECT_EQ(UINT(DT_VCENTER | DT_WORDBREAK), StyleAfter({{L"multiline", L"true"}}));
    EXPECT_EQ(UINT(DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE),
              StyleAfter({{L"multiline", L"true"}, {L"multiline", L"false"}}))
        << "the word break stays";
    EXPECT_EQ(UINT(DT_VCENTER | DT_SINGLELINE), StyleAfter({{L"multiline", L"TRUE"}}));
    EXPECT_EQ(UINT(DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS),
              StyleAfter({{L"endellipsis", L"true"}}));
    EXPECT_EQ(UINT(DT_VCENTER | DT_SINGLELINE),
              StyleAfter({{L"endellipsis", L"true"}, {L"endellipsis", L"false"}}));

    LabelFixture label;
    label->ApplyAttributeList(L"font=\"3\" textcolor=\"#FF112233\" disabledtextcolor=\"#80445566\" "
                              L"textpadding=\"1,2,3,4\" showhtml=\"true\" name=\"caption\" "
                              L"unknown=\"kept\"");
    EXPECT_EQ(3, label->GetFont());
    EXPECT_EQ(0xFF112233u, label->GetTextColor());
    EXPECT_EQ(0x80445566u, label->GetDisabledTextColor());
    const RECT padding = label->GetTextPadding();
    EXPECT_EQ(1, padding.left);
    EXPECT_EQ(2, padding.top);
    EXPECT_EQ(3, padding.right);
    EXPECT_EQ(4, padding.bottom);
    EXPECT_TRUE(label->IsShowHtml());
    EXPECT_EQ(L"caption", label->GetName()) << "the control's own attributes still apply";
    ASSERT_NE(nullptr, label->FindCustomAttribute(L"unknown"));
}

TEST(Label, EffectAttributesAndTheirLimits)
{
    LabelFixture label;
    label->ApplyAttributeList(
        L"enabledeffect=\"true\" enabledluminous=\"true\" enabledstroke=\"true\" "
        L"enabledshadow=\"true\" luminousfuzzy=\"4.5\" gradientangle=\"90\" gradientlength=\"12\" "
        L"textcolor1=\"#FF00FF00\" textshadowcolora=\"#FF0000FF\" textshadowcolorb=\"#FF00FFFF\" "
        L"strokecolor=\"#FFFFFF00\" shadowoffset=\"3,-45\"");
    TextEffects e = label->GetTextEffects();
    EXPECT_TRUE(e.enabled && e.luminous && e.stroke && e.shadow);
    EXPECT_FLOAT_EQ(4.5f, e.luminousFuzzy);
    EXPECT_EQ(90, e.gradientAngle);
    EXPECT_EQ(12, e.gradientLength);
    EXPECT_EQ(0xFF00FF00u, e.textColor1);
    EXPECT_EQ(0xFF0000FFu, e.shadowColorA);
    EXPECT_EQ(0xFF00FFFFu, e.shadowColorB);
    EXPECT_EQ(0xFFFFFF00u, e.strokeColor);
    EXPECT_EQ(3, e.shadowOffset);
    EXPECT_EQ(-45, e.shadowAngle);

    label->ApplyAttributeList(L"luminousfuzzy=\"0.00001\" shadowoffset=\"9,181\"");
    e = label->GetTextEffects();
    EXPECT_FLOAT_EQ(4.5f, e.luminousFuzzy) << "a blur factor below 0.0001 is ignored";
    EXPECT_EQ(3, e.shadowOffset) << "an angle outside -180..180 is ignored";
}

TEST(Label, SingleLinePreferredSizeIsTheTextPlusPaddingAndKeepsFixedSides)
{
    LabelFixture label;
    label->ApplyAttributeList(L"text=\"Preferred\" textpadding=\"5,3,7,2\"");
    const FontInfo& font = label.manager.Fonts().FontInfoByNumber(-1);
    MemoryDC dc;
    const SIZE text = MeasureText(dc.get(), label.manager, L"Preferred", -1);
    ASSERT_GT(text.cx, 20);

    SIZE size = label->PreferredSize(SIZE{500, 500});
    EXPECT_EQ(text.cx + 12, size.cx);
    EXPECT_EQ(font.metrics.tmHeight + 8 + 5, size.cy);

    label->SetRequestedHeight(40);
    size = label->PreferredSize(SIZE{500, 500});
    EXPECT_EQ(text.cx + 12, size.cx);
    EXPECT_EQ(40, size.cy) << "a fixed height is kept";

    label->SetRequestedWidth(33);
    size = label->PreferredSize(SIZE{500, 500});
    EXPECT_EQ(33, size.cx) << "both sides fixed: the fixed size";
    EXPECT_EQ(40, size.cy);
}

TEST(Label, PreferredSizeIsMeasuredOnceUntilSomethingThatChangesItChanges)
{
    LabelFixture label;
    label->SetText(L"cached");
    const SIZE first = label->PreferredSize(SIZE{500, 500});
    // A bigger default font does not reach a size that is not dirty...
    ASSERT_TRUE(label.manager.Fonts().SetDefaultFont(L"Arial", 40, true, false, false));
    EXPECT_EQ(first.cx, label->PreferredSize(SIZE{300, 200}).cx);
    EXPECT_EQ(first.cy, label->PreferredSize(SIZE{300, 200}).cy);
    // ...until the text changes.
    label->SetText(L"cached!");
    const SIZE second = label->PreferredSize(SIZE{500, 500});
    EXPECT_GT(second.cy, first.cy + 10);
    EXPECT_GT(second.cx, first.cx);

    // Each of these makes it measure again (the bigger font is a visible witness).
    using Change = std::function<void(CLabelUI&)>;
    const Change changes[] = {
        [](CLabelUI& l) { l.SetFont(-1); },
        [](CLabelUI& l) {
            l.SetTextPadding(RECT{0, 0, 0, 0});
        },
        [](CLabelUI& l) { l.SetTextStyle(l.GetTextStyle()); },
        [](CLabelUI& l) { l.SetRequestedWidth(0); },
        [](CLabelUI& l) { l.SetRequestedHeight(0); },
    };
    for (const Change& change : changes) {
        label->PreferredSize(SIZE{500, 500});
        ASSERT_TRUE(label.manager.Fonts().SetDefaultFont(L"Arial", 12, false, false, false));
        EXPECT_EQ(second.cy, label->PreferredSize(SIZE{500, 500}).cy) << "still cached";
        change(*label);
        EXPECT_LT(label->PreferredSize(SIZE{500, 500}).cy, second.cy - 10) << "measured again";
        ASSERT_TRUE(label.manager.Fonts().SetDefaultFont(L"Arial", 40, true, false, false));
        change(*label);
        EXPECT_EQ(second.cy, label->PreferredSize(SIZE{500, 500}).cy);
    }
}

TEST(Label, MultiLinePreferredSizeWrapsInTheAvailableWidthAndFollowsIt)
{
    LabelFixture label;
    label->ApplyAttributeList(L"multiline=\"true\" textpadding=\"4,6,4,10\" "
                              L"text=\"one two three four five six seven eight nine ten\"");
    const int lineHeight = label.manager.Fonts().FontInfoByNumber(-1).metrics.tmHeight;
    const SIZE wide = label->PreferredSize(SIZE{2000, 100});
    EXPECT_EQ(2000, wide.cx) << "no fixed width: the available width";
    EXPECT_EQ(lineHeight + 16, wide.cy) << "one line and the vertical padding";

    const SIZE narrow = label->PreferredSize(SIZE{60, 100});
    EXPECT_EQ(60, narrow.cx);
    EXPECT_GE(narrow.cy, 4 * lineHeight + 16) << "wrapped into several lines";
    EXPECT_EQ((narrow.cy - 16) % lineHeight, 0);

    label->SetRequestedWidth(2000);
    const SIZE fixedWidth = label->PreferredSize(SIZE{60, 100});
    EXPECT_EQ(2000, fixedWidth.cx) << "a fixed width is the layout width";
    EXPECT_EQ(lineHeight + 16, fixedWidth.cy);

    label->SetRequestedWidth(0);
    label->SetRequestedHeight(5);
    EXPECT_EQ(narrow.cy, label->PreferredSize(SIZE{60, 100}).cy) << "a fixed height is not used";
}

TEST(Label, DefaultColoursAreStoredAtTheFirstPaint)
{
    LabelFixture label;
    label.manager.ApplyWindowAttribute(L"defaultfontcolor", L"#FF123456");
    label.manager.ApplyWindowAttribute(L"disabledfontcolor", L"#FF654321");
    label->SetText(L"colours");
    EXPECT_EQ(0u, label->GetTextColor()) << "0 until painted";
    EXPECT_EQ(0u, label->GetDisabledTextColor());

    Canvas canvas(120, 30);
    label->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0xFF123456u, label->GetTextColor());
    EXPECT_EQ(0xFF654321u, label->GetDisabledTextColor());

    label.manager.ApplyWindowAttribute(L"defaultfontcolor", L"#FFABCDEF");
    label->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0xFF123456u, label->GetTextColor()) << "stored, not looked up again";

    LabelFixture own;
    own->SetTextColor(0xFF00FF00);
    own->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(0xFF00FF00u, own->GetTextColor()) << "a colour of the skin stays";
}

TEST(Label, TextIsDrawnInsideThePaddedRectangleInTheStateColour)
{
    LabelFixture label(RECT{0, 0, 200, 30});
    label->ApplyAttributeList(L"text=\"WWWW\" textcolor=\"#FFFF0000\" "
                              L"disabledtextcolor=\"#FF00FF00\" textpadding=\"60,0,20,0\"");
    Canvas canvas(200, 30);
    label->PaintTo(canvas.dc(), canvas.rect());
    Columns red = ColumnsWhere(canvas, canvas.rect(), Reddish);
    EXPECT_GE(red.first, 60) << "left aligned after the padding";
    EXPECT_LT(red.first, 64);

    canvas.fill(0xFF000000);
    label->ApplyAttribute(L"align", L"right");
    label->PaintTo(canvas.dc(), canvas.rect());
    red = ColumnsWhere(canvas, canvas.rect(), Reddish);
    EXPECT_LT(red.last, 180) << "right aligned before the padding";
    EXPECT_GT(red.last, 170);

    canvas.fill(0xFF000000);
    label->SetEnabled(false);
    label->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_EQ(-1, ColumnsWhere(canvas, canvas.rect(), Reddish).first);
    EXPECT_GE(
        ColumnsWhere(canvas, canvas.rect(), [](uint32_t p) { return rgb(p) == 0x00FF00; }).first,
        60)
        << "disabled text in the disabled colour";
}

TEST(Label, MarkupTextTakesItsColoursFromTheTags)
{
    LabelFixture label(RECT{0, 0, 200, 30});
    label->ApplyAttributeList(L"showhtml=\"true\" textcolor=\"#FFFF0000\" "
                              L"text=\"WW<c #0000FF>WW</c>\"");
    Canvas canvas(200, 30);
    label->PaintTo(canvas.dc(), canvas.rect());
    const Columns red = ColumnsWhere(canvas, canvas.rect(), Reddish);
    const Columns blue = ColumnsWhere(canvas, canvas.rect(), [](uint32_t p) {
        return channel(p, 0) > 0x80 && channel(p, 16) < 0x40;
    });
    ASSERT_GE(red.first, 0);
    ASSERT_GE(blue.first, 0) << "the tag's colour";
    EXPECT_LT(red.last, blue.first);
    EXPECT_NE(std::wstring::npos, label->GetText().find(L"<c")) << "the text keeps its markup";
}

TEST(Label, EffectTextIsDrawnThroughGdiplusAndLeavesNoGdiObjectBehind)
{
    LabelFixture label(RECT{0, 0, 200, 40});
    label->ApplyAttributeList(L"text=\"Effect\" textcolor=\"#FFFF0000\" textcolor1=\"#FFFF0000\" "
                              L"enabledeffect=\"true\" textpadding=\"50,0,0,0\"");
    Canvas canvas(200, 40);
    label->PaintTo(canvas.dc(), canvas.rect());
    const Columns red = ColumnsWhere(canvas, canvas.rect(), Reddish);
    ASSERT_GE(red.first, 50) << "the text inside the padding";
    EXPECT_LT(red.first, 60);

    label->ApplyAttributeList(L"enabledstroke=\"true\" strokecolor=\"#FF00FF00\" "
                              L"enabledshadow=\"true\" shadowoffset=\"3,45\" "
                              L"textshadowcolora=\"#FF0000FF\" textshadowcolorb=\"#FF0000FF\" "
                              L"enabledluminous=\"true\"");
    canvas.fill(0xFF000000);
    label->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_GE(ColumnsWhere(canvas, canvas.rect(),
                           [](uint32_t p) { return channel(p, 8) > 0x80 && channel(p, 16) < 0x80; })
                  .first,
              50)
        << "an outline in the stroke colour";
    EXPECT_GE(ColumnsWhere(canvas, canvas.rect(),
                           [](uint32_t p) { return channel(p, 0) > 0x80 && channel(p, 8) < 0x40; })
                  .first,
              50)
        << "a shadow in the shadow colours";

    const DWORD before = SkinUITest::GdiObjectCount();
    for (int i = 0; i < 50; ++i) label->PaintTo(canvas.dc(), canvas.rect());
    EXPECT_LE(SkinUITest::GdiObjectCount(), before + 2);
}

// Whether the window has anything to repaint (then validated).
bool TakeInvalid(Testing::ControlScene& scene)
{
    RECT dirty = {};
    const bool any = GetUpdateRect(scene.window.hwnd(), &dirty, FALSE) != FALSE;
    ValidateRect(scene.window.hwnd(), nullptr);
    return any;
}

TEST(Label, FocusSetsAndClearsTheFlagWithoutARepaintUnlikeAButton)
{
    Testing::ControlScene scene;
    auto* label = scene.Add<CLabelUI>({0, 0, 50, 20}, L"text=\"x\"");
    auto* button = scene.Add<CButtonUI>({60, 0, 110, 20});
    TakeInvalid(scene);
    scene.Send(*label, EventKind::SetFocus);
    EXPECT_TRUE(label->IsFocused());
    EXPECT_FALSE(TakeInvalid(scene));
    scene.Send(*label, EventKind::KillFocus);
    EXPECT_FALSE(label->IsFocused());
    EXPECT_FALSE(TakeInvalid(scene));
    scene.Send(*button, EventKind::SetFocus);
    EXPECT_TRUE(button->IsFocused());
    EXPECT_TRUE(TakeInvalid(scene)) << "a button shows its focus";
}

}  // namespace
}  // namespace SkinUI
