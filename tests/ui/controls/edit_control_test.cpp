// CEditUI without a box: its defaults and attribute table, flags, preferred size, the state
// image it picks and the password characters it draws.
#include "tests/ui/render/canvas.h"
#include "ui/controls/edit_ui.h"
#include "ui/core/ui_manager.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using SkinUITest::Canvas;
using SkinUITest::rgb;

// An edit that belongs to a window-less manager (fonts, colours, images) at `rect`.
struct EditFixture {
    explicit EditFixture(RECT rect = {0, 0, 120, 30})
    {
        edit->SetWindowManager(&manager, nullptr, false);
        edit->Place(rect);
    }
    CEditUI* operator->() { return static_cast<CEditUI*>(edit.get()); }
    CEditUI& operator*() { return static_cast<CEditUI&>(*edit); }

    CUIManager manager;
    ControlPtr edit = MakeControl<CEditUI>();
};

TEST(EditControl, DefaultsAndAttributes)
{
    EditFixture edit;
    EXPECT_EQ(edit->GetClassName(), L"Edit");
    EXPECT_EQ(edit->QueryInterface(L"Edit"), &*edit);
    EXPECT_EQ(edit->QueryInterface(L"Label"), &*edit);
    EXPECT_EQ(edit->QueryInterface(L"Button"), nullptr);
    const RECT padding = edit->GetTextPadding();
    EXPECT_EQ(padding.left, 4);
    EXPECT_EQ(padding.top, 3);
    EXPECT_EQ(padding.right, 4);
    EXPECT_EQ(padding.bottom, 3);
    EXPECT_EQ(edit->GetMaxChar(), 255);
    EXPECT_EQ(edit->GetPasswordChar(), L'*');
    EXPECT_EQ(edit->GetNativeBkColor(), 0xFFFFFFFFu);
    EXPECT_FALSE(edit->IsReadOnly() || edit->IsPassword() || edit->IsNumberOnly() ||
                 edit->IsAutoSelectAll());
    EXPECT_EQ(edit->NativeWindow(), nullptr);

    for (auto [name, value] : {std::pair{L"readonly", L"true"},
                               {L"password", L"true"},
                               {L"numberonly", L"true"},
                               {L"autoselall", L"true"},
                               {L"maxchar", L"12"},
                               {L"nativebkcolor", L"#80112233"},
                               {L"textpadding", L"1,2,3,4"},
                               {L"roundcorner", L"8,8"},
                               {L"rich", L"false"}})
        edit->ApplyAttribute(name, value);
    EXPECT_TRUE(edit->IsReadOnly());
    EXPECT_TRUE(edit->IsPassword());
    EXPECT_TRUE(edit->IsNumberOnly());
    EXPECT_EQ(edit->GetNativeStyle(), UINT(ES_NUMBER));
    EXPECT_TRUE(edit->IsAutoSelectAll());
    EXPECT_EQ(edit->GetMaxChar(), 12);
    EXPECT_EQ(edit->GetNativeBkColor(), 0x80112233u);
    EXPECT_EQ(edit->GetTextPadding().right, 3) << "label attributes reach the label";
    ASSERT_NE(edit->FindCustomAttribute(L"roundcorner"), nullptr);
    EXPECT_EQ(*edit->FindCustomAttribute(L"rich"), L"false");

    edit->ApplyAttribute(L"readonly", L"True");  // only "true" is true
    edit->ApplyAttribute(L"numberonly", L"false");
    EXPECT_FALSE(edit->IsReadOnly());
    EXPECT_EQ(edit->GetNativeStyle(), 0u);
}

