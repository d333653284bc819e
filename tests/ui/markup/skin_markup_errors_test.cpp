// Tests of the skin markup reader's failures: every parse and load error text with the text
// it shows of where the parse stopped, scans that meet the end of the text, deep nesting, the
// file size limit, and what a failure leaves of the document.
#include "ui/markup/skin_markup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace SkinUI {
namespace {

struct ParseErrorCase {
    const wchar_t* text;
    const wchar_t* error;
    const wchar_t* location;
};

void ExpectParseError(const ParseErrorCase& example)
{
    CSkinMarkup markup;
    EXPECT_FALSE(markup.LoadSkinText(example.text)) << example.text;
    EXPECT_EQ(markup.ParseError(), example.error) << example.text;
    EXPECT_EQ(markup.ParseErrorLocation(), example.location) << example.text;
    EXPECT_FALSE(markup.IsValid()) << example.text;
}

TEST(SkinMarkupErrors, EachParseErrorSaysWhereTheTextWentWrong)
{
    const ParseErrorCase cases[] = {
        {L"  hello <a/>", L"Expected start tag", L"hello <a/>"},
        {L"<a/> x", L"Expected start tag", L"x"},
        {L"<a><b/>after a child</a>", L"Expected start tag", L"after a child</a>"},
        {L"< Window/>", L"Error parsing element name", L" Window/>"},
        {L"<>", L"Error parsing element name", L">"},
        {L"<a x=\"1\" / >", L"Expected start-tag closing", L"/ >"},
        {L"<a x=\"1\"", L"Expected start-tag closing", L""},
        {L"<Window><a>text", L"Expected end-tag start", L""},
        {L"<Window></Windows>", L"Unmatched closing tag", L"Windows>"},
        {L"<a></b>", L"Unmatched closing tag", L"b>"},
        {L"<a></ a>", L"Unmatched closing tag", L" a>"},
        {L"<a></a", L"Unmatched closing tag", L"a"},
        {L"<a/></a>", L"Unmatched closing tag", L"a>"},
        {L"<a b>", L"Error while parsing attributes", L">"},
        {L"<a b c=\"1\">", L"Error while parsing attributes", L"c=\"1\">"},
        {L"<a =\"1\"/>", L"Error while parsing attributes", L"=\"1\"/>"},
        {L"<a b", L"Error while parsing attributes", L""},
        {L"<a b='1'/>", L"Expected attribute value", L"'1'/>"},
        {L"<a b=/>", L"Expected attribute value", L"/>"},
        {L"<a b=", L"Expected attribute value", L""},
        {L"<a b=\"runs  &amp; on", L"Error while parsing attribute string", L"runs  &amp; on"},
    };
    for (const ParseErrorCase& example : cases) ExpectParseError(example);
}

TEST(SkinMarkupErrors, ScansStopAtTheEndOfTheText)
{
    const ParseErrorCase cases[] = {
        {L"<Window><!-- never closed", L"Expected start tag", L""},
        {L"<Window><?never closed", L"Expected start tag", L""},
        {L"<Window><a/>", L"Expected start tag", L""},
        {L"<Window></Win", L"Unmatched closing tag", L"Win"},
        {L"<Window></", L"Unmatched closing tag", L""},
        {L"<Window></Window  ", L"Unmatched closing tag", L"Window  "},
        {L"<", L"Error parsing element name", L""},
        {L"<a b=\"", L"Error while parsing attribute string", L""},
        {L"<Window><a>&amp", L"Expected end-tag start", L""},
    };
    for (const ParseErrorCase& example : cases) ExpectParseError(example);
}

TEST(SkinMarkupErrors, LocationIsAtMost49CharactersAsWritten)
{
    const std::wstring tail = L"&amp;  " + std::wstring(60, L'x');
    CSkinMarkup markup;
    EXPECT_FALSE(markup.LoadSkinText(L"<a/>" + tail));
    EXPECT_EQ(markup.ParseError(), L"Expected start tag");
    EXPECT_EQ(markup.ParseErrorLocation(), tail.substr(0, 49));

    // A failure after values were decoded shows the text ahead as written.
    EXPECT_FALSE(markup.LoadSkinText(L"<a x=\"&amp;   y\"></b x=\"&lt;\">"));
    EXPECT_EQ(markup.ParseErrorLocation(), L"b x=\"&lt;\">");
}

std::wstring Nested(int depth)
{
    std::wstring text;
    for (int i = 0; i < depth; ++i) text += L"<a>";
    for (int i = 0; i < depth; ++i) text += L"</a>";
    return text;
}

TEST(SkinMarkupErrors, NestingIsBounded)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(Nested(kMaxSkinDepth)));
    int depth = 0;
    for (CSkinMarkupNode node = markup.Root(); node.IsValid(); node = node.FirstChild()) ++depth;
    EXPECT_EQ(depth, kMaxSkinDepth);

    EXPECT_FALSE(markup.LoadSkinText(Nested(kMaxSkinDepth + 1)));
    EXPECT_EQ(markup.ParseError(), L"Elements nested too deeply");
    EXPECT_EQ(markup.ParseErrorLocation(),
              L"<a>" +
                  std::wstring(L"</a></a></a></a></a></a></a></a></a></a></a></a>").substr(0, 46));

    // Far deeper than any stack would take, with nothing closed: a clear failure.
    std::wstring deep;
    for (int i = 0; i < 1000000; ++i) deep += L"<a>";
    EXPECT_FALSE(markup.LoadSkinText(deep));
    EXPECT_EQ(markup.ParseError(), L"Elements nested too deeply");
}

