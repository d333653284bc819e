// CTextUI: links of markup text ("link" with the link's index, the hand cursor, the hovered
// link), at most eight of them, and no stale links once the text is drawn without markup.
#include "tests/ui/controls/control_scene.h"
#include "ui/controls/text_ui.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using Testing::ControlScene;
using Trace = std::vector<std::wstring>;

POINT CentreOf(const MarkupLink& link)
{
    const RECT& r = link.rects.at(0);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

CTextUI* AddLinks(ControlScene& scene)
{
    auto* text = scene.Add<CTextUI>({10, 10, 390, 60},
                                    L"name=\"txt\" showhtml=\"true\" "
                                    L"text=\"see {a first}one{/a} and {a second}two{/a}\"");
    scene.Pixel(0, 0);  // links are known once drawn
    return text;
}

TEST(Text, WrapsWithSidePaddingAndIsAText)
{
    ControlScene scene;
    auto* text = scene.Add<CTextUI>({10, 10, 200, 60});
    EXPECT_EQ(L"Text", text->GetClassName());
    EXPECT_EQ(text, text->QueryInterface(L"Label"));
    EXPECT_EQ(UINT(DT_WORDBREAK), text->GetTextStyle());
    EXPECT_EQ(2, text->GetTextPadding().left);
    EXPECT_EQ(2, text->GetTextPadding().right);
    EXPECT_EQ(0, text->GetTextPadding().top);
    EXPECT_EQ(0u, text->GetFlags()) << "no links: no cursor of its own";
}

TEST(Text, AClickOnALinkSendsLinkWithItsIndex)
{
    ControlScene scene;
    CTextUI* text = AddLinks(scene);
    ASSERT_EQ(2u, text->Links().size());
    EXPECT_EQ(L"first", text->Links()[0].target);
    EXPECT_EQ(L"second", text->Links()[1].target);
    EXPECT_EQ(ControlFlagSetsCursor, text->GetFlags());

    scene.Click(*text, CentreOf(text->Links()[1]));
    scene.Click(*text, CentreOf(text->Links()[0]));
    scene.Click(*text, {385, 55});  // no link there
    ASSERT_EQ(scene.notes.Trace(), (Trace{L"link:txt", L"link:txt"}));
    EXPECT_EQ(1u, scene.notes.seen[0].wParam);
    EXPECT_EQ(0u, scene.notes.seen[1].wParam);

    text->SetEnabled(false);
    scene.Click(*text, CentreOf(text->Links()[0]));
    EXPECT_EQ(2u, scene.notes.seen.size()) << "a disabled text sends no link";
    EXPECT_EQ(0u, text->GetFlags());
}

TEST(Text, TheCursorIsAHandOverALinkAndTheHoveredLinkFollowsTheMouse)
{
    ControlScene scene;
    CTextUI* text = AddLinks(scene);
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    scene.Send(*text, EventKind::SetCursor, CentreOf(text->Links()[0]));
    EXPECT_EQ(hand, GetCursor());
    scene.Send(*text, EventKind::SetCursor, {385, 55});
    EXPECT_EQ(arrow, GetCursor());

    scene.Send(*text, EventKind::MouseMove, CentreOf(text->Links()[1]));
    EXPECT_EQ(1, text->HoveredLink());
    scene.Send(*text, EventKind::MouseMove, {385, 55});
    EXPECT_EQ(-1, text->HoveredLink());
    scene.Send(*text, EventKind::MouseMove, CentreOf(text->Links()[0]));
    scene.Send(*text, EventKind::MouseLeave, {300, 150});
    EXPECT_EQ(-1, text->HoveredLink()) << "leaving clears it";
}

TEST(Text, OnlyTheFirstEightLinksAreKept)
{
    ControlScene scene;
    std::wstring markup;
    for (int i = 0; i < 10; ++i) markup += L"{a " + std::to_wstring(i) + L"}L{/a} ";
    auto* text = scene.Add<CTextUI>({0, 0, 400, 100}, L"showhtml=\"true\"");
    text->SetText(markup);
    scene.Pixel(0, 0);
    ASSERT_EQ(CTextUI::MaxLinks, text->Links().size());
    EXPECT_EQ(L"7", text->Links().back().target);
}

TEST(Text, LinksOfEarlierMarkupAreGoneOnceTheTextIsDrawnPlain)
{
    ControlScene scene;
    CTextUI* text = AddLinks(scene);
    const POINT oldLink = CentreOf(text->Links()[0]);
    text->SetShowHtml(false);
    scene.Pixel(0, 0);
    EXPECT_TRUE(text->Links().empty());
    scene.Click(*text, oldLink);
    EXPECT_TRUE(scene.notes.seen.empty()) << "the old link is not clickable";
    EXPECT_EQ(0u, text->GetFlags());

    text->SetShowHtml(true);
    scene.Pixel(0, 0);
    EXPECT_EQ(2u, text->Links().size());
    text->SetText(L"");
    scene.Pixel(0, 0);
    EXPECT_TRUE(text->Links().empty()) << "no text, no links";
}

}  // namespace
}  // namespace SkinUI
