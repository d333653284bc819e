// The control base's skin attributes: the table in document order, the shared parsers it
// reads with, attribute lists and the custom-attribute store.
#include "ui/core/attribute_values.h"
#include "ui/core/control_ui.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace SkinUI {
namespace {

ControlPtr Apply(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes)
{
    ControlPtr control = MakeControl<CControlUI>();
    for (const auto& [name, value] : attributes) control->ApplyAttribute(name, value);
    return control;
}

TEST(ControlAttributes, PosThenALaterWidthWinsAndNegativeSizesAreIgnored)
{
    // As in the installer's skins: right before left gives a negative width, which is
    // ignored; the later "width" decides.
    ControlPtr c = Apply({{L"width", L"40"}, {L"pos", L"1065,20,0,0"}, {L"width", L"33"}});
    EXPECT_EQ(1065, c->GetFixedOffset().cx);
    EXPECT_EQ(20, c->GetFixedOffset().cy);
    EXPECT_EQ(33, c->GetRequestedWidth());
    EXPECT_EQ(0, c->GetRequestedHeight());

    ControlPtr later = Apply({{L"height", L"9"}, {L"pos", L"10,20,110,70"}});
    EXPECT_EQ(100, later->GetRequestedWidth());
    EXPECT_EQ(50, later->GetRequestedHeight()) << "pos after height replaces it";

    ControlPtr negative = Apply({{L"width", L"12"}, {L"width", L"-5"}, {L"minwidth", L"-1"}});
    EXPECT_EQ(12, negative->GetRequestedWidth());
    EXPECT_EQ(0, negative->GetMinWidth());
}

TEST(ControlAttributes, SizeLimitsAndMaxNeverBelowMin)
{
    ControlPtr c = MakeControl<CControlUI>();
    EXPECT_EQ(9999, c->GetMaxWidth());
    EXPECT_EQ(9999, c->GetMaxHeight());
    c->ApplyAttribute(L"maxwidth", L"50");
    c->ApplyAttribute(L"minwidth", L"80");
    c->ApplyAttribute(L"maxheight", L"10");
    c->ApplyAttribute(L"minheight", L"20");
    EXPECT_EQ(80, c->GetMaxWidth());
    EXPECT_EQ(20, c->GetMaxHeight());
    c->ApplyAttribute(L"minwidth", L"30");
    EXPECT_EQ(50, c->GetMaxWidth());
}

TEST(ControlAttributes, PlainValuesReachTheirSetters)
{
    ControlPtr c = Apply({{L"name", L"buttonInstall"},
                          {L"text", L"Install"},
                          {L"tooltip", L"first<n>second<n>"},
                          {L"userdata", L"u"},
                          {L"tag", L"42"},
                          {L"padding", L"1,2,3,4"},
                          {L"shortcut", L"Ix"},
                          {L"menu", L"true"},
                          {L"virtualwnd", L"page"},
                          {L"enabled", L"false"},
                          {L"mouse", L"TRUE"},
                          {L"keyboard", L"false"}});
    EXPECT_EQ(L"buttonInstall", c->GetName());
    EXPECT_EQ(L"Install", c->GetText());
    EXPECT_EQ(L"first\r\nsecond\r\n", c->GetToolTip());
    EXPECT_EQ(300, c->GetToolTipWidth());
    EXPECT_EQ(L"u", c->GetUserData());
    EXPECT_EQ(42u, c->GetTag());
    const RECT padding = c->GetPadding();
    EXPECT_EQ((std::vector<LONG>{1, 2, 3, 4}),
              (std::vector<LONG>{padding.left, padding.top, padding.right, padding.bottom}));
    EXPECT_EQ(L'I', c->GetShortcut());
    EXPECT_TRUE(c->UsesContextMenu());
    EXPECT_EQ(L"page", c->GetVirtualWindow());
    EXPECT_FALSE(c->IsEnabled());
    EXPECT_FALSE(c->IsMouseEnabled()) << "booleans are true only for the exact text \"true\"";
    EXPECT_FALSE(c->IsKeyboardEnabled());
    EXPECT_TRUE(c->IsVisible());
    c->ApplyAttribute(L"visible", L"false");
    EXPECT_FALSE(c->IsVisible());
    EXPECT_EQ(L"Control", c->GetClassName());
    EXPECT_EQ(c.get(), c->QueryInterface(L"Control"));
    EXPECT_EQ(nullptr, c->QueryInterface(L"control"));
}

TEST(ControlAttributes, FloatTakesABoolOrFourAnchors)
{
    ControlPtr c = Apply({{L"float", L"true"}});
    EXPECT_TRUE(c->IsFloat());
    c->ApplyAttribute(L"float", L"yes");
    EXPECT_FALSE(c->IsFloat());

    c->ApplyAttribute(L"float", L"0.5,0,1,0.25");
    EXPECT_TRUE(c->IsFloat());
    const FloatAnchors a = c->GetFloatAnchors();
    EXPECT_DOUBLE_EQ(0.5, a.left);
    EXPECT_DOUBLE_EQ(0.0, a.top);
    EXPECT_DOUBLE_EQ(1.0, a.right);
    EXPECT_DOUBLE_EQ(0.25, a.bottom);
}

TEST(ControlAttributes, UnknownNamesAreCustomAndTheFirstValueStays)
{
    ControlPtr c = Apply({{L"hole", L"true"},
                          {L"hole", L"false"},
                          {L"Name", L"differs by case"},
                          {L"empty", L""},
                          {L"", L"no name"}});
    ASSERT_NE(nullptr, c->FindCustomAttribute(L"hole"));
    EXPECT_EQ(L"true", *c->FindCustomAttribute(L"hole"));
    ASSERT_NE(nullptr, c->FindCustomAttribute(L"Name")) << "names compare case-sensitively";
    EXPECT_EQ(L"", c->GetName());
    EXPECT_EQ(nullptr, c->FindCustomAttribute(L"empty"));
    EXPECT_EQ(nullptr, c->FindCustomAttribute(L""));

    c->RemoveCustomAttribute(L"hole");
    EXPECT_EQ(nullptr, c->FindCustomAttribute(L"hole"));
    c->AddCustomAttribute(L"hole", L"again");
    EXPECT_EQ(L"again", *c->FindCustomAttribute(L"hole"));
    c->RemoveAllCustomAttributes();
    EXPECT_EQ(nullptr, c->FindCustomAttribute(L"Name"));
}

TEST(ControlAttributes, ListsStopAtTheFirstPairNotFollowedByExactlyOneSpace)
{
    const auto names = [](const std::wstring& list) {
        std::vector<std::wstring> seen;
        ForEachAttributePair(list, [&](const std::wstring& name, const std::wstring& value) {
            seen.push_back(name + L"=" + value);
        });
        return seen;
    };
    using List = std::vector<std::wstring>;
    EXPECT_EQ((List{L"a=1", L"b=", L"c=x y"}), names(L"a=\"1\" b=\"\" c=\"x y\""));
    EXPECT_EQ((List{L"a=1"}), names(L"a=\"1\"  b=\"2\"")) << "two spaces";
    EXPECT_EQ((List{L"a=1"}), names(L"a=\"1\"b=\"2\"")) << "no space";
    EXPECT_EQ((List{L"a=1"}), names(L"a=\"1\" b=2")) << "value without quotes";
    EXPECT_EQ((List{}), names(L"a=\"unclosed"));
    EXPECT_EQ((List{}), names(L"no equals sign"));
    EXPECT_EQ((List{L"a=1"}), names(L"a=\"1\" ")) << "a trailing space ends the text";

    ControlPtr c = MakeControl<CControlUI>();
    c->ApplyAttributeList(L"name=\"first\" width=\"30\"  height=\"40\"");
    EXPECT_EQ(L"first", c->GetName());
    EXPECT_EQ(30, c->GetRequestedWidth());
    EXPECT_EQ(0, c->GetRequestedHeight());
}

TEST(AttributeValues, SizesAndFractions)
{
    EXPECT_EQ(4, ParseSize(L"4,6").cx);
    EXPECT_EQ(6, ParseSize(L"4,6").cy);
    EXPECT_EQ(0, ParseSize(L"").cx);

    EXPECT_EQ((Fractions{0.5, -0.25, 1, 0}), ParseFractions(L"0.5,-0.25,1.,x"));
    EXPECT_EQ((Fractions{0, 0, 0, 0}), ParseFractions(L"inf,1"));
    EXPECT_EQ((Fractions{0, 0, 0, 0}), ParseFractions(L"nan,1"));
    EXPECT_EQ((Fractions{kSkinNumberLimit, -kSkinNumberLimit, 0.125, 0}),
              ParseFractions(L"99999999999999999999,-99999999999999999999.5,.125"));
    EXPECT_EQ((Fractions{1, 2, 0, 0}), ParseFractions(L"1;2"));
}

}  // namespace
}  // namespace SkinUI
