// Tests of reading skin bytes: the three encodings, their byte-order marks, characters
// outside the basic plane and bytes that are no valid text.
#include "ui/markup/skin_markup.h"
#include "ui/markup/skin_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace SkinUI {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes BytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::wstring Decode(const std::string& bytes, SkinEncoding encoding)
{
    return DecodeSkinBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                           encoding);
}

// `text` (characters of the basic plane) as UTF-16 bytes in the given byte order.
Bytes Utf16Of(const std::wstring& text, bool bigEndian)
{
    Bytes bytes;
    for (wchar_t c : text) {
        const unsigned char high = static_cast<unsigned char>(c >> 8);
        const unsigned char low = static_cast<unsigned char>(c & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

const wchar_t kSkin[] = L"<Window><Text text=\"安装到:\"/></Window>";

void ExpectSkinParsed(const Bytes& bytes, SkinEncoding encoding)
{
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinBytes(bytes.data(), bytes.size(), encoding)) << markup.ParseError();
    EXPECT_STREQ(markup.Root().Name(), L"Window");
    EXPECT_STREQ(markup.Root().FirstChild().AttributeValue(L"text"), L"安装到:");
}

TEST(SkinMarkupBytes, Utf8WithAndWithoutItsMark)
{
    const std::string skin =
        "<Window><Text text=\"\xE5\xAE\x89\xE8\xA3\x85\xE5\x88\xB0:\"/></Window>";
    ExpectSkinParsed(BytesOf(skin), SkinEncoding::Utf8);
    ExpectSkinParsed(BytesOf("\xEF\xBB\xBF" + skin), SkinEncoding::Utf8);

    // A mark anywhere else is a character: here before the first tag, so not markup.
    CSkinMarkup markup;
    const Bytes twice = BytesOf("\xEF\xBB\xBF\xEF\xBB\xBF" + skin);
    EXPECT_FALSE(markup.LoadSkinBytes(twice.data(), twice.size(), SkinEncoding::Utf8));
    EXPECT_EQ(markup.ParseError(), L"Expected start tag");
}

TEST(SkinMarkupBytes, Utf16InBothByteOrdersDropsItsMark)
{
    Bytes little = {0xFF, 0xFE};
    const Bytes littleText = Utf16Of(kSkin, false);
    little.insert(little.end(), littleText.begin(), littleText.end());
    ExpectSkinParsed(little, SkinEncoding::Utf16);

    Bytes big = {0xFE, 0xFF};
    const Bytes bigText = Utf16Of(kSkin, true);
    big.insert(big.end(), bigText.begin(), bigText.end());
    ExpectSkinParsed(big, SkinEncoding::Utf16);

    // Without a mark: little-endian. An odd last byte is dropped.
    Bytes odd = littleText;
    odd.push_back('<');
    ExpectSkinParsed(odd, SkinEncoding::Utf16);
}

TEST(SkinMarkupBytes, CharactersBeyondTheBasicPlane)
{
    EXPECT_EQ(Decode("a\xF0\x9F\x98\x80z", SkinEncoding::Utf8), L"a\U0001F600z");
    EXPECT_EQ(Decode(std::string("\xFF\xFE=\xD8\x00\xDE", 6), SkinEncoding::Utf16), L"\U0001F600");
    EXPECT_EQ(Decode(std::string("\xFE\xFF\xD8=\xDE\x00", 6), SkinEncoding::Utf16), L"\U0001F600");
}

TEST(SkinMarkupBytes, InvalidSequencesBecomeReplacementCharacters)
{
    // A stray continuation, an overlong form, an encoded surrogate, a value past U+10FFFF.
    EXPECT_EQ(Decode("a\x80z", SkinEncoding::Utf8), L"a\uFFFDz");
    EXPECT_EQ(Decode("\xC0\xAF", SkinEncoding::Utf8), L"\uFFFD\uFFFD");
    EXPECT_EQ(Decode("\xED\xA0\x80", SkinEncoding::Utf8), L"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Decode("\xF4\x90\x80\x80", SkinEncoding::Utf8), L"\uFFFD\uFFFD\uFFFD\uFFFD");
    // A sequence cut short by the next character or by the end.
    EXPECT_EQ(Decode("\xE5\xAE<", SkinEncoding::Utf8), L"\uFFFD<");
    EXPECT_EQ(Decode("<\xE5\xAE", SkinEncoding::Utf8), L"<\uFFFD");

    // Lone surrogates: a low one, a high one before a letter, a high one at the end.
    EXPECT_EQ(Decode(std::string("\x00\xDC"
                                 "a\x00",
                                 4),
                     SkinEncoding::Utf16),
              L"\uFFFDa");
    EXPECT_EQ(Decode(std::string("\x00\xD8"
                                 "a\x00",
                                 4),
                     SkinEncoding::Utf16),
              L"\uFFFDa");
    EXPECT_EQ(Decode(std::string("a\x00\x00\xD8", 4), SkinEncoding::Utf16), L"a\uFFFD");
}

TEST(SkinMarkupBytes, NulBytesEndTheSkin)
{
    const std::string bytes("<a/>\0<b", 7);
    EXPECT_EQ(Decode(bytes, SkinEncoding::Utf8).size(), 7u);
    CSkinMarkup markup;
    ASSERT_TRUE(markup.LoadSkinBytes(reinterpret_cast<const unsigned char*>(bytes.data()),
                                     bytes.size(), SkinEncoding::Utf8));
    EXPECT_FALSE(markup.Root().NextSibling().IsValid());
    EXPECT_TRUE(markup.LoadSkinBytes(nullptr, 0, SkinEncoding::Utf16));
    EXPECT_FALSE(markup.Root().IsValid());
}

TEST(SkinMarkupBytes, AnsiCodePage)
{
    EXPECT_EQ(Decode("<a b=\"c\"/>", SkinEncoding::Ansi), L"<a b=\"c\"/>");
#ifdef _WIN32
    // The test programs run with the Chinese code page our users have.
    ASSERT_EQ(GetACP(), 936u);
    EXPECT_EQ(Decode("\xB0\xB2\xD7\xB0", SkinEncoding::Ansi), L"安装");
#else
    EXPECT_EQ(Decode("\xB0\xE9", SkinEncoding::Ansi), L"\u00B0\u00E9");
#endif
}

}  // namespace
}  // namespace SkinUI
