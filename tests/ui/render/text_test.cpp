// Plain text, language tokens and the text markup: colours, clipping, links and their
// rectangles, wrapping, end ellipsis, alignment and the tokenizer's escapes.
#include "tests/ui/render/canvas.h"
#include "ui/render/text_markup_parser.h"
#include "ui/render/text_markup.h"
#include "ui/render/resource_settings.h"
#include "ui/render/text_render.h"

#include <gtest/gtest.h>

#include <climits>

using namespace SkinUI;
using namespace SkinUITest;

namespace {

// Counts the pixels in `area` whose colour is near `color`.
int countColor(const Canvas& canvas, const RECT& area, uint32_t color, int tolerance = 40)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            count += sameColor(canvas.pixel(x, y), color, tolerance) ? 1 : 0;
    }
    return count;
}

class TextTest : public ::testing::Test {
protected:
    void SetUp() override { m_context.Fonts().DefineFont(1, L"Tahoma", 16, false, false, false); }
    BasicRenderContext m_context;
};

}  // namespace

TEST_F(TextTest, PlainTextUsesTheColourAndStaysInsideItsRectangle)
{
    Canvas canvas(200, 40);
    RECT rc = {10, 5, 60, 30};
    DrawPlainText(canvas.dc(), m_context, rc, L"WWWWWWWWWWWWWWWWWW", 0x80FF0000, 1, DT_SINGLELINE);
    EXPECT_EQ(rc.right, 60) << "drawing leaves the rectangle as it is";
    EXPECT_GT(countColor(canvas, RECT{10, 5, 60, 30}, 0xFF0000), 20) << "red text, alpha ignored";
    EXPECT_EQ(countColor(canvas, RECT{60, 0, 200, 40}, 0xFF0000, 120), 0)
        << "nothing right of the rectangle";
    EXPECT_EQ(countColor(canvas, RECT{0, 0, 10, 40}, 0xFF0000, 120), 0);

    SIZE one = MeasureText(canvas.dc(), m_context, L"W", 1);
    SIZE three = MeasureText(canvas.dc(), m_context, L"WWW", 1);
    EXPECT_GT(one.cx, 0);
    EXPECT_EQ(three.cx, 3 * one.cx);
    EXPECT_EQ(three.cy, m_context.Fonts().FontInfoByNumber(1).metrics.tmHeight);
    EXPECT_GT(MeasureText(canvas.dc(), m_context, L"W", 99).cx, 0)
        << "an unknown font number uses the default font";
}

