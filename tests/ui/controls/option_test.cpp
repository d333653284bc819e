// COptionUI and CCheckBoxUI: groups keep one option selected and deselect the others
// silently, an option without a group toggles, "click" comes before "selectchanged", the
// group registration follows the manager (also when the group is named before there is one),
// and the selected drawing with its fall-backs.
#include "tests/ui/controls/control_scene.h"
#include "ui/controls/check_box_ui.h"
#include "ui/controls/option_ui.h"
#include "ui/core/ui_manager.h"
#include "ui/layouts/container_ui.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using Testing::ColorImage;
using Testing::ControlScene;
using Trace = std::vector<std::wstring>;

constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;

const std::wstring kImages = L"normalimage=\"" + ColorImage(0xFF808080) + L"\" selectedimage=\"" +
                             ColorImage(0xFFFFFFFF) + L"\"";

POINT Centre(const CControlUI& control)
{
    const RECT r = control.GetRect();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(Option, ClassNamesAndInterfacesOfOptionAndCheckBox)
{
    ControlScene scene;
    COptionUI* option = scene.Add<COptionUI>({0, 0, 20, 20});
    CCheckBoxUI* box = scene.Add<CCheckBoxUI>({30, 0, 50, 20});
    EXPECT_EQ(L"Option", option->GetClassName());
    EXPECT_EQ(L"CheckBox", box->GetClassName());
    EXPECT_EQ(box, box->QueryInterface(L"CheckBox"));
    EXPECT_EQ(box, box->QueryInterface(L"Option"));
    EXPECT_EQ(box, box->QueryInterface(L"Button"));
    EXPECT_EQ(nullptr, option->QueryInterface(L"CheckBox"));
    EXPECT_EQ(option, option->QueryInterface(L"Label"));
}

TEST(Option, AGroupKeepsOneSelectedAndDeselectsTheOthersSilently)
{
    ControlScene scene;
    auto* a = scene.Add<COptionUI>({0, 0, 20, 20}, L"name=\"a\" group=\"g\" " + kImages);
    auto* b = scene.Add<COptionUI>({30, 0, 50, 20}, L"name=\"b\" group=\"g\" " + kImages);
    auto* c = scene.Add<COptionUI>({60, 0, 80, 20}, L"name=\"c\" group=\"other\" " + kImages);
    ASSERT_NE(nullptr, scene.manager().OptionGroup(L"g"));
    EXPECT_EQ(2u, scene.manager().OptionGroup(L"g")->size());

    scene.Click(*a, Centre(*a));
    scene.Click(*c, Centre(*c));
    EXPECT_EQ(scene.notes.Trace(),
              (Trace{L"click:a", L"selectchanged:a", L"click:c", L"selectchanged:c"}));
    scene.notes.seen.clear();

    scene.Click(*b, Centre(*b));
    EXPECT_EQ(scene.notes.Trace(), (Trace{L"click:b", L"selectchanged:b"}))
        << "a is deselected without a notification";
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_TRUE(c->IsSelected()) << "another group is untouched";
    EXPECT_EQ(kGrey, scene.Pixel(10, 10));
    EXPECT_EQ(kWhite, scene.Pixel(40, 10));
    scene.notes.seen.clear();

    scene.Click(*b, Centre(*b));
    EXPECT_TRUE(b->IsSelected()) << "clicked again it stays selected";
    EXPECT_EQ(scene.notes.Trace(), (Trace{L"click:b"}));
    EXPECT_EQ(CButtonUI::StateSelected, b->GetButtonState() & CButtonUI::StateSelected);
}

TEST(Option, WithoutAGroupAnOptionToggles)
{
    ControlScene scene;
    auto* solo = scene.Add<COptionUI>({0, 0, 20, 20}, L"name=\"solo\" " + kImages);
    scene.Click(*solo, {10, 10});
    EXPECT_TRUE(solo->IsSelected());
    EXPECT_EQ(kWhite, scene.Pixel(10, 10));
    scene.Click(*solo, {10, 10});
    EXPECT_FALSE(solo->IsSelected());
    EXPECT_EQ(kGrey, scene.Pixel(10, 10));
    EXPECT_EQ(scene.notes.Trace(),
              (Trace{L"click:solo", L"selectchanged:solo", L"click:solo", L"selectchanged:solo"}));
    solo->Select(true, false);
    EXPECT_TRUE(solo->IsSelected());
    EXPECT_EQ(4u, scene.notes.seen.size()) << "without notify, nothing is sent";
}

TEST(CheckBox, AClickSendsClickThenSelectChangedAfterTheChangeAndTogglesTheImage)
{
    ControlScene scene;
    auto* box = scene.Add<CCheckBoxUI>({0, 0, 20, 20}, L"name=\"box\" " + kImages);
    bool selectedAtClick = true;
    bool selectedAtChange = false;
    box->OnNotify.Add(MakeDelegate(+[](void* param) {
        auto* msg = static_cast<NotifyMsg*>(param);
        auto* sender = static_cast<CCheckBoxUI*>(msg->sender);
        msg->lParam = sender->IsSelected() ? 1 : 0;
        return true;
    }));
    scene.Click(*box, {10, 10});
    ASSERT_EQ(scene.notes.Trace(), (Trace{L"click:box", L"selectchanged:box"}));
    selectedAtClick = scene.notes.seen[0].lParam != 0;
    selectedAtChange = scene.notes.seen[1].lParam != 0;
    EXPECT_FALSE(selectedAtClick) << "click goes out before the selection changes";
    EXPECT_TRUE(selectedAtChange);
    EXPECT_EQ(kWhite, scene.Pixel(10, 10));
    scene.Click(*box, {10, 10});
    EXPECT_EQ(kGrey, scene.Pixel(10, 10));
}

TEST(CheckBox, SelectedInASkinNotifiesAtOnceOnlyWhenAManagerIsThere)
{
    ControlScene scene;
    auto* box = scene.Add<CCheckBoxUI>({0, 0, 20, 20}, L"name=\"box\" selected=\"true\"");
    EXPECT_EQ(scene.notes.Trace(), (Trace{L"selectchanged:box"}));
    box->ApplyAttribute(L"selected", L"true");
    EXPECT_EQ(1u, scene.notes.seen.size()) << "unchanged: nothing";

    ControlPtr loose = MakeControl<CCheckBoxUI>();
    loose->ApplyAttributeList(L"name=\"loose\" selected=\"true\"");
    EXPECT_TRUE(static_cast<CCheckBoxUI*>(loose.get())->IsSelected());
    EXPECT_EQ(1u, scene.notes.seen.size()) << "no manager, no notification";
}

TEST(Option, AGroupNamedBeforeTheManagerIsJoinedWhenTheManagerComes)
{
    ControlScene scene;
    ControlPtr early = MakeControl<COptionUI>();
    early->ApplyAttributeList(L"name=\"early\" group=\"g\" selected=\"true\"");
    Testing::FloatAt(*early, {0, 0, 20, 20});
    auto* option = static_cast<COptionUI*>(early.get());
    EXPECT_TRUE(option->IsSelected());
    EXPECT_EQ(nullptr, scene.manager().OptionGroup(L"g"));

    // Adopted later, as a container adds a child built before it joined a window.
    ControlPtr root = MakeControl<CContainerUI>();
    static_cast<CContainerUI*>(root.get())->AddChild(std::move(early));
    CUIManager& manager = scene.manager();
    manager.AttachRoot(std::move(root));
    ASSERT_NE(nullptr, manager.OptionGroup(L"g"));
    EXPECT_EQ(option, manager.OptionGroup(L"g")->front());

    ControlScene other;  // a second window: the option moves over
    option->SetWindowManager(&other.manager(), nullptr, false);
    EXPECT_EQ(nullptr, manager.OptionGroup(L"g"));
    EXPECT_EQ(option, other.manager().OptionGroup(L"g")->front());
    option->SetWindowManager(&manager, nullptr, false);
}

TEST(Option, ChangingOrLeavingTheGroupKeepsTheManagersGroupsRight)
{
    ControlScene scene;
    auto* a = scene.Add<COptionUI>({0, 0, 20, 20}, L"group=\"one\"");
    auto* b = scene.Add<COptionUI>({30, 0, 50, 20}, L"group=\"one\"");
    a->SetGroup(L"two");
    EXPECT_EQ(1u, scene.manager().OptionGroup(L"one")->size());
    EXPECT_EQ(a, scene.manager().OptionGroup(L"two")->front());
    a->SetGroup(L"");
    EXPECT_EQ(nullptr, scene.manager().OptionGroup(L"two"));
    a->Select(true);
    b->Select(true);
    EXPECT_TRUE(a->IsSelected()) << "no longer in b's group";

    ControlPtr gone = MakeControl<COptionUI>();
    gone->SetWindowManager(&scene.manager(), nullptr, false);
    static_cast<COptionUI*>(gone.get())->SetGroup(L"one");
    EXPECT_EQ(2u, scene.manager().OptionGroup(L"one")->size());
    gone.reset();
    EXPECT_EQ(1u, scene.manager().OptionGroup(L"one")->size()) << "a destroyed option leaves";
    b->Select(false);
    b->Select(true);  // would reach the destroyed option if it were still listed
    EXPECT_TRUE(b->IsSelected());
}

TEST(Option, DisablingKeepsOnlyTheSelectedBit)
{
    ControlScene scene;
    auto* option = scene.Add<COptionUI>({0, 0, 20, 20});
    option->Select(true);
    scene.Send(*option, EventKind::MouseEnter, {10, 10});
    scene.Send(*option, EventKind::ButtonDown, {10, 10});
    option->SetEnabled(false);
    EXPECT_EQ(CButtonUI::StateSelected, option->GetButtonState());
    option->Select(false);
    option->SetEnabled(true);
    option->SetEnabled(false);
    EXPECT_EQ(0u, option->GetButtonState());
}

TEST(Option, SelectedDrawingPrefersTheHotImageThenTheImageThenTheColour)
{
    ControlScene scene;
    auto* option = scene.Add<COptionUI>(
        {0, 0, 20, 20}, L"normalimage=\"" + ColorImage(0xFF808080) + L"\" pushedimage=\"" +
                            ColorImage(0xFF0000FF) + L"\" selectedimage=\"" +
                            ColorImage(0xFFFFFFFF) + L"\" selectedhotimage=\"" +
                            ColorImage(0xFFFFFF00) + L"\"");
    scene.Send(*option, EventKind::MouseEnter, {10, 10});
    scene.Send(*option, EventKind::ButtonDown, {10, 10});
    EXPECT_EQ(kGrey, scene.Pixel(10, 10)) << "an option is never drawn pushed";
    scene.Send(*option, EventKind::ButtonUp, {10, 10});
    EXPECT_EQ(0xFFFF00u, scene.Pixel(10, 10)) << "selected and hot";
    scene.Send(*option, EventKind::MouseLeave, {300, 150});
    EXPECT_EQ(kWhite, scene.Pixel(10, 10)) << "selected";

    auto* colour = scene.Add<COptionUI>(
        {30, 0, 50, 20}, L"normalimage=\"" + ColorImage(0xFF808080) +
                             L"\" selectedimage=\"missing.png\" selectedbkcolor=\"#FF00FF00\" "
                             L"foreimage=\"color='#FFFF0000' dest='0,0,20,5'\"");
    colour->Select(true);
    EXPECT_EQ(0x00FF00u, scene.Pixel(40, 10)) << "the selected background colour";
    EXPECT_EQ(0xFF0000u, scene.Pixel(40, 2)) << "the option's foreground image over it";

    auto* plain =
        scene.Add<COptionUI>({60, 0, 80, 20}, L"normalimage=\"" + ColorImage(0xFF808080) + L"\"");
    plain->Select(true);
    EXPECT_EQ(kGrey, scene.Pixel(70, 10)) << "nothing selected to draw: the button's drawing";
}

TEST(Option, SelectedTextTakesTheSelectedTextColour)
{
    ControlScene scene;
    auto* option = scene.Add<COptionUI>(
        {0, 0, 100, 30}, L"text=\"WWWW\" textcolor=\"#FFFF0000\" selectedtextcolor=\"#FF00FF00\"");
    auto has = [&](uint32_t colour) {
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < 30; ++y)
                if (scene.Pixel(x, y) == colour) return true;
        return false;
    };
    EXPECT_TRUE(has(0xFF0000));
    option->Select(true);
    EXPECT_TRUE(has(0x00FF00));
    EXPECT_FALSE(has(0xFF0000));
}

}  // namespace
}  // namespace SkinUI