TEST(EditControl, FlagsAndPreferredSize)
{
    EditFixture edit;
    EXPECT_EQ(edit->GetFlags(), ControlFlagTabStop | ControlFlagSetsCursor);
    edit->SetEnabled(false);
    EXPECT_EQ(edit->GetFlags(), 0u);

    const int font = edit.manager.Fonts().FontInfoByNumber(-1).metrics.tmHeight;
    edit->SetRequestedWidth(150);
    SIZE size = edit->PreferredSize(SIZE{400, 400});
    EXPECT_EQ(size.cx, 150);
    EXPECT_EQ(size.cy, font + 8) << "one line of the font";
    edit->SetRequestedHeight(45);
    size = edit->PreferredSize(SIZE{400, 400});
    EXPECT_EQ(size.cy, 45);

    ControlPtr alone = MakeControl<CEditUI>();
    alone->SetRequestedWidth(70);
    size = alone->PreferredSize(SIZE{400, 400});
    EXPECT_EQ(size.cx, 70);
    EXPECT_EQ(size.cy, 0) << "nothing to measure with, without a manager";
}

uint32_t CentreAfterPaint(CEditUI& edit)
{
    Canvas canvas(120, 30);
    edit.PaintTo(canvas.dc(), canvas.rect());
    return rgb(canvas.pixel(60, 15));
}

TEST(EditControl, StateImageIsDisabledFocusedHotOrNormal)
{
    EditFixture edit;
    edit->ApplyAttribute(L"normalimage", L"color='#FFFF0000'");
    edit->ApplyAttribute(L"hotimage", L"color='#FF00FF00'");
    edit->ApplyAttribute(L"focusedimage", L"color='#FF0000FF'");
    edit->ApplyAttribute(L"disabledimage", L"color='#FF808080'");
    EXPECT_EQ(CentreAfterPaint(*edit), 0xFF0000u);

    ControlEvent enter{EventKind::MouseEnter, &*edit, 0, POINT{5, 5}};
    edit->DispatchEvent(enter);
    EXPECT_EQ(CentreAfterPaint(*edit), 0x00FF00u) << "hot";
    ControlEvent focus{EventKind::SetFocus, &*edit};
    edit->DispatchEvent(focus);
    EXPECT_TRUE(edit->IsFocused());
    EXPECT_EQ(edit->NativeWindow(), nullptr) << "no window to open a box in";
    EXPECT_EQ(CentreAfterPaint(*edit), 0x0000FFu) << "focused before hot";
    edit->SetEnabled(false);
    EXPECT_EQ(CentreAfterPaint(*edit), 0x808080u) << "disabled before everything";
    edit->SetEnabled(true);
    edit->SetFocusedImage(L"no such image.png");
    EXPECT_EQ(CentreAfterPaint(*edit), 0xFF0000u) << "an image that does not load: the normal one";

    ControlEvent leave{EventKind::MouseLeave, &*edit, 0, POINT{500, 5}};
    edit->DispatchEvent(enter);
    edit->DispatchEvent(leave);
    ControlEvent blur{EventKind::KillFocus, &*edit};
    edit->DispatchEvent(blur);
    EXPECT_FALSE(edit->IsFocused());
    EXPECT_EQ(CentreAfterPaint(*edit), 0xFF0000u) << "neither hot nor focused any more";
}

std::vector<uint32_t> Painted(CEditUI& edit)
{
    Canvas canvas(120, 30, 0xFF000000);
    edit.PaintTo(canvas.dc(), canvas.rect());
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) pixels.push_back(rgb(canvas.pixel(x, y)));
    return pixels;
}

TEST(EditControl, PasswordTextIsDrawnAsPasswordCharacters)
{
    EditFixture secret;
    secret->SetText(L"abc");
    secret->ApplyAttribute(L"password", L"true");
    EditFixture stars;
    stars->SetText(L"***");
    EditFixture plain;
    plain->SetText(L"abc");

    const std::vector<uint32_t> drawn = Painted(*secret);
    EXPECT_EQ(drawn, Painted(*stars));
    EXPECT_NE(drawn, Painted(*plain));
    EXPECT_NE(drawn, std::vector<uint32_t>(drawn.size(), 0xFFFFFF)) << "something was drawn";
    secret->SetPasswordChar(L'#');
    stars->SetText(L"###");
    EXPECT_EQ(Painted(*secret), Painted(*stars));
    EXPECT_EQ(secret->GetText(), L"abc") << "the text itself is kept";
}

}  // namespace
}  // namespace SkinUI
