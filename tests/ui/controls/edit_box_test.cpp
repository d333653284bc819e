// The edit control's native box in a real window: where it lies (font-height centring,
// clipping by ancestors, hidden ancestors), what it is made with, typing and Enter, closing
// when the focus leaves, when the control is hidden (itself or through an ancestor) or
// disabled, text set by the program not reported as typed, and the click point.
#include "tests/ui/controls/edit_scene.h"
#include "ui/controls/edit_wnd.h"
#include "ui/core/ui_manager.h"
#include "ui/layouts/container_ui.h"

#include <gtest/gtest.h>

namespace SkinUI::Testing {
namespace {

int FontHeight(CUIManager& manager, int font = -1)
{
    return manager.Fonts().FontInfoByNumber(font).metrics.tmHeight;
}

bool Closed(HWND box)
{
    return !IsWindow(box);
}

TEST(EditBox, OpensFocusedOverTheTextWithTheControlsSettings)
{
    EditScene scene;
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    edit.SetText(L"hello");
    edit.ApplyAttribute(L"numberonly", L"true");
    edit.ApplyAttribute(L"maxchar", L"8");
    edit.ApplyAttribute(L"align", L"right");
    edit.ApplyAttribute(L"readonly", L"true");

    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    wchar_t className[32] = {};
    GetClassNameW(box, className, 32);
    EXPECT_STREQ(className, L"EditWnd");
    EXPECT_EQ(GetParent(box), scene.window().hwnd());
    EXPECT_EQ(GetFocus(), box);
    EXPECT_TRUE(IsWindowVisible(box));
    const LONG style = GetWindowLongW(box, GWL_STYLE);
    for (LONG bit :
         {LONG(WS_CHILD), LONG(ES_AUTOHSCROLL), LONG(ES_NUMBER), LONG(ES_RIGHT), LONG(ES_READONLY)})
        EXPECT_EQ(style & bit, bit) << std::hex << bit;
    EXPECT_EQ(style & (ES_PASSWORD | ES_CENTER), 0);
    EXPECT_EQ(WindowText(box), L"hello");
    EXPECT_EQ(SendMessageW(box, EM_GETLIMITTEXT, 0, 0), 8);
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 5u) << "the caret at the end";
    EXPECT_EQ(end, 5u);
    EXPECT_EQ(CountOf(scene.notifications, L"textchanged"), 0) << "the first text is not typed";

    // Text rectangle (24, 23)-(216, 57), 34 high; one line of the font, centred.
    const int font = FontHeight(scene.manager());
    const LONG top = 23 + (34 - font) / 2;
    const RECT expected = {24, top, 216, top + font};
    const RECT native = edit.NativeRect();
    EXPECT_TRUE(EqualRect(&expected, &native));
    const RECT placed = RectInParent(box);
    EXPECT_TRUE(EqualRect(&expected, &placed))
        << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
}

TEST(EditBox, PasswordAndSelectAllBoxes)
{
    EditScene scene;
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    edit.SetText(L"secret");
    edit.ApplyAttribute(L"password", L"true");
    edit.ApplyAttribute(L"autoselall", L"true");
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(GetWindowLongW(box, GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_EQ(SendMessageW(box, EM_GETPASSWORDCHAR, 0, 0), L'*');
    DWORD start = 1, end = 0;
    SendMessageW(box, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 6u) << "everything selected";
    edit.SetPasswordChar(L'#');
    EXPECT_EQ(SendMessageW(box, EM_GETPASSWORDCHAR, 0, 0), L'#') << "changed while open";
    edit.SetReadOnly(true);
    EXPECT_NE(GetWindowLongW(box, GWL_STYLE) & ES_READONLY, 0) << "changed while open";
}

TEST(EditBox, NativeRectCentresOnTheFontAndIsClippedByAncestors)
{
    EditScene scene;
    const int font = FontHeight(scene.manager());
    // Lower than the font: the text rectangle as it is.
    CEditUI& low = scene.AddEdit({0, 100, 100, 100 + font});
    RECT rc = low.NativeRect();
    EXPECT_EQ(rc.top, 103);
    EXPECT_EQ(rc.bottom, 100 + font - 3);

    CContainerUI& outer = scene.AddContainer({40, 0, 200, 90});
    ControlPtr innerPtr = MakeControl<CContainerUI>();
    FloatAt(*innerPtr, {0, 10, 100, 80});  // (40, 10)-(140, 80) in the window
    auto& inner = static_cast<CContainerUI&>(*outer.AddChild(std::move(innerPtr)));
    CEditUI& edit = scene.AddEdit({-30, 0, 150, 100}, &inner);  // (10, 10)-(190, 110)
    // Text (14, 13)-(186, 107), one font line centred in it, then clipped by both parents.
    const LONG top = 13 + (94 - font) / 2;
    rc = edit.NativeRect();
    const RECT expected = {40, top, 140, top + font};
    EXPECT_TRUE(EqualRect(&rc, &expected)) << rc.left << "," << rc.top << "," << rc.right;

    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    RECT placed = RectInParent(box);
    EXPECT_TRUE(EqualRect(&placed, &expected));

    // Moving the edit moves the box; moving it out of its parents hides the box.
    FloatAt(edit, {-20, 0, 160, 100});
    scene.Settle();
    placed = RectInParent(box);
    EXPECT_EQ(placed.left, 40);
    EXPECT_EQ(placed.right, 140);
    FloatAt(edit, {200, 0, 300, 100});
    scene.Settle();
    rc = edit.NativeRect();
    EXPECT_TRUE(IsRectEmpty(&rc));
    EXPECT_FALSE(IsWindowVisible(box)) << "clipped away";
    // A hidden box loses the focus to the window, and so closes.
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(box); }));
    FloatAt(edit, {-30, 0, 150, 100});
    scene.Settle();