TEST_F(TextTest, PlainTextMeasuringGivesBackTheSizeOfWrappedLines)
{
    Canvas canvas(200, 100);
    int lineHeight = m_context.Fonts().FontInfoByNumber(1).metrics.tmHeight;
    int word = MeasureText(canvas.dc(), m_context, L"WWW", 1).cx;
    RECT rc = {5, 7, 5 + word * 2, 7};
    DrawPlainText(canvas.dc(), m_context, rc, L"WWW WWW WWW", 0xFFFFFFFF, 1,
                  DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(rc.left, 5);
    EXPECT_EQ(rc.top, 7);
    EXPECT_EQ(rc.bottom - rc.top, 3 * lineHeight) << "one word per line";
    EXPECT_GE(rc.right - rc.left, word) << "as wide as the widest line";
    EXPECT_LE(rc.right - rc.left, word * 2);
    EXPECT_EQ(countColor(canvas, canvas.rect(), 0xFFFFFF, 120), 0) << "measuring draws nothing";

    RECT line = {0, 0, 0, 0};
    DrawPlainText(canvas.dc(), m_context, line, L"WWW", 0xFFFFFFFF, 1, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(line.right, word);
    EXPECT_EQ(line.bottom, lineHeight);

    m_context.MutableStrings().Set(3, L"WWW WWW WWW");
    RECT token = {0, 0, word * 2, 0};
    DrawPlainText(canvas.dc(), m_context, token, L"%{3}", 0xFFFFFFFF, 1,
                  DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(token.bottom, 3 * lineHeight) << "the language string is measured";
}

TEST_F(TextTest, LanguageTokensAreReplacedBeforeMeasuring)
{
    m_context.MutableStrings().Set(7, L"WWWW");
    EXPECT_EQ(m_context.Strings().Substitute(L"a%{7}b%{8}c%{x}%{7"), L"aWWWWb%{8}c%{x}%{7");
    Canvas canvas(10, 10);
    EXPECT_EQ(MeasureText(canvas.dc(), m_context, L"%{7}", 1).cx,
              MeasureText(canvas.dc(), m_context, L"WWWW", 1).cx);
}

TEST_F(TextTest, LanguageTokensTakeAsciiDigitsOnlyAndNeverThrow)
{
    // Superscript two, fullwidth one and Arabic-Indic three are digits to the C library.
    m_context.MutableStrings().Set(1, L"one");
    m_context.MutableStrings().Set(2, L"two");
    for (const wchar_t* text :
         {L"%{\u00B2}", L"%{\uFF11}", L"%{\u0663}", L"%{2\u00B2}",
          L"%{\u00B2\u00B2\u00B2\u00B2\u00B2\u00B2\u00B2\u00B2\u00B2\u00B2}"}) {
        std::wstring substituted;
        EXPECT_NO_THROW(substituted = m_context.Strings().Substitute(text));
        EXPECT_EQ(substituted, text) << "plain text, as written";
    }
    EXPECT_EQ(m_context.Strings().Substitute(L"%{1}%{\u00B2}%{2}"), L"one%{\u00B2}two");
    EXPECT_EQ(m_context.Strings().Substitute(L"%{0000000001}%{000000001}"), L"%{0000000001}one")
        << "nine digits at most";

    // A user's text in a paint: drawn as written, nothing thrown.
    Canvas canvas(100, 30);
    RECT rc = canvas.rect();
    EXPECT_NO_THROW(
        DrawPlainText(canvas.dc(), m_context, rc, L"%{\u00B2}", 0xFFFFFFFF, 1, DT_SINGLELINE));
    EXPECT_NO_THROW(DrawMarkupText(canvas.dc(), m_context, rc, L"<b>%{\u00B2}</b>", 0xFFFFFFFF,
                                   nullptr, 0, 1, DT_SINGLELINE));
    EXPECT_NO_THROW(MeasureText(canvas.dc(), m_context, L"%{\u00B2}", 1));
}

TEST(MarkupTokens, TagsEscapesAndRawText)
{
    auto tokens = TokenizeMarkup(L"a<b>c</b>{c #FF0000}d{/c}<{>{>}<x 5>\n<r><b>{/r}<Q>");
    using Kind = MarkupToken::Kind;
    ASSERT_EQ(tokens.size(), 14u);
    EXPECT_EQ(tokens[0].text, L"a");
    EXPECT_EQ(tokens[1].kind, Kind::Open);
    EXPECT_EQ(tokens[1].tag, L'b');
    EXPECT_EQ(tokens[3].kind, Kind::Close);
    EXPECT_EQ(tokens[4].tag, L'c');
    EXPECT_EQ(tokens[4].text, L"#FF0000");
    EXPECT_EQ(tokens[7].text, L"{>") << "escaped brackets are text";
    EXPECT_EQ(tokens[8].tag, L'x');
    EXPECT_EQ(tokens[9].kind, Kind::LineFeed);
    EXPECT_EQ(tokens[10].tag, L'r');
    EXPECT_EQ(tokens[11].text, L"<b>") << "raw text keeps its tags";
    EXPECT_EQ(tokens[12].kind, Kind::Close);
    EXPECT_EQ(tokens[13].text, L"<Q>") << "an upper-case letter starts no tag";

    auto broken = TokenizeMarkup(L"<Q> 1 < 2 <b unclosed {");
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0].text, L"<Q> 1 < 2 <b unclosed {") << "what starts no tag is text";
}

TEST_F(TextTest, LinksGiveTheirRectanglesAndTargetsAndUseTheLinkColours)
{
    Canvas canvas(300, 40);
    std::vector<MarkupLink> links;
    RECT rc = {0, 0, 300, 40};
    DrawMarkupText(canvas.dc(), m_context, rc,
                   L"Read <a http://one>WWW</a> and <a two>MMM</a><a three>x</a>", 0xFFFFFFFF,
                   &links, 2, 1, DT_SINGLELINE);
    ASSERT_EQ(links.size(), 2u) << "no more than the capacity";
    EXPECT_EQ(links[0].target, L"http://one");
    EXPECT_EQ(links[1].target, L"two");
    ASSERT_EQ(links[0].rects.size(), 1u);
    ASSERT_EQ(links[1].rects.size(), 1u);
    const RECT& first = links[0].rects[0];
    const RECT& second = links[1].rects[0];
    SIZE read = MeasureText(canvas.dc(), m_context, L"Read ", 1);
    EXPECT_NEAR(first.left, read.cx, 1);
    EXPECT_GT(first.right, first.left);
    EXPECT_LT(first.right, second.left);
    EXPECT_GT(countColor(canvas, first, 0x0000FF), 5) << "link colour";
    EXPECT_EQ(countColor(canvas, RECT{0, 0, first.left, 40}, 0x0000FF), 0);

    // With the mouse over the second link it takes the hover colour.
    m_context.SetMousePosition(POINT{second.left + 2, second.top + 2});
    canvas.fill(0xFF000000);
    DrawMarkupText(canvas.dc(), m_context, rc, L"Read <a http://one>WWW</a> and <a two>MMM</a>",
                   0xFFFFFFFF, &links, 8, 1, DT_SINGLELINE);
    EXPECT_GT(countColor(canvas, links[1].rects[0], 0xD3215F), 5);
    EXPECT_EQ(countColor(canvas, links[0].rects[0], 0xD3215F), 0);
}

TEST_F(TextTest, AWrappedLinkTakesOneSlotWithOneRectanglePerLine)
{
    Canvas canvas(120, 100);
    std::vector<MarkupLink> links;
    RECT rc = {0, 0, 120, 100};
    const wchar_t* text =
        L"<a go>one <b>two</b> three four <u>five</u> six seven</a> <a next>eight</a>";
    DrawMarkupText(canvas.dc(), m_context, rc, text, 0xFFFFFFFF, &links, 8, 1, DT_WORDBREAK);
    ASSERT_EQ(links.size(), 2u) << "one slot per link, however many lines it covers";
    EXPECT_EQ(links[0].target, L"go");
    EXPECT_EQ(links[1].target, L"next") << "the later link keeps its index";
    const std::vector<RECT> lines = links[0].rects;
    ASSERT_GE(lines.size(), 2u);
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_GT(lines[i].top, lines[i - 1].top) << "styled words share their line's";
    for (const RECT& line : lines) {
        EXPECT_LE(line.right, 120);
        EXPECT_EQ(LinkAtPoint(links, POINT{line.left + 1, line.top + 1}), 0)
            << "every line of the link hits the link";
    }
    ASSERT_EQ(links[1].rects.size(), 1u);
    const RECT& next = links[1].rects[0];
    EXPECT_EQ(LinkAtPoint(links, POINT{next.right - 1, next.bottom - 1}), 1);
    EXPECT_EQ(LinkAtPoint(links, POINT{119, 99}), -1);

    // The capacity counts links, not lines.
    DrawMarkupText(canvas.dc(), m_context, rc, text, 0xFFFFFFFF, &links, 1, 1, DT_WORDBREAK);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].rects.size(), lines.size());

    // On one line a link with a bold part is one rectangle.
    RECT line = {0, 0, 300, 30};
    DrawMarkupText(canvas.dc(), m_context, line, L"<a one>WW<b>WW</b>WW</a> <a two>x</a>",
                   0xFFFFFFFF, &links, 2, 1, DT_SINGLELINE);
    ASSERT_EQ(links.size(), 2u);
    ASSERT_EQ(links[0].rects.size(), 1u);
    EXPECT_EQ(links[0].rects[0].left, 0);
    EXPECT_EQ(links[1].target, L"two");
    ASSERT_EQ(links[1].rects.size(), 1u);
    EXPECT_LE(links[0].rects[0].right, links[1].rects[0].left);
    EXPECT_GT(links[0].rects[0].right, MeasureText(canvas.dc(), m_context, L"WWWWWW", 1).cx - 1);

    // Links cut off by the ellipsis keep their slots, with nowhere to click.
    RECT narrow = {0, 0, 40, 30};
    DrawMarkupText(canvas.dc(), m_context, narrow, L"WWWWWWWWWWWW <a one>a</a> <a two>b</a>",
                   0xFFFFFFFF, &links, 8, 1, DT_SINGLELINE | DT_END_ELLIPSIS);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[1].target, L"two");
    EXPECT_TRUE(links[0].rects.empty());
    EXPECT_TRUE(links[1].rects.empty());
}

