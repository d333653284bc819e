// The box's background (left to the system, opaque, or a translucent cover over what the
// window shows under it), its printing and blinking caret in a layered window, and GDI
// objects that stay flat while typing and over a thousand open/type/close cycles.
#include "tests/ui/controls/edit_scene.h"
#include "tests/ui/gdi_object_count.h"
#include "tests/ui/render/canvas.h"
#include "ui/core/ui_manager.h"

#include <gtest/gtest.h>

namespace SkinUI::Testing {
namespace {

using SkinUITest::Canvas;
using SkinUITest::GdiObjectCount;
using SkinUITest::rgb;
using SkinUITest::sameColor;

// The box as it paints itself, read near its right end (no text there).
uint32_t BoxBackground(HWND box)
{
    const RECT place = RectInParent(box);
    Canvas canvas(place.right - place.left, place.bottom - place.top, 0xFF000000);
    PrintWindow(box, canvas.dc(), 0);
    GdiFlush();
    return rgb(canvas.pixel(place.right - place.left - 3, (place.bottom - place.top) / 2));
}

bool Closed(HWND box)
{
    return !IsWindow(box);
}

TEST(EditPaint, BoxBackgroundIsSystemOpaqueOrATranslucentCover)
{
    EditScene scene;
    scene.root().SetBkColor(0xFF0000FF);
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxBackground(box), 0xFFFFFFu) << "left to the system";

    edit.ApplyAttribute(L"nativebkcolor", L"#FF336699");
    EXPECT_EQ(BoxBackground(box), 0x336699u);
    edit.ApplyAttribute(L"nativebkcolor", L"#80FF0000");
    const uint32_t covered = BoxBackground(box);
    EXPECT_TRUE(sameColor(covered, 0x80007F, 3)) << std::hex << covered;
}

TEST(EditPaint, TypingOverATranslucentBackgroundKeepsGdiFlat)
{
    EditScene scene;
    scene.root().SetBkColor(0xFF0000FF);
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    edit.SetNativeBkColor(0x80FF0000);
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    auto typeAndPaint = [&](int count) {
        for (int i = 0; i < count; ++i) {
            Type(box, L"w");
            UpdateWindow(box);
        }
    };
    typeAndPaint(5);
    const int requestsBefore = scene.window().Received(WM_CTLCOLOREDIT);
    const DWORD before = GdiObjectCount();
    typeAndPaint(100);
    EXPECT_GE(scene.window().Received(WM_CTLCOLOREDIT), requestsBefore + 100)
        << "every paint asked for the background";
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST(EditPaint, LayeredWindowPrintsTheBoxWithABlinkingCaret)
{
    EditScene scene;
    scene.manager().ApplyWindowAttribute(L"layeredimage", L"");
    ASSERT_TRUE(scene.manager().IsLayered());
    scene.root().SetBkColor(0xFF202020);
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    edit.SetNativeBkColor(0xFF00FF00);
    edit.SetTextColor(0xFFFF0000);
    HWND box = scene.Open(edit);
    ASSERT_NE(box, nullptr);
    Pump(100);
    const RECT place = RectInParent(box);
    const DibSection& frame = scene.manager().OffscreenPixels();
    ASSERT_TRUE(frame);
    const uint32_t inside =
        frame.pixels[size_t((place.top + place.bottom) / 2) * frame.width + place.right - 3];
    EXPECT_EQ(inside, 0xFF00FF00u) << "the box printed into the frame, opaque";

    POINT caret = {};
    ASSERT_TRUE(GetCaretPos(&caret));
    const size_t at = size_t((place.top + place.bottom) / 2) * frame.width + place.left + caret.x;
    int on = 0, off = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 1600;) {
        Pump(40);
        const uint32_t pixel = rgb(scene.manager().OffscreenPixels().pixels[at]);
        on += pixel == 0xFF0000 ? 1 : 0;
        off += pixel == 0x00FF00 ? 1 : 0;
    }
    EXPECT_GT(on, 3) << "the caret line is drawn";
    EXPECT_GT(off, 3) << "and blinks";

    Type(box, L"typed");
    EXPECT_EQ(edit.GetText(), L"typed");
}

TEST(EditPaint, ThousandOpenTypeCloseCyclesKeepGdiFlat)
{
    EditScene scene;
    scene.root().SetBkColor(0xFF0000FF);
    CEditUI& edit = scene.AddEdit({20, 20, 220, 60});
    CControlUI& other = scene.AddFocusTaker({250, 20, 300, 60});
    edit.SetNativeBkColor(0x80FF0000);
    int closed = 0;
    auto cycle = [&] {
        edit.SetText(L"");
        HWND box = scene.Open(edit);
        if (box == nullptr) return;
        Type(box, L"cycle");
        UpdateWindow(box);
        scene.manager().FocusControl(&other);
        closed += PumpUntil([&] { return Closed(box); }) ? 1 : 0;
    };
    for (int i = 0; i < 10; ++i) cycle();
    const DWORD before = GdiObjectCount();
    for (int i = 0; i < 1000; ++i) cycle();
    EXPECT_EQ(closed, 1010) << "every cycle opened and closed a box";
    EXPECT_EQ(GdiObjectCount(), before);
    EXPECT_EQ(CountOf(scene.notifications, L"textchanged"), 1010 * 5);
}

}  // namespace
}  // namespace SkinUI::Testing
