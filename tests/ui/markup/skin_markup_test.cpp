// Tests of the skin markup reader on text: the element tree, attributes (runs without white
// space, repeats, the 64 read back), entities, white-space folding and what the text ends at.
#include "ui/markup/skin_markup.h"

#include <gtest/gtest.h>

#include <string>

#include "skin_markup_test_support.h"

namespace SkinUI::test {
namespace {

TEST(SkinMarkupTree, ElementsNestAndFollowInDocumentOrder)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(
        L"<Window size=\"1,2\">\n"
        L"  <Font id=\"1\"/>\n"
        L"  <HorizontalLayout><Button name=\"a\"/><Text>hello</Text></HorizontalLayout>\n"
        L"</Window>"));
    EXPECT_TRUE(markup.ParseError().empty());
    const CSkinMarkupNode root = markup.Root();
    EXPECT_STREQ(root.Name(), L"Window");
    EXPECT_FALSE(root.Parent().IsValid());
    EXPECT_FALSE(root.NextSibling().IsValid());
    EXPECT_EQ(ChildNamesOf(root), (Names{L"Font", L"HorizontalLayout"}));

    const CSkinMarkupNode layout = root.FirstChild().NextSibling();
    ASSERT_TRUE(layout.HasChildren());
    EXPECT_FALSE(root.FirstChild().HasChildren());
    EXPECT_EQ(ChildNamesOf(layout), (Names{L"Button", L"Text"}));
    EXPECT_STREQ(layout.Parent().Name(), L"Window");
    EXPECT_STREQ(layout.FirstChild().Parent().Name(), L"HorizontalLayout");
    EXPECT_STREQ(layout.FirstChild().NextSibling().Data(), L"hello");
    EXPECT_STREQ(layout.FirstChild().Data(), L"");
}

TEST(SkinMarkupTree, DataIsTheTextBeforeTheFirstChild)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(L"<a>before<b>inner</b></a>"));
    EXPECT_EQ(TreeOf(markup.Root()), L"<a>before<b>inner</></>");
    ASSERT_TRUE(markup.LoadSkinText(L"<a><b></b><c/></a>"));
    EXPECT_EQ(TreeOf(markup.Root()), L"<a><b></><c></></>");
}

TEST(SkinMarkupTree, DeclarationAndCommentsMakeNoElements)
{
    CSkinMarkup markup;
    ASSERT_TRUE(
        markup.LoadSkinText(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            L"<!-- a comment with <tags> and \"quotes\" -->\n"
                            L"<Window>\n"
                            L"  <Button name=\"x\" /> <!-- after an element on its line -->\n"
                            L"  <!-- between --><Edit><!-- only a comment --></Edit>\n"
                            L"</Window>\n"
                            L"<!-- trailing -->\n"));
    EXPECT_EQ(TreeOf(markup.Root()), L"<Window>\n <Button name=[x]></><Edit></></>");
    EXPECT_FALSE(markup.Root().NextSibling().IsValid());
}

TEST(SkinMarkupTree, TextWithoutElementsIsADocumentWithoutRoot)
{
    CSkinMarkup markup;
    for (const wchar_t* text : {L"", L"  \r\n\t", L"<?xml version=\"1.0\"?>", L"<!-- only -->"}) {
        EXPECT_TRUE(markup.LoadSkinText(text)) << text;
        EXPECT_TRUE(markup.IsValid());
        EXPECT_FALSE(markup.Root().IsValid());
    }
    // Unterminated sections run to the end of the text.
    EXPECT_TRUE(markup.LoadSkinText(L"<a/><!-- never closed <b/>"));
    EXPECT_STREQ(markup.Root().Name(), L"a");
    EXPECT_FALSE(markup.Root().NextSibling().IsValid());
    EXPECT_TRUE(markup.LoadSkinText(L"<?xml never closed"));
    EXPECT_FALSE(markup.Root().IsValid());
}

TEST(SkinMarkupTree, SeveralTopLevelElementsAndAnOpenOneAtTheEnd)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(L"<a/><b x=\"1\"/><c>data  runs   to the end"));
    EXPECT_STREQ(markup.Root().Name(), L"a");
    EXPECT_STREQ(markup.Root().NextSibling().Name(), L"b");
    const CSkinMarkupNode c = markup.Root().NextSibling().NextSibling();
    EXPECT_STREQ(c.Name(), L"c");
    EXPECT_STREQ(c.Data(), L"data runs to the end");
}

TEST(SkinMarkupAttributes, RunsWithoutWhiteSpaceAndRepeatsAreKept)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(
        L"<Button name=\"with\"pos=\"795,380,0,0\" visible=\"true\" x = \"1\"visible=\"true\"/>"));
    EXPECT_EQ(AttributesOf(markup.Root()), (Attributes{{L"name", L"with"},
                                                       {L"pos", L"795,380,0,0"},
                                                       {L"visible", L"true"},
                                                       {L"x", L"1"},
                                                       {L"visible", L"true"}}));
    EXPECT_TRUE(markup.Root().HasAttributes());
}

TEST(SkinMarkupAttributes, LookupByNameIsExactAndTakesTheFirst)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(L"<a Text=\"upper\" text=\"first\" text=\"second\" e=\"\"/>"));
    const CSkinMarkupNode node = markup.Root();
    EXPECT_STREQ(node.AttributeValue(L"text"), L"first");
    EXPECT_STREQ(node.AttributeValue(L"Text"), L"upper");
    EXPECT_STREQ(node.AttributeValue(L"TEXT"), L"");
    EXPECT_STREQ(node.AttributeValue(L"tex"), L"");
    EXPECT_STREQ(node.AttributeValue(L"e"), L"");
    EXPECT_STREQ(node.AttributeName(3), L"e");
    EXPECT_STREQ(node.AttributeName(4), L"");
    EXPECT_STREQ(node.AttributeValue(4), L"");

    ASSERT_TRUE(markup.LoadSkinText(L"<a><b/></a>"));
    EXPECT_FALSE(markup.Root().HasAttributes());
    EXPECT_EQ(markup.Root().AttributeCount(), 0u);
}

