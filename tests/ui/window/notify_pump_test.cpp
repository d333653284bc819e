// The notification pump: message maps searched from the most derived class to the base, the
// named control before any control, the last any-control entry, both handler kinds, and
// records of virtual windows offered to their own pumps first.
#include "ui/core/control_ui.h"
#include "ui/window/notify_pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace SkinUI;

namespace {

class BasePump : public CNotifyPump {
public:
    std::vector<std::wstring> calls;
    void OnAnyClick(NotifyMsg&) { calls.push_back(L"base any click"); }
    void OnTimer(NotifyMsg&) { calls.push_back(L"base timer"); }

protected:
    const NotifyMap* MessageMap() const override
    {
        static const NotifyMapEntry entries[] = {
            NotifyRecordEntry<BasePump, &BasePump::OnAnyClick>(L"click", L""),
            NotifyRecordEntry<BasePump, &BasePump::OnTimer>(L"timer", L""),
            {},
        };
        static const NotifyMap map = {CNotifyPump::MessageMap(), entries};
        return &map;
    }
};

class DerivedPump : public BasePump {
public:
    WPARAM seenW = 0;
    LPARAM seenL = 0;
    void OnOkClick(NotifyMsg&) { calls.push_back(L"ok click"); }
    void OnFirstAny(NotifyMsg&) { calls.push_back(L"first any click"); }
    void OnLastAny(NotifyMsg&) { calls.push_back(L"last any click"); }
    void OnValue(WPARAM w, LPARAM l)
    {
        seenW = w;
        seenL = l;
        calls.push_back(L"value");
    }

protected:
    const NotifyMap* MessageMap() const override
    {
        static const NotifyMapEntry entries[] = {
            NotifyRecordEntry<DerivedPump, &DerivedPump::OnFirstAny>(L"click", L""),
            NotifyRecordEntry<DerivedPump, &DerivedPump::OnOkClick>(L"click", L"ok"),
            NotifyRecordEntry<DerivedPump, &DerivedPump::OnLastAny>(L"click", L""),
            NotifyParameterEntry<DerivedPump, &DerivedPump::OnValue>(L"valuechanged", L"slider"),
            {},
        };
        static const NotifyMap map = {BasePump::MessageMap(), entries};
        return &map;
    }
};

ControlPtr Named(const wchar_t* name)
{
    ControlPtr control = MakeControl<CControlUI>();
    control->SetName(name);
    return control;
}

NotifyMsg Record(const wchar_t* type, CControlUI* sender, const wchar_t* virtualWindow = L"")
{
    NotifyMsg msg;
    msg.type = type;
    msg.sender = sender;
    msg.virtualWindow = virtualWindow;
    return msg;
}

}  // namespace

TEST(NotifyPump, MapsAreSearchedFromTheMostDerivedClassNamedControlFirst)
{
    DerivedPump pump;
    ControlPtr ok = Named(L"ok");
    ControlPtr other = Named(L"other");
    ControlPtr slider = Named(L"slider");

    NotifyMsg msg = Record(L"click", ok.get());
    EXPECT_TRUE(pump.DispatchNotification(msg));
    msg = Record(L"click", other.get());
    EXPECT_TRUE(pump.DispatchNotification(msg));
    msg = Record(L"timer", ok.get());
    EXPECT_TRUE(pump.DispatchNotification(msg)) << "the base map is reached";
    msg = Record(L"valuechanged", slider.get());
    msg.wParam = 17;
    msg.lParam = -4;
    EXPECT_TRUE(pump.DispatchNotification(msg));
    msg = Record(L"valuechanged", other.get());
    EXPECT_FALSE(pump.DispatchNotification(msg)) << "a named entry takes only its control";
    msg = Record(L"Click", ok.get());
    EXPECT_FALSE(pump.DispatchNotification(msg)) << "types compare case-sensitively";
    msg = Record(L"click", nullptr);
    EXPECT_TRUE(pump.DispatchNotification(msg)) << "no sender matches any control";

    const std::vector<std::wstring> expected = {L"ok click", L"last any click", L"base timer",
                                                L"value", L"last any click"};
    EXPECT_EQ(pump.calls, expected);
    EXPECT_EQ(pump.seenW, 17u);
    EXPECT_EQ(pump.seenL, -4);

    BasePump base;
    msg = Record(L"click", ok.get());
    EXPECT_TRUE(base.DispatchNotification(msg));
    EXPECT_EQ(base.calls, std::vector<std::wstring>{L"base any click"});
    CNotifyPump empty;
    EXPECT_FALSE(empty.DispatchNotification(msg));
}

TEST(NotifyPump, VirtualWindowsGetTheirRecordsFirstNamesIgnoringCase)
{
    DerivedPump window;
    BasePump panel;
    DerivedPump unused;
    ASSERT_TRUE(window.AddVirtualWindow(L"Panel", &panel));
    EXPECT_FALSE(window.AddVirtualWindow(L"Panel", &unused)) << "a name is registered once";
    ControlPtr ok = Named(L"ok");

    NotifyMsg msg = Record(L"click", ok.get(), L"panel");
    EXPECT_TRUE(window.DispatchNotification(msg));
    EXPECT_EQ(panel.calls, std::vector<std::wstring>{L"base any click"});
    EXPECT_TRUE(window.calls.empty()) << "the virtual window's pump handled it";

    msg = Record(L"valuechanged", ok.get(), L"PANEL");
    EXPECT_FALSE(window.DispatchNotification(msg)) << "neither pump handles it";
    msg = Record(L"click", ok.get(), L"elsewhere");
    EXPECT_TRUE(window.DispatchNotification(msg));
    EXPECT_EQ(window.calls, std::vector<std::wstring>{L"ok click"});

    EXPECT_TRUE(window.RemoveVirtualWindow(L"Panel"));
    EXPECT_FALSE(window.RemoveVirtualWindow(L"Panel"));
    msg = Record(L"click", ok.get(), L"Panel");
    EXPECT_TRUE(window.DispatchNotification(msg));
    EXPECT_EQ(panel.calls.size(), 1u) << "removed: the records stay with the window";
    EXPECT_TRUE(window.AddVirtualWindow(L"self", &window));
    msg = Record(L"timer", ok.get(), L"self");
    EXPECT_TRUE(window.DispatchNotification(msg)) << "a pump named as its own virtual window";
}
