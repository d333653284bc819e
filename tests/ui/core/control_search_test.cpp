// SearchTree's flags through a small tree: visible, enabled, hit test with mouse-enabled,
// update test, me-first and top-first; and the base's event handling.
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/core/control_ui.h"
#include "ui/core/ui_manager.h"

#include <gtest/gtest.h>

#include <vector>

namespace SkinUI {
namespace {

std::vector<CControlUI*>& Asked()
{
    static std::vector<CControlUI*> asked;
    return asked;
}

// Notes every control the predicate is asked about, in order; it never stops the search.
CControlUI* Collect(CControlUI* control, void*)
{
    Asked().push_back(control);
    return nullptr;
}

// The first control asked.
CControlUI* Anything(CControlUI* control, void*)
{
    return control;
}

// A container at (0,0)-(100,100) with three children placed over it.
class SearchTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root.Place(RECT{0, 0, 100, 100});
        a.Place(RECT{0, 0, 50, 50});
        b.Place(RECT{25, 25, 75, 75});
        c.Place(RECT{50, 50, 100, 100});
    }
    std::vector<CControlUI*> Asked(UINT flags, POINT point = {0, 0})
    {
        SkinUI::Asked().clear();
        root.SearchTree(Collect, &point, flags);
        return SkinUI::Asked();
    }

    ControlPtr owner = MakeControl<CHorizontalLayoutUI>();
    CHorizontalLayoutUI& root = static_cast<CHorizontalLayoutUI&>(*owner);
    CControlUI& a = *root.AddChild(MakeControl<CControlUI>());
    CControlUI& b = *root.AddChild(MakeControl<CControlUI>());
    CControlUI& c = *root.AddChild(MakeControl<CControlUI>());
};

TEST_F(SearchTreeTest, OrderFollowsMeFirstAndTopFirst)
{
    using List = std::vector<CControlUI*>;
    EXPECT_EQ((List{&a, &b, &c, &root}), Asked(0));
    EXPECT_EQ((List{&root, &a, &b, &c}), Asked(SearchMeFirst));
    EXPECT_EQ((List{&c, &b, &a, &root}), Asked(SearchTopFirst));
    EXPECT_EQ(&root, root.SearchTree(Anything, nullptr, SearchMeFirst));
    EXPECT_EQ(&c, root.SearchTree(Anything, nullptr, SearchTopFirst));
}

TEST_F(SearchTreeTest, VisibleAndEnabledFlagsSkipControls)
{
    using List = std::vector<CControlUI*>;
    b.SetVisible(false);
    c.SetEnabled(false);
    EXPECT_EQ((List{&a, &c, &root}), Asked(SearchVisible));
    EXPECT_EQ((List{&a, &b, &root}), Asked(SearchEnabled));
    EXPECT_EQ((List{&a, &root}), Asked(SearchVisible | SearchEnabled));
    root.SetVisible(false);
    EXPECT_EQ((List{}), Asked(SearchVisible));
}

TEST_F(SearchTreeTest, HitTestFindsTheTopControlThatTakesTheMouse)
{
    using List = std::vector<CControlUI*>;
    const UINT hit = SearchVisible | SearchHitTest | SearchTopFirst;
    EXPECT_EQ((List{&c, &b, &root}), Asked(hit, POINT{60, 60}));
    EXPECT_EQ((List{&root}), Asked(hit, POINT{90, 10}));
    EXPECT_EQ((List{}), Asked(hit, POINT{100, 10})) << "the right edge is outside";

    POINT point = {60, 60};
    EXPECT_EQ(&c, root.SearchTree(Anything, &point, hit));
    c.SetMouseEnabled(false);
    EXPECT_EQ(&b, root.SearchTree(Anything, &point, hit)) << "c no longer answers";
    EXPECT_EQ((List{&b, &root}), Asked(hit, POINT{60, 60}));

    // A control that takes no mouse still lets its overlay answer.
    ControlPtr overlayOwner = MakeControl<CControlUI>();
    CControlUI& overlay = *overlayOwner;
    c.SetOverlay(std::move(overlayOwner));
    overlay.Place(RECT{50, 50, 100, 100});
    EXPECT_EQ(&overlay, root.SearchTree(Anything, &point, hit));
}

TEST_F(SearchTreeTest, UpdateTestSkipsControlsThePredicateAlreadyAccepts)
{
    using List = std::vector<CControlUI*>;
    // With the update test a control is searched only when the predicate gives null for it.
    EXPECT_EQ(nullptr, a.SearchTree(Anything, nullptr, SearchUpdateTest));
    EXPECT_EQ((List{&root, &a, &a, &b, &b, &c, &c, &root}), Asked(SearchUpdateTest))
        << "asked once for the test, once for the answer";
}

TEST(ControlEvents, TheBaseHandlesFocusTimerAndMenuAndPassesTheRestUp)
{
    struct Parent : CHorizontalLayoutUI {
        std::vector<EventKind> seen;
        void HandleEvent(ControlEvent& event) override { seen.push_back(event.kind); }
    };
    struct Receiver : INotifyUI {
        std::vector<std::wstring> seen;
        std::vector<WPARAM> params;
        void OnNotify(NotifyMsg& msg) override
        {
            seen.push_back(msg.type);
            params.push_back(msg.wParam);
        }
    } receiver;
    CUIManager manager;
    manager.AddReceiver(&receiver);
    ControlPtr rootOwner = MakeControl<Parent>();
    auto& parent = static_cast<Parent&>(*rootOwner);
    CControlUI& child = *parent.AddChild(MakeControl<CControlUI>());
    manager.AttachRoot(std::move(rootOwner));

    ControlEvent event;
    event.kind = EventKind::Timer;
    event.wParam = 7;
    child.DispatchEvent(event);
    event.kind = EventKind::ContextMenu;
    event.wParam = 9;
    child.DispatchEvent(event);  // no "menu": goes up
    child.ApplyAttribute(L"menu", L"true");
    child.DispatchEvent(event);
    event.kind = EventKind::ButtonDown;
    child.DispatchEvent(event);
    EXPECT_EQ((std::vector<std::wstring>{L"timer", L"menu"}), receiver.seen);
    EXPECT_EQ((std::vector<WPARAM>{7, 9}), receiver.params);
    EXPECT_EQ((std::vector<EventKind>{EventKind::ContextMenu, EventKind::ButtonDown}), parent.seen);
}

}  // namespace
}  // namespace SkinUI
