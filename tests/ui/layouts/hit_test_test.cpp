// Hit tests through the paint manager on the install options window built by hand: the
// control under a point is the last visible sibling there (hidden ones are skipped), the
// layout answers where no child is, and "mousechild" or a container that takes no mouse
// change who answers.
#include "tests/ui/core/test_window.h"
#include "tests/ui/layouts/layout_test_support.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

using namespace Testing;

std::wstring NameAt(CUIManager& manager, POINT point)
{
    CControlUI* found = manager.ControlAtPoint(point);
    if (found == nullptr) return L"(none)";
    return found->GetName().empty() ? L"(" + found->GetClassName() + L")" : found->GetName();
}

class OptionsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        OptionsTree tree = MakeOptionsTree();
        layout = tree.layout;
        text = tree.text;
        window.manager().AttachRoot(std::move(tree.root));
        window.PaintNow();
    }
    TestWindow window{0, 0, 1124, 557};
    CContainerUI* layout = nullptr;
    CControlUI* text = nullptr;
};

TEST_F(OptionsWindow, TheControlUnderAPointIsTheLastVisibleSiblingThere)
{
    CUIManager& manager = window.manager();
    EXPECT_EQ(L"buttionClose", NameAt(manager, {1070, 25}));
    EXPECT_EQ(text, manager.ControlAtPoint({460, 130}));
    EXPECT_EQ(L"installpath", NameAt(manager, {530, 170}));
    EXPECT_EQ(L"installpathEdit", NameAt(manager, {1000, 180}));
    EXPECT_EQ(L"chkDesktopOption", NameAt(manager, {530, 250}));
    EXPECT_EQ(L"buttonInstall", NameAt(manager, {1015, 496}));
    EXPECT_EQ(L"(HorizontalLayout)", NameAt(manager, {1015, 497})) << "right and bottom excluded";
    EXPECT_EQ(L"(HorizontalLayout)", NameAt(manager, {10, 10}));
    EXPECT_EQ(L"(none)", NameAt(manager, {1124, 10}));
    // "chkTaskOptionText" (560..860) lies under the hidden "chkOption" (780..810) and
    // "chkOptionText" (820..1060): the hidden later siblings are skipped.
    EXPECT_EQ(L"chkTaskOptionText", NameAt(manager, {790, 310}));
    EXPECT_EQ(L"chkTaskOptionText", NameAt(manager, {850, 310}));
    EXPECT_EQ(L"(HorizontalLayout)", NameAt(manager, {900, 310}));

    // Shown, the later siblings win.
    manager.ControlByName(L"chkOption")->SetVisible(true);
    manager.ControlByName(L"chkOptionText")->SetVisible(true);
    window.PaintNow();
    EXPECT_EQ(L"chkOption", NameAt(manager, {790, 310}));
    EXPECT_EQ(L"chkOptionText", NameAt(manager, {850, 310}));
    EXPECT_EQ(L"chkOptionText", NameAt(manager, {900, 310}));
}

TEST_F(OptionsWindow, ChildrenThatTakeNoMouseLeaveTheHitToTheLayout)
{
    CUIManager& manager = window.manager();
    manager.ControlByName(L"buttionClose")->SetMouseEnabled(false);
    EXPECT_EQ(L"(HorizontalLayout)", NameAt(manager, {1070, 25}));

    layout->ApplyAttribute(L"mousechild", L"false");
    EXPECT_EQ(L"(HorizontalLayout)", NameAt(manager, {530, 250}));
    layout->SetMouseEnabled(false);
    EXPECT_EQ(L"(none)", NameAt(manager, {530, 250}));
    layout->ApplyAttribute(L"mousechild", L"true");
    EXPECT_EQ(L"chkDesktopOption", NameAt(manager, {530, 250}));
    EXPECT_EQ(L"(none)", NameAt(manager, {10, 10})) << "the layout itself takes no mouse";
}

// A laid-out child answers only inside the inner rectangle (here the inset cuts it off); a
// floating one wherever it is.
TEST_F(OptionsWindow, LaidOutChildrenAnswerOnlyInsideTheInset)
{
    CUIManager& manager = window.manager();
    layout->SetInset(RECT{0, 140, 0, 0});
    text->SetPadding(RECT{451, 0, 0, 0});
    window.PaintNow();
    // The text now stands at (451,140)-(541,167); above it the inset.
    EXPECT_EQ(text, manager.ControlAtPoint({460, 150}));
    text->Place(RECT{451, 120, 541, 167}, false);  // reaching over the inset
    EXPECT_EQ(L"(HorizontalLayout)", NameAt(manager, {460, 130}));
    EXPECT_EQ(L"buttionClose", NameAt(manager, {1070, 25})) << "floating over the inset";
}

}  // namespace
}  // namespace SkinUI
