// Markup layout before drawing: which font each placed piece takes, and where runs of text
// are cut when they wrap or end with an ellipsis.
#include "tests/ui/render/canvas.h"
#include "ui/core/attribute_values.h"
#include "ui/render/text_markup_layout.h"
#include "ui/render/resource_settings.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace SkinUI;
using namespace SkinUITest;

namespace {

class MarkupLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { m_context.Fonts().DefineFont(1, L"Tahoma", 16, false, false, false); }
    void TearDown() override { SetResourceFolder(L""); }

    // Lays `text` out in a box `width` wide and measures it (nothing stops at the bottom).
    MarkupLayout layOut(const std::wstring& text, int width, UINT style)
    {
        return LayOutMarkup(m_canvas.dc(), m_context, RECT{0, 0, width, 1000}, TokenizeMarkup(text),
                            0, 1, style, true);
    }

    // The pieces of text, in order.
    static std::vector<const PlacedPiece*> textPieces(const MarkupLayout& layout)
    {
        std::vector<const PlacedPiece*> pieces;
        for (const PlacedLine& line : layout.lines) {
            for (const PlacedPiece& piece : line.pieces) {
                if (!piece.text.empty()) pieces.push_back(&piece);
            }
        }
        return pieces;
    }

    BasicRenderContext m_context;
    Canvas m_canvas{10, 10};
};

}  // namespace

TEST_F(MarkupLayoutTest, AnInlineImageTagLeavesTheItalicsToTheirClosingTag)
{
    std::wstring folder = makeTempFolder();
    writeFile(folder + L"x.png", encodePng(4, 4, [](int, int) { return 0xFFFFFFFFu; }));
    SetResourceFolder(folder);

    auto pieces = textPieces(layOut(L"{i}a {i x.png}b{/i} c", 500, DT_SINGLELINE));
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_TRUE(pieces[0]->font->italic);
    EXPECT_TRUE(pieces[1]->font->italic) << "an image does not end the italics";
    EXPECT_EQ(pieces[2]->text, L" c");
    EXPECT_FALSE(pieces[2]->font->italic) << "{/i} closes the italic opened by {i}";

    // A closing i without an open italic closes nothing else.
    pieces = textPieces(layOut(L"{b}{i x.png}{/i}a{/b}", 500, DT_SINGLELINE));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_TRUE(pieces[0]->font->bold);
    EXPECT_FALSE(pieces[0]->font->italic);
}

TEST_F(MarkupLayoutTest, CutsNeverSplitASurrogatePair)
{
    // Letters and characters beyond the 16-bit range (two UTF-16 units each), in boxes from
    // narrower than one character up to several, wrapped, cut or ended with an ellipsis.
    std::wstring text;
    for (int i = 0; i < 12; ++i) text += L"a\U00020000\U0001F600 ";
    const UINT styles[] = {DT_WORDBREAK, 0, DT_SINGLELINE, DT_SINGLELINE | DT_END_ELLIPSIS,
                           DT_WORDBREAK | DT_END_ELLIPSIS};
    for (UINT style : styles) {
        for (int width = 1; width <= 60; ++width) {
            std::wstring laidOut;
            for (const PlacedPiece* piece : textPieces(layOut(text, width, style))) {
                EXPECT_FALSE(IS_LOW_SURROGATE(piece->text.front()))
                    << "style " << style << ", width " << width;
                EXPECT_FALSE(IS_HIGH_SURROGATE(piece->text.back()))
                    << "style " << style << ", width " << width;
                laidOut += piece->text;
            }
            if (style == DT_WORDBREAK || style == 0) {
                // Wrapping keeps every character (only the spaces at the breaks go).
                std::wstring expected = text, got = laidOut;
                expected.erase(std::remove(expected.begin(), expected.end(), L' '), expected.end());
                got.erase(std::remove(got.begin(), got.end(), L' '), got.end());
                EXPECT_EQ(got, expected) << "style " << style << ", width " << width;
            }
        }
    }
}

TEST_F(MarkupLayoutTest, ManyAdvancesStayWithinReachOfTheBox)
{
    // Each "x" is clamped as a skin number; thirty thousand of them would still pass the
    // range of int.
    std::wstring text;
    for (int i = 0; i < 30000; ++i) text += L"<x 100000>";
    MarkupLayout layout = layOut(text + L"W", 200, DT_SINGLELINE);
    EXPECT_GT(layout.width, 200);
    EXPECT_LE(layout.width, 200 + kSkinNumberLimit + 100);
}