TEST_F(TextTest, MarkupLargerThanItsRectangleStaysInsideIt)
{
    // Three lines centred in a box one line high: the block overhangs above and below, and
    // a tall inline image overhangs too; none of it may paint over the neighbours.
    std::wstring folder = makeTempFolder();
    writeFile(folder + L"tall.png", encodePng(6, 50, [](int, int) { return 0xFFFFFFFFu; }));
    SetResourceFolder(folder);
    Canvas canvas(100, 80);
    RECT box = {0, 30, 100, 45};
    DrawMarkupText(canvas.dc(), m_context, box, L"WWW<n>WWW<n>WWW", 0xFFFFFFFF, nullptr, 0, 1,
                   DT_VCENTER | DT_CENTER);
    RECT imageBox = {0, 30, 100, 45};
    DrawMarkupText(canvas.dc(), m_context, imageBox, L"<i tall.png>", 0xFFFFFFFF, nullptr, 0, 1,
                   DT_SINGLELINE);
    SetResourceFolder(L"");
    EXPECT_GT(countColor(canvas, RECT{0, 30, 100, 45}, 0xFFFFFF), 10);
    EXPECT_EQ(countColor(canvas, RECT{0, 0, 100, 30}, 0xFFFFFF, 200), 0) << "nothing above";
    EXPECT_EQ(countColor(canvas, RECT{0, 45, 100, 80}, 0xFFFFFF, 200), 0) << "nothing below";
}