    inner.SetVisible(false);
    rc = edit.NativeRect();
    EXPECT_TRUE(IsRectEmpty(&rc)) << "an ancestor is hidden";
}

TEST(EditBox, TypingReportsEachChangeAndEnterSendsReturn)
{
    EditScene scene;
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    std::vector<std::wstring> texts;
    scene.notifications.seen.clear();
    Type(box, L"abc");
    for (const NotifyMsg& msg : scene.notifications.seen) {
        EXPECT_EQ(msg.sender, &edit);
        texts.push_back(msg.type);
    }
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"textchanged", L"textchanged", L"textchanged"}));
    EXPECT_EQ(edit.GetText(), L"abc");

    scene.notifications.seen.clear();
    PressEnter(box);
    EXPECT_EQ(scene.notifications.Trace(), (std::vector<std::wstring>{L"return:"}));
    EXPECT_EQ(edit.GetText(), L"abc") << "Enter is not text";
    EXPECT_TRUE(IsWindow(box)) << "Enter keeps the box open";
}

TEST(EditBox, TextSetByTheProgramIsNotReportedAsTyped)
{
    EditScene scene;
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    scene.notifications.seen.clear();
    edit.SetText(L"xyz");
    EXPECT_EQ(WindowText(box), L"xyz");
    EXPECT_EQ(CountOf(scene.notifications, L"textchanged"), 0);
    SendMessageW(box, EM_SETSEL, 3, 3);
    Type(box, L"q");
    EXPECT_EQ(CountOf(scene.notifications, L"textchanged"), 1);
    EXPECT_EQ(edit.GetText(), L"xyzq");
}

TEST(EditBox, LosingTheFocusClosesTheBoxAndKeepsTheText)
{
    EditScene scene;
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    CControlUI& other = scene.AddFocusTaker({250, 20, 300, 60});
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    Type(box, L"kept");
    scene.manager().FocusControl(&other);
    EXPECT_FALSE(IsWindowVisible(box)) << "hidden at once";
    EXPECT_TRUE(PumpUntil([&] { return Closed(box); }));
    EXPECT_EQ(edit.NativeWindow(), nullptr);
    EXPECT_EQ(edit.GetText(), L"kept");
    EXPECT_FALSE(scene.manager().RemoveChildWindow(box)) << "the manager was told";
    EXPECT_EQ(scene.window().Received(WM_KILLFOCUS), 1)
        << "only the box's own focus change: the window took the focus, nothing forwarded";

    // Focus going to another window is forwarded to the skin window.
    box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    const int before = scene.window().Received(WM_KILLFOCUS);
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                     nullptr, nullptr, nullptr, nullptr);
    SetFocus(elsewhere);
    EXPECT_EQ(scene.window().Received(WM_KILLFOCUS), before + 1);
    EXPECT_TRUE(PumpUntil([&] { return Closed(box); }));
    DestroyWindow(elsewhere);
}

TEST(EditBox, HidingTheEditOrAnAncestorClosesTheBox)
{
    EditScene scene;
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    Type(box, L"one");
    edit.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_EQ(scene.manager().Focus(), nullptr);
    EXPECT_EQ(GetFocus(), scene.window().hwnd()) << "the window took the native focus";
    EXPECT_TRUE(PumpUntil([&] { return Closed(box); }));
    EXPECT_EQ(edit.GetText(), L"one");
    edit.SetVisible(true);

    CContainerUI& container = scene.AddContainer({0, 80, 400, 200});
    CEditUI& inner = scene.AddEdit({10, 10, 210, 50}, &container);
    box = scene.Open(inner);
    ASSERT_NE(box, nullptr);
    container.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_EQ(scene.manager().Focus(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Closed(box); }));
    EXPECT_TRUE(inner.IsVisible()) << "an edit does not keep the visibility its parent imposes";
    scene.manager().FocusControl(&inner);
    EXPECT_EQ(inner.NativeWindow(), nullptr) << "nothing to open inside a hidden container";
}

