// CNotifyPump: routes a window's notifications to handler functions through message maps, and
// to the pumps of virtual windows (parts of one window that handle their own controls).
//
// A message map is a table of entries, each naming a notification type, a control name (empty:
// any control) and the handler, and pointing to the map of the class it derives from. A class
// declares its map like this:
//
//   const NotifyMap* MyWindow::MessageMap() const
//   {
//       static const NotifyMapEntry entries[] = {
//           NotifyRecordEntry<MyWindow, &MyWindow::OnClick>(L"click", L"buttonInstall"),
//           NotifyParameterEntry<MyWindow, &MyWindow::OnTimer>(L"timer", L""),
//           {},
//       };
//       static const NotifyMap map = {Base::MessageMap(), entries};
//       return &map;
//   }
#pragma once

#include "ui/core/ui_events.h"

#include <map>
#include <string>

namespace SkinUI {

class CNotifyPump;

// One entry of a message map; an entry without a handler ends the table.
struct NotifyMapEntry {
    const wchar_t* type = nullptr;     // compared case-sensitively
    const wchar_t* control = nullptr;  // the sender's name, case-sensitively; "" any control
    void (*handler)(CNotifyPump& pump, NotifyMsg& msg) = nullptr;
};

struct NotifyMap {
    const NotifyMap* base;  // the map of the class derived from; null for the pump's own
    const NotifyMapEntry* entries;
};

// An entry whose handler receives the whole notification record.
template <typename Pump, void (Pump::*Handler)(NotifyMsg&)>
constexpr NotifyMapEntry NotifyRecordEntry(const wchar_t* type, const wchar_t* control)
{
    return {type, control,
            [](CNotifyPump& pump, NotifyMsg& msg) { (static_cast<Pump&>(pump).*Handler)(msg); }};
}

// An entry whose handler receives the record's two parameters.
template <typename Pump, void (Pump::*Handler)(WPARAM, LPARAM)>
constexpr NotifyMapEntry NotifyParameterEntry(const wchar_t* type, const wchar_t* control)
{
    return {type, control, [](CNotifyPump& pump, NotifyMsg& msg) {
                (static_cast<Pump&>(pump).*Handler)(msg.wParam, msg.lParam);
            }};
}

class CNotifyPump {
public:
    CNotifyPump() = default;
    virtual ~CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    // Routes records of the virtual window `name` to `pump` (not owned; it must outlive the
    // entry). False when the name is registered already.
    bool AddVirtualWindow(const std::wstring& name, CNotifyPump* pump);
    // False when the name is not registered.
    bool RemoveVirtualWindow(const std::wstring& name);

    // Offers `msg` to the pump of its virtual window (names compared ignoring case), then to
    // this pump's maps from the most derived class to the base: in each table the entry of the
    // record's type and the sender's name wins, else the last entry of that type for any
    // control. Returns whether a handler took the record.
    bool DispatchNotification(NotifyMsg& msg);

protected:
    virtual const NotifyMap* MessageMap() const;

private:
    CNotifyPump* VirtualWindowPump(const std::wstring& name) const;

    std::map<std::wstring, CNotifyPump*> m_virtualWindows;
};

}  // namespace SkinUI