TEST_F(TextTest, MeasuringWrapsAtWordsAndReportsTheUsedSize)
{
    Canvas canvas(10, 10);
    int lineHeight = m_context.Fonts().FontInfoByNumber(1).metrics.tmHeight +
                     m_context.Fonts().FontInfoByNumber(1).metrics.tmExternalLeading;
    int word = MeasureText(canvas.dc(), m_context, L"WWW", 1).cx;
    RECT rc = {0, 0, word * 2, 1000};
    DrawMarkupText(canvas.dc(), m_context, rc, L"WWW WWW WWW", 0xFF000000, nullptr, 0, 1,
                   DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(rc.bottom, 3 * lineHeight) << "one word per line";
    EXPECT_EQ(rc.right, word);

    rc = RECT{0, 0, 1000, 1000};
    DrawMarkupText(canvas.dc(), m_context, rc, L"a<n>b{n}c\nd", 0xFF000000, nullptr, 0, 1,
                   DT_CALCRECT);
    EXPECT_EQ(rc.bottom, 4 * lineHeight) << "n tags and line feeds break lines";
    rc = RECT{0, 0, 1000, 1000};
    DrawMarkupText(canvas.dc(), m_context, rc, L"a<n>b", 0xFF000000, nullptr, 0, 1,
                   DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(rc.bottom, lineHeight) << "single line ignores breaks";
    rc = RECT{0, 0, 1000, 1000};
    DrawMarkupText(canvas.dc(), m_context, rc, L"<p 5>a</p>b", 0xFF000000, nullptr, 0, 1,
                   DT_CALCRECT);
    EXPECT_EQ(rc.bottom, (lineHeight + 5) + lineHeight)
        << "p adds spacing to the lines of its paragraph";
    rc = RECT{0, 0, 1000, 1000};
    DrawMarkupText(canvas.dc(), m_context, rc, L"a<y 40>b<n>c", 0xFF000000, nullptr, 0, 1,
                   DT_CALCRECT);
    EXPECT_EQ(rc.bottom, 80) << "the last y tag sets the line height";
    rc = RECT{0, 0, 1000, 1000};
    DrawMarkupText(canvas.dc(), m_context, rc, L"<x 30>W", 0xFF000000, nullptr, 0, 1, DT_CALCRECT);
    EXPECT_EQ(rc.right, 30 + MeasureText(canvas.dc(), m_context, L"W", 1).cx);
}

TEST_F(TextTest, EndEllipsisCutsTheTextToFitAndStopsThere)
{
    Canvas canvas(100, 30);
    int width = MeasureText(canvas.dc(), m_context, L"WWWWWWWWWWWWWWWWWWWW", 1).cx / 2;
    RECT rc = {0, 0, width, 30};
    DrawMarkupText(canvas.dc(), m_context, rc, L"WWWWWWWWWWWWWWWWWWWW", 0xFF000000, nullptr, 0, 1,
                   DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(rc.right, width);
    EXPECT_GT(rc.right, width / 2);

    // Drawn: the ellipsis dots end inside the rectangle.
    RECT draw = {0, 0, width, 30};
    DrawMarkupText(canvas.dc(), m_context, draw, L"WWWWWWWWWWWWWWWWWWWW", 0xFFFFFFFF, nullptr, 0, 1,
                   DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(countColor(canvas, RECT{width, 0, 100, 30}, 0xFFFFFF, 200), 0);
    int dots = MeasureText(canvas.dc(), m_context, L"...", 1).cx;
    EXPECT_GT(countColor(canvas, RECT{rc.right - dots, 0, rc.right, 30}, 0xFFFFFF, 200), 0);
}

TEST_F(TextTest, AlignmentMovesTheMeasuredBlock)
{
    Canvas canvas(200, 40);
    int width = MeasureText(canvas.dc(), m_context, L"WW", 1).cx;
    RECT rc = {0, 0, 200, 40};
    std::vector<MarkupLink> links;
    DrawMarkupText(canvas.dc(), m_context, rc, L"<a x>WW</a>", 0xFFFFFFFF, &links, 1, 1,
                   DT_SINGLELINE | DT_RIGHT);
    ASSERT_EQ(links.size(), 1u);
    ASSERT_EQ(links[0].rects.size(), 1u);
    EXPECT_EQ(links[0].rects[0].right, 200);
    rc = RECT{0, 0, 200, 40};
    DrawMarkupText(canvas.dc(), m_context, rc, L"<a x>WW</a>", 0xFFFFFFFF, &links, 1, 1,
                   DT_SINGLELINE | DT_CENTER);
    ASSERT_EQ(links[0].rects.size(), 1u);
    EXPECT_NEAR(links[0].rects[0].left, (200 - width) / 2, 1);
}

TEST_F(TextTest, ColoursBoldAndSelectionChangeWhatIsDrawn)
{
    Canvas canvas(300, 30);
    RECT rc = {0, 0, 300, 30};
    DrawMarkupText(canvas.dc(), m_context, rc, L"<c #00FF00>WWW</c>{s}MMM{/s}", 0xFFFFFFFF, nullptr,
                   0, 1, DT_SINGLELINE);
    int www = MeasureText(canvas.dc(), m_context, L"WWW", 1).cx;
    EXPECT_GT(countColor(canvas, RECT{0, 0, www, 30}, 0x00FF00), 5);
    EXPECT_GT(countColor(canvas, RECT{www, 0, www + 10, 30}, 0xBAE4FF, 4), 20)
        << "selected background";

    Canvas measure(10, 10);
    RECT plain = {0, 0, 1000, 100}, bold = plain;
    DrawMarkupText(measure.dc(), m_context, plain, L"WWWWWWWWWW", 0, nullptr, 0, 1,
                   DT_CALCRECT | DT_SINGLELINE);
    DrawMarkupText(measure.dc(), m_context, bold, L"<b>WWWWWWWWWW</b>", 0, nullptr, 0, 1,
                   DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(bold.right, plain.right) << "bold text is wider";
    RECT big = {0, 0, 1000, 100};
    DrawMarkupText(measure.dc(), m_context, big, L"<f Tahoma 30>W</f>", 0, nullptr, 0, 1,
                   DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(big.bottom, plain.bottom) << "a font by face and size is added and used";
}

TEST(FontTables, OwnFontsComeFirstThenSharedOnesThenTheDefault)
{
    FontTable shared;
    FontTable own(&shared);
    HFONT sharedFont = own.DefineFont(2, L"Tahoma", 14, false, false, false, true);
    ASSERT_TRUE(sharedFont);
    EXPECT_EQ(own.FontByNumber(2), sharedFont);
    EXPECT_EQ(own.FontNumberOf(sharedFont), -1);
    EXPECT_EQ(own.FontNumberOf(sharedFont, true), 2);

    HFONT ownFont = own.DefineFont(2, L"Tahoma", 20, true, false, false);
    EXPECT_EQ(own.FontByNumber(2), ownFont) << "own before shared";
    EXPECT_EQ(own.MatchFont(L"tahoma", 14, false, false, false), sharedFont)
        << "face letter case is ignored";
    EXPECT_FALSE(own.MatchFont(L"Tahoma", 15, false, false, false));

    HFONT fallback = own.FontByNumber(18);
    EXPECT_TRUE(fallback) << "an undefined number draws with the default font";
    EXPECT_EQ(own.FontByNumber(-1), fallback);
    EXPECT_EQ(&own.FontInfoByNumber(18), &shared.FontInfoByNumber(18))
        << "the default is the shared table's";
    ASSERT_TRUE(own.SetDefaultFont(L"Tahoma", 9, false, false, true));
    EXPECT_NE(own.FontByNumber(18), fallback);
    EXPECT_TRUE(own.FontInfoByNumber(18).italic);

    const FontInfo* record = &own.FontInfoByNumber(2);
    own.DefineFont(2, L"Tahoma", 30, false, false, false);
    EXPECT_EQ(&own.FontInfoByNumber(2), record) << "a redefined number keeps its record";
    EXPECT_EQ(record->size, 30);
    EXPECT_GT(record->metrics.tmHeight, 20) << "metrics are measured again for the new font";

    own.ClearFonts();
    EXPECT_EQ(own.FontByNumber(2), sharedFont);
}

TEST(FontTables, FontsAddedByMarkupAreFoundAgain)
{
    // Faces longer than a font can store and a skin's use of the largest number must not
    // make every drawing of the text add another font.
    FontTable table;
    std::wstring longFace = L"Microsoft YaHei UI Light Condensed Extra";
    const FontInfo* first = table.FindOrAddFont(longFace, 12, false, false, false);
    ASSERT_TRUE(first);
    EXPECT_EQ(table.FindOrAddFont(longFace, 12, false, false, false), first);
    EXPECT_EQ(table.FontNumberOf(first->font.get()), 0);

    ASSERT_TRUE(table.DefineFont(INT_MAX, L"Tahoma", 12, false, false, false));
    const FontInfo* next = table.FindOrAddFont(L"Tahoma", 13, false, false, false);
    ASSERT_TRUE(next);
    EXPECT_EQ(table.FontNumberOf(next->font.get()), 1) << "the first free number after 0";
    EXPECT_EQ(table.FontNumberOf(table.FontByNumber(INT_MAX)), INT_MAX);
}

TEST(FontTables, AFontAddedByMarkupHidesNoSharedFont)
{
    // A window's own font of a number hides the shared font of that number, so a font that
    // markup adds takes a number free in both tables.
    FontTable shared;
    FontTable own(&shared);
    HFONT sharedZero = own.DefineFont(0, L"Tahoma", 14, false, false, false, true);
    HFONT sharedOne = own.DefineFont(1, L"Tahoma", 16, false, false, false, true);
    ASSERT_TRUE(sharedZero && sharedOne);
    const FontInfo* bold = own.FindOrAddFont(L"Tahoma", 14, true, false, false);
    ASSERT_TRUE(bold);
    EXPECT_EQ(own.FontByNumber(0), sharedZero) << "controls using font 0 keep it";
    EXPECT_EQ(own.FontByNumber(1), sharedOne);
    int number = own.FontNumberOf(bold->font.get());
    EXPECT_EQ(number, 2);
    EXPECT_EQ(own.FontByNumber(number), bold->font.get());

    // Fonts of negative numbers (only ever the default) do not lower the next number.
    FontTable negative;
    ASSERT_TRUE(negative.DefineFont(-5, L"Tahoma", 12, false, false, false));
    const FontInfo* added = negative.FindOrAddFont(L"Tahoma", 13, false, false, false);
    ASSERT_TRUE(added);
    EXPECT_GE(negative.FontNumberOf(added->font.get()), 0);
    EXPECT_EQ(negative.FontByNumber(negative.FontNumberOf(added->font.get())), added->font.get());
}

TEST_F(TextTest, InlineImagesDrawTheChosenPartAndVTopLiftsSmallText)
{
    std::wstring folder = makeTempFolder();
    writeFile(folder + L"parts.png",
              encodePng(8, 4, [](int x, int) { return x < 4 ? 0xFFFF0000u : 0xFF0000FFu; }));
    SetResourceFolder(folder);
    Canvas canvas(60, 20);
    RECT rc = {0, 0, 60, 20};
    DrawMarkupText(canvas.dc(), m_context, rc, L"<i parts.png 2 1>", 0xFFFFFFFF, nullptr, 0, 1,
                   DT_SINGLELINE);
    SetResourceFolder(L"");
    EXPECT_EQ(countColor(canvas, rc, 0x0000FF, 0), 16) << "the second of two 4x4 parts";
    EXPECT_EQ(countColor(canvas, rc, 0xFF0000, 0), 0);

    // A small red W beside a big one: bottom-aligned by default, at the line top with "v top".
    auto topRow = [&](const wchar_t* text) {
        Canvas line(200, 60);
        RECT box = {0, 0, 200, 60};
        DrawMarkupText(line.dc(), m_context, box, text, 0xFFFFFFFF, nullptr, 0, 1, DT_SINGLELINE);
        for (int y = 0; y < 60; ++y)
            if (countColor(line, RECT{0, y, 200, y + 1}, 0xFF0000, 60) > 0) return y;
        return -1;
    };
    int bottom = topRow(L"<f Tahoma 40>W</f><c #FF0000>W</c>");
    int top = topRow(L"<f Tahoma 40>W</f><v top><c #FF0000>W</c></v>");
    ASSERT_GE(top, 0);
    EXPECT_LT(top + 10, bottom);
}