TEST(SkinMarkupErrors, AFailureDiscardsTheDocumentAndASuccessClearsTheError)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinText(L"<a/>"));
    EXPECT_FALSE(markup.LoadSkinText(L"<b>x</c>"));
    EXPECT_FALSE(markup.IsValid());
    EXPECT_FALSE(markup.Root().IsValid());

    ASSERT_TRUE(markup.LoadSkinText(L"<c/>"));
    EXPECT_TRUE(markup.ParseError().empty());
    EXPECT_TRUE(markup.ParseErrorLocation().empty());
    EXPECT_STREQ(markup.Root().Name(), L"c");
}

TEST(SkinMarkupLoadErrors, EachLoadErrorHasItsTextAndNoLocation)
{
    const std::pair<SkinLoadError, const wchar_t*> cases[] = {
        {SkinLoadError::OpenFile, L"Error opening file"},
        {SkinLoadError::EmptyFile, L"File is empty"},
        {SkinLoadError::FileTooLarge, L"File too large"},
        {SkinLoadError::ReadFile, L"Could not read file"},
        {SkinLoadError::OpenZip, L"Error opening zip file"},
        {SkinLoadError::FindZipEntry, L"Could not find ziped file"},
        {SkinLoadError::UnzipEntry, L"Could not unzip file"},
    };
    CSkinMarkup markup;
    for (const auto& [error, text] : cases) {
        ASSERT_TRUE(markup.LoadSkinText(L"<a/>"));
        EXPECT_FALSE(markup.FailLoad(error));
        EXPECT_EQ(markup.ParseError(), text);
        EXPECT_FALSE(markup.IsValid());
    }
    ASSERT_FALSE(markup.LoadSkinText(L"x"));
    ASSERT_EQ(markup.ParseErrorLocation(), L"x");
    markup.FailLoad(SkinLoadError::OpenFile);
    EXPECT_TRUE(markup.ParseErrorLocation().empty());
}

TEST(SkinMarkupLoadErrors, SkinFilesUpTo4MiBLoad)
{
    EXPECT_EQ(CheckSkinFileSize(0), SkinLoadError::EmptyFile);
    EXPECT_FALSE(CheckSkinFileSize(1).has_value());
    EXPECT_FALSE(CheckSkinFileSize(0x400000).has_value());
    EXPECT_EQ(CheckSkinFileSize(0x400001), SkinLoadError::FileTooLarge);
    EXPECT_EQ(CheckSkinFileSize(0x100000000ull), SkinLoadError::FileTooLarge);

    std::vector<unsigned char> bytes(0x400000, ' ');
    const std::string skin = "<Window><Button name=\"last\"/></Window>";
    std::copy(skin.begin(), skin.end(), bytes.end() - skin.size());
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinBytes(bytes.data(), bytes.size(), SkinEncoding::Utf8));
    EXPECT_STREQ(markup.Root().FirstChild().AttributeValue(L"name"), L"last");
}

}  // namespace
}  // namespace SkinUI