// Values that shrink while decoded, empty values, and values holding "/" and ">" must all
// come back whole, however the next attribute or the tag's end follows them.
TEST(SkinMarkupAttributes, EveryValueComesBackWhateverFollowsIt)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(L"<a p=\"&amp;&lt;\"q=\"\" r=\"x   y\"s=\"1/>2\"t=\"&quot;\"/>"
                                    L"<b u=\"a   b\">u=\"not an attribute\"</b>"
                                    L"<c v=\"\"/><d w=\"&apos;\"><e/></d>"));
    const CSkinMarkupNode a = markup.Root();
    EXPECT_EQ(
        AttributesOf(a),
        (Attributes{{L"p", L"&<"}, {L"q", L""}, {L"r", L"x y"}, {L"s", L"1/>2"}, {L"t", L"\""}}));
    const CSkinMarkupNode b = a.NextSibling();
    EXPECT_EQ(AttributesOf(b), (Attributes{{L"u", L"a b"}}));
    EXPECT_STREQ(b.Data(), L"u=\"not an attribute\"");
    EXPECT_EQ(AttributesOf(b.NextSibling()), (Attributes{{L"v", L""}}));
    EXPECT_EQ(AttributesOf(b.NextSibling().NextSibling()), (Attributes{{L"w", L"'"}}));
}

TEST(SkinMarkupAttributes, OnlyTheFirst64AreReadBack)
{
    std::wstring text = L"<a";
    for (int i = 1; i <= 65; ++i)
        text += L" k" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    text += L"><child/></a>";
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(text));
    const CSkinMarkupNode node = markup.Root();
    EXPECT_EQ(node.AttributeCount(), 64u);
    EXPECT_STREQ(node.AttributeName(63), L"k64");
    EXPECT_STREQ(node.AttributeValue(L"k64"), L"64");
    EXPECT_STREQ(node.AttributeValue(L"k65"), L"");
    EXPECT_STREQ(node.AttributeName(64), L"");
    EXPECT_STREQ(node.FirstChild().Name(), L"child");

    // The 65th is still parsed: a broken one fails the document.
    text.replace(text.find(L"k65=\""), 5, L"k65=x");
    EXPECT_FALSE(markup.LoadSkinText(text));
    EXPECT_EQ(markup.ParseError(), L"Expected attribute value");
}

TEST(SkinMarkupValues, EntitiesAreDecodedOnce)
{
    CSkinMarkup markup;
    ASSERT_TRUE(
        markup.LoadSkinText(L"<a all=\"&amp;&lt;&gt;&quot;&apos;\" once=\"&amp;quot;\" "
                            L"other=\"&nbsp; & &amp &AMP; &#38; ;&\">&lt;b&gt; &amp;amp;</a>"));
    EXPECT_STREQ(markup.Root().AttributeValue(L"all"), L"&<>\"'");
    EXPECT_STREQ(markup.Root().AttributeValue(L"once"), L"&quot;");
    EXPECT_STREQ(markup.Root().AttributeValue(L"other"), L"&nbsp; & &amp &AMP; &#38; ;&");
    EXPECT_STREQ(markup.Root().Data(), L"<b> &amp;");

    // An entity cut off by the end of the text or the value stays as written.
    ASSERT_TRUE(markup.LoadSkinText(L"<a v=\"&quot\">&am"));
    EXPECT_STREQ(markup.Root().AttributeValue(L"v"), L"&quot");
    EXPECT_STREQ(markup.Root().Data(), L"&am");
}

TEST(SkinMarkupValues, WhiteSpaceAfterASpaceIsDroppedUnlessPreserved)
{
    const wchar_t* text =
        L"<a text=\"  和  \" tabs=\"x\t\ty \t\n z\">\n    line one  \n  two\t</a>";
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(text));
    EXPECT_STREQ(markup.Root().AttributeValue(L"text"), L" 和 ");
    EXPECT_STREQ(markup.Root().AttributeValue(L"tabs"), L"x\t\ty z");
    EXPECT_STREQ(markup.Root().Data(), L"\n line one two\t");

    markup.SetPreserveWhitespace(true);
    ASSERT_TRUE(markup.LoadSkinText(text));
    EXPECT_STREQ(markup.Root().AttributeValue(L"text"), L"  和  ");
    EXPECT_STREQ(markup.Root().AttributeValue(L"tabs"), L"x\t\ty \t\n z");
    EXPECT_STREQ(markup.Root().Data(), L"\n    line one  \n  two\t");
}

TEST(SkinMarkupNodes, NodesOfNoDocumentAnswerEmpty)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(L"<a x=\"1\"><b/></a>"));
    markup.Release();
    EXPECT_FALSE(markup.IsValid());
    const CSkinMarkupNode none = markup.Root();
    EXPECT_FALSE(none.IsValid());
    EXPECT_FALSE(none.FirstChild().IsValid());
    EXPECT_FALSE(none.HasChildren());
    EXPECT_STREQ(none.Name(), L"");
    EXPECT_EQ(none.AttributeCount(), 0u);
    EXPECT_STREQ(none.AttributeValue(L"x"), L"");
}

}  // namespace
}  // namespace SkinUI::test
