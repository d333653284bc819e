// Listener lists and the control's seven lists: no duplicates, insertion order, the first
// false stops a round, event listeners swallow events, paint listeners skip drawing.
#include "tests/ui/render/canvas.h"
#include "ui/core/control_ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace SkinUI {
namespace {

std::vector<std::string>& Calls()
{
    static std::vector<std::string> calls;
    return calls;
}

bool StaticA(void*)
{
    Calls().push_back("A");
    return true;
}

bool StaticStop(void*)
{
    Calls().push_back("stop");
    return false;
}

struct Listener {
    explicit Listener(std::string listenerName) : name(std::move(listenerName)) {}
    std::string name;
    bool answer = true;
    std::vector<void*> params;
    bool Handle(void* param)
    {
        Calls().push_back(name);
        params.push_back(param);
        return answer;
    }
    bool Other(void*) { return true; }
};

class ListenerListTest : public ::testing::Test {
protected:
    void SetUp() override { Calls().clear(); }
};

TEST_F(ListenerListTest, InsertionOrderWithoutDuplicatesStoppingAtTheFirstFalse)
{
    Listener one("one");
    Listener two("two");
    ListenerList list;
    EXPECT_TRUE(list.Empty());
    list.Add(MakeDelegate(&one, &Listener::Handle));
    list.Add(MakeDelegate(StaticA));
    list.Add(MakeDelegate(&two, &Listener::Handle));
    list.Add(MakeDelegate(&one, &Listener::Handle));  // duplicate: refused
    list.Add(MakeDelegate(StaticA));                  // duplicate: refused
    list.Add(MakeDelegate(&one, &Listener::Other));   // same object, other method: kept
    int param = 0;
    EXPECT_TRUE(list.Fire(&param));
    EXPECT_EQ((std::vector<std::string>{"one", "A", "two"}), Calls());
    EXPECT_EQ((std::vector<void*>{&param}), one.params);

    Calls().clear();
    two.answer = false;
    list.Add(MakeDelegate(StaticStop));
    EXPECT_FALSE(list.Fire(nullptr));
    EXPECT_EQ((std::vector<std::string>{"one", "A", "two"}), Calls()) << "stops at two";

    Calls().clear();
    list.Remove(MakeDelegate(&two, &Listener::Handle));
    list.Remove(MakeDelegate(&two, &Listener::Handle));  // not listed: nothing
    EXPECT_FALSE(list.Fire(nullptr));
    EXPECT_EQ((std::vector<std::string>{"one", "A", "stop"}), Calls());
}

// A delegate that removes itself and adds another while the list is being fired.
struct SelfRemover {
    ListenerList* list = nullptr;
    Listener* late = nullptr;
    bool Handle(void*)
    {
        Calls().push_back("remover");
        list->Remove(MakeDelegate(this, &SelfRemover::Handle));
        list->Add(MakeDelegate(late, &Listener::Handle));
        return true;
    }
};

TEST_F(ListenerListTest, ARoundRunsOverTheListAsItWasWhenFired)
{
    ListenerList list;
    Listener after("after");
    Listener late("late");
    SelfRemover remover;
    remover.list = &list;
    remover.late = &late;
    list.Add(MakeDelegate(&remover, &SelfRemover::Handle));
    list.Add(MakeDelegate(&after, &Listener::Handle));
    EXPECT_TRUE(list.Fire(nullptr));
    EXPECT_EQ((std::vector<std::string>{"remover", "after"}), Calls());
    Calls().clear();
    EXPECT_TRUE(list.Fire(nullptr));
    EXPECT_EQ((std::vector<std::string>{"after", "late"}), Calls());
}

// Records the events that reach HandleEvent.
class EventProbe : public CControlUI {
public:
    std::vector<EventKind> handled;
    void HandleEvent(ControlEvent& event) override
    {
        handled.push_back(event.kind);
        CControlUI::HandleEvent(event);
    }
};

TEST_F(ListenerListTest, EventListenersSeeEveryEventAndFalseSwallowsIt)
{
    ControlPtr owner = MakeControl<EventProbe>();
    auto* probe = static_cast<EventProbe*>(owner.get());
    Listener listener("event");
    probe->OnEvent.Add(MakeDelegate(&listener, &Listener::Handle));

    ControlEvent event;
    event.kind = EventKind::SetFocus;
    probe->DispatchEvent(event);
    EXPECT_EQ((std::vector<EventKind>{EventKind::SetFocus}), probe->handled);
    EXPECT_TRUE(probe->IsFocused());
    EXPECT_EQ((std::vector<void*>{&event}), listener.params);

    listener.answer = false;
    event.kind = EventKind::KillFocus;
    probe->DispatchEvent(event);
    EXPECT_EQ(1u, probe->handled.size()) << "swallowed";
    EXPECT_TRUE(probe->IsFocused());
}

TEST_F(ListenerListTest, InitAndDestroyListenersGetTheControl)
{
    Listener init("init");
    Listener destroyed("destroy");
    ControlPtr owner = MakeControl<CControlUI>();
    CControlUI* control = owner.get();
    control->OnInit.Add(MakeDelegate(&init, &Listener::Handle));
    control->OnDestroy.Add(MakeDelegate(&destroyed, &Listener::Handle));
    control->Initialize();
    owner.reset();
    EXPECT_EQ((std::vector<std::string>{"init", "destroy"}), Calls());
    EXPECT_EQ((std::vector<void*>{control}), init.params);
    EXPECT_EQ((std::vector<void*>{control}), destroyed.params);
}

TEST_F(ListenerListTest, PaintListenersSkipTheDrawingButNotThePaint)
{
    SkinUITest::Canvas canvas(20, 20, 0xFF000000);
    ControlPtr control = MakeControl<CControlUI>();
    control->SetBkColor(0xFFFF0000);
    control->Place(RECT{0, 0, 10, 10});
    Listener paint("paint");
    paint.answer = false;
    control->OnPaint.Add(MakeDelegate(&paint, &Listener::Handle));
    EXPECT_TRUE(control->PaintTo(canvas.dc(), canvas.rect()));
    EXPECT_EQ(0x000000u, SkinUITest::rgb(canvas.pixel(5, 5)));

    paint.answer = true;
    EXPECT_TRUE(control->PaintTo(canvas.dc(), canvas.rect()));
    EXPECT_EQ(0xFF0000u, SkinUITest::rgb(canvas.pixel(5, 5)));
    EXPECT_EQ((std::vector<std::string>{"paint", "paint"}), Calls());

    Listener after("after");
    control->OnPostPaint.Add(MakeDelegate(&after, &Listener::Handle));
    control->DrawAfter(canvas.dc(), canvas.rect());
    EXPECT_EQ((std::vector<void*>{control.get()}), after.params);
}

}  // namespace
}  // namespace SkinUI
