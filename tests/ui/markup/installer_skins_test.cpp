// The installer's three skins, read from the skin folder as they ship: their elements in
// order, and the attributes written without white space or twice, as UTF-8 and as UTF-16.
#include "ui/markup/skin_markup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin_markup_test_support.h"

namespace SkinUI::test {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes ReadSkinFile(const std::string& name)
{
    std::ifstream file(std::string(SKIN_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file.is_open()) << name;
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void LoadSkin(CSkinMarkup& markup, const std::string& name)
{
    const Bytes bytes = ReadSkinFile(name);
    ASSERT_TRUE(markup.LoadSkinBytes(bytes.data(), bytes.size(), SkinEncoding::Utf8))
        << name << ": " << testing::PrintToString(markup.ParseError());
}

// The one HorizontalLayout every skin's window holds, after the fonts.
CSkinMarkupNode LayoutOf(const CSkinMarkup& markup)
{
    const CSkinMarkupNode window = markup.Root();
    EXPECT_STREQ(window.Name(), L"Window");
    EXPECT_FALSE(window.NextSibling().IsValid());
    CSkinMarkupNode layout = window.FirstChild();
    while (std::wstring(layout.Name()) == L"Font") layout = layout.NextSibling();
    EXPECT_STREQ(layout.Name(), L"HorizontalLayout");
    EXPECT_FALSE(layout.NextSibling().IsValid());
    return layout;
}

std::size_t CountOf(const CSkinMarkupNode& node, const std::wstring& attribute)
{
    std::size_t count = 0;
    for (const auto& [name, value] : AttributesOf(node)) count += name == attribute;
    return count;
}

const Names kOptionsControlNames = {
    L"buttionClose",     L"",
    L"installpath",      L"installpathEdit",
    L"chkDesktopOption", L"chkDesktopOptionText",
    L"chkMenuOption",    L"chkMenuOptionText",
    L"chkTaskOption",    L"chkTaskOptionText",
    L"chkOption",        L"chkOptionText",
    L"chkAgreeOption",   L"chkAgreeOptionText",
    L"userAgree",        L"with",
    L"privAgree",        L"buttonInstall",
};

TEST(SkinMarkupInstallerSkins, OptionsHoldsTheirFontsAndEighteenControls)
{
    CSkinMarkup markup;
    LoadSkin(markup, "options.xml");
    const CSkinMarkupNode window = markup.Root();
    EXPECT_EQ(AttributesOf(window),
              (Attributes{{L"size", L"1124,557"}, {L"caption", L"0,0,0,57"}}));
    EXPECT_EQ(ChildNamesOf(window), (Names{L"Font", L"Font", L"Font", L"HorizontalLayout"}));
    EXPECT_STREQ(window.FirstChild().NextSibling().AttributeValue(L"id"), L"3");

    const CSkinMarkupNode layout = LayoutOf(markup);
    EXPECT_STREQ(layout.AttributeValue(L"bkimage"), L"file='update_bg.png'");
    EXPECT_EQ(ChildNamesOf(layout),
              (Names{L"Button", L"Text", L"Edit", L"Button", L"CheckBox", L"Button", L"CheckBox",
                     L"Button", L"CheckBox", L"Button", L"CheckBox", L"Button", L"CheckBox",
                     L"Button", L"Button", L"Button", L"Button", L"Button"}));
    Names controlNames;
    for (const CSkinMarkupNode& control : ChildrenOf(layout)) {
        controlNames.emplace_back(control.AttributeValue(L"name"));
        EXPECT_FALSE(control.HasChildren()) << controlNames.back();
    }
    EXPECT_EQ(controlNames, kOptionsControlNames);
    EXPECT_STREQ(ChildrenOf(layout)[1].AttributeValue(L"text"), L"安装到:");
    EXPECT_STREQ(ChildrenOf(layout)[2].AttributeValue(L"text"),
                 L"C:\\Program Files (x86)\\ROVuruvodiv");
}

TEST(SkinMarkupInstallerSkins, OptionsQuirkAttributesParseAsWritten)
{
    CSkinMarkup markup;
    LoadSkin(markup, "options.xml");
    const std::vector<CSkinMarkupNode> controls = ChildrenOf(LayoutOf(markup));

    // name="..."pos="...": two attributes each.
    const CSkinMarkupNode menuText = controls[7];
    const CSkinMarkupNode with = controls[15];
    const CSkinMarkupNode privAgree = controls[16];
    EXPECT_EQ(AttributesOf(with), (Attributes{{L"name", L"with"},
                                              {L"pos", L"795,380,0,0"},
                                              {L"width", L"60"},
                                              {L"height", L"30"},
                                              {L"float", L"true"},
                                              {L"text", L" 和 "},
                                              {L"textcolor", L"#FFFFFFFF"},
                                              {L"font", L"3"}}));
    EXPECT_STREQ(menuText.AttributeName(1), L"pos");
    EXPECT_STREQ(menuText.AttributeValue(L"pos"), L"820,240,0,0");
    EXPECT_STREQ(privAgree.AttributeName(1), L"pos");
    EXPECT_STREQ(privAgree.AttributeValue(L"pos"), L"855,380,0,0");
    EXPECT_EQ(privAgree.AttributeCount(), 10u);

    // visible="true" twice: both kept.
    const CSkinMarkupNode agree = controls[12];
    const CSkinMarkupNode install = controls[17];
    EXPECT_EQ(CountOf(agree, L"visible"), 2u);
    EXPECT_EQ(CountOf(install, L"visible"), 2u);
    EXPECT_EQ(agree.AttributeCount(), 10u);
    EXPECT_EQ(install.AttributeCount(), 16u);
    EXPECT_STREQ(install.AttributeName(15), L"font");
}

TEST(SkinMarkupInstallerSkins, DownloadAndAgreement)
{
    CSkinMarkup markup;
    LoadSkin(markup, "download.xml");
    EXPECT_EQ(
        AttributesOf(markup.Root()),
        (Attributes{{L"size", L"1217,300"}, {L"layeredimage", L""}, {L"layeredopacity", L"255"}}));
    const CSkinMarkupNode layout = LayoutOf(markup);
    EXPECT_EQ(AttributesOf(layout), (Attributes{{L"hole", L"true"}, {L"layeredopacity", L"10"}}));
    EXPECT_EQ(ChildNamesOf(layout),
              (Names{L"Progress", L"Button", L"Button", L"Button", L"Button"}));
    Names controlNames;
    for (const CSkinMarkupNode& control : ChildrenOf(layout)) {
        controlNames.emplace_back(control.AttributeValue(L"name"));
    }
    EXPECT_EQ(controlNames, (Names{L"downloadpro", L"game", L"video", L"screen", L"audio"}));
    EXPECT_STREQ(layout.FirstChild().AttributeValue(L"value"), L"35");

    LoadSkin(markup, "agreement.xml");
    EXPECT_EQ(AttributesOf(markup.Root()),
              (Attributes{{L"size", L"902,383"}, {L"layeredopacity", L"255"}}));
    const CSkinMarkupNode splash = LayoutOf(markup);
    EXPECT_FALSE(splash.HasChildren());
    EXPECT_EQ(AttributesOf(splash), (Attributes{{L"bkimage", L"file='start.png'"},
                                                {L"hole", L"true"},
                                                {L"layeredopacity", L"10"}}));
}

// The skins saved as UTF-16 with the mark Windows editors write read the same.
TEST(SkinMarkupInstallerSkins, EachSkinReadsTheSameAsUtf16)
{
    for (const char* name : {"options.xml", "download.xml", "agreement.xml"}) {
        const Bytes bytes = ReadSkinFile(name);
        Bytes utf16 = {0xFF, 0xFE};
        for (wchar_t c : DecodeSkinBytes(bytes.data(), bytes.size(), SkinEncoding::Utf8)) {
            utf16.push_back(static_cast<unsigned char>(c & 0xFF));
            utf16.push_back(static_cast<unsigned char>(c >> 8));
        }
        CSkinMarkup utf8;
        LoadSkin(utf8, name);
        CSkinMarkup wide;
        ASSERT_TRUE(wide.LoadSkinBytes(utf16.data(), utf16.size(), SkinEncoding::Utf16))
            << name << ": " << testing::PrintToString(wide.ParseError());
        EXPECT_EQ(TreeOf(wide.Root()), TreeOf(utf8.Root())) << name;
    }
}

}  // namespace
}  // namespace SkinUI::test