TEST(EditBox, DisablingIsMirroredAndClosesTheBox)
{
    EditScene scene;
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    Type(box, L"two");
    edit.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(box));
    EXPECT_EQ(scene.manager().Focus(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Closed(box); }));
    EXPECT_EQ(edit.GetText(), L"two");
    EXPECT_EQ(edit.GetFlags(), 0u);
    scene.manager().FocusControl(&edit);
    EXPECT_EQ(edit.NativeWindow(), nullptr) << "a disabled edit opens nothing";
}

TEST(EditBox, MaxCharAppliesToAnOpenBoxAndNumberOnlyRefusesLetters)
{
    EditScene scene;
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    edit.ApplyAttribute(L"maxchar", L"3");
    Type(box, L"abcdef");
    EXPECT_EQ(edit.GetText(), L"abc");
    EXPECT_EQ(CountOf(scene.notifications, L"textchanged"), 3);

    edit.SetText(L"");
    edit.SetMaxChar(0);  // no limit
    edit.SetNumberOnly(true);
    Type(box, L"a1b2");
    EXPECT_EQ(edit.GetText(), L"12");
    Type(box, std::wstring(300, L'7'));
    EXPECT_EQ(edit.GetText().size(), 302u);
}

TEST(EditBox, ResizingTheWindowOpensTheBoxAgainWithTheFocus)
{
    EditScene scene;
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    HWND first = scene.Open(edit);
    ASSERT_NE(first, nullptr);
    Type(first, L"size");
    SendMessageW(scene.window().hwnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(400, 200));
    HWND second = edit.NativeWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_FALSE(IsWindow(first)) << "the old box is gone at once";
    EXPECT_EQ(GetFocus(), second);
    EXPECT_EQ(scene.manager().Focus(), &edit);
    EXPECT_EQ(WindowText(second), L"size");
}

// The click lands where the box really lies: here the box is clipped on the left by the
// edit's parent, 30 pixels right of the edit's own text rectangle.
TEST(EditBox, FirstClickPlacesTheCaretUnderThePoint)
{
    EditScene scene;
    CControlUI& other = scene.AddFocusTaker({350, 0, 400, 40});
    CContainerUI& container = scene.AddContainer({40, 20, 380, 120});
    CEditUI& edit = scene.AddEdit({-34, 10, 300, 60}, &container);  // item from x = 6
    edit.SetText(L"abcdefghijklmnop");
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(RectInParent(box).left, 40);
    const LRESULT at = SendMessageW(box, EM_POSFROMCHAR, 4, 0);
    const RECT place = RectInParent(box);
    const POINT click = {place.left + short(LOWORD(at)) + 1, (place.top + place.bottom) / 2};
    scene.manager().FocusControl(&other);
    ASSERT_TRUE(PumpUntil([&] { return Closed(box); }));

    SendMessageW(scene.window().hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(click.x, click.y));
    SendMessageW(scene.window().hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(click.x, click.y));
    box = edit.NativeWindow();
    ASSERT_NE(box, nullptr);
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 4u);
    EXPECT_EQ(end, 4u);
}

TEST(EditBox, TheControlGoingTakesItsBox)
{
    EditScene scene;
    ControlPtr owned = MakeControl<CEditUI>();
    auto& edit = static_cast<CEditUI&>(*owned);
    FloatAt(edit, {20, 20, 220, 60});
    scene.manager().AdoptControls(&edit, &scene.root());
    edit.Place({20, 20, 220, 60});
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    owned.reset();
    EXPECT_TRUE(Closed(box)) << "destroyed with its control";

    // Destroyed by a handler of its own typing: the box is let go after the message.
    owned = MakeControl<CEditUI>();
    auto& typed = static_cast<CEditUI&>(*owned);
    scene.manager().AdoptControls(&typed, &scene.root());
    typed.Place({20, 20, 220, 60});
    box = scene.Open(typed);
    ASSERT_NE(box, nullptr);
    struct Destroyer : INotifyUI {
        ControlPtr* control;
        void OnNotify(NotifyMsg& msg) override
        {
            if (msg.type == L"textchanged") control->reset();
        }
    } destroyer;
    destroyer.control = &owned;
    scene.manager().AddReceiver(&destroyer);
    Type(box, L"z");
    EXPECT_FALSE(owned);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_TRUE(PumpUntil([&] { return Closed(box); }));
    scene.manager().RemoveReceiver(&destroyer);
}

}  // namespace
}  // namespace SkinUI::Testing
