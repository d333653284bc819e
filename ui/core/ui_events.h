// The records that carry input and notifications through the framework: EventKind and
// ControlEvent (the paint manager to one control), NotifyMsg (a control to the window's
// receivers), and the interfaces a window implements to receive them or to see messages first.
// Controls never see native message parameters: the paint manager cracks each message once
// and fills these records with plain values.
#pragma once

#include <windows.h>

#include <string>

namespace SkinUI {

class CControlUI;

// Event kinds in their numbered order; the range markers are never sent.
enum class EventKind : int {
    First = 1,
    KeyFirst = 2,
    KeyDown = 3,
    KeyUp = 4,
    Char = 5,
    SystemKey = 6,
    KeyLast = 7,
    MouseFirst = 8,
    MouseMove = 9,
    MouseLeave = 10,
    MouseEnter = 11,
    MouseHover = 12,
    ButtonDown = 13,
    ButtonUp = 14,
    RightButtonDown = 15,
    DoubleClick = 16,
    ContextMenu = 17,
    ScrollWheel = 18,
    MouseLast = 19,
    KillFocus = 20,
    SetFocus = 21,
    WindowSize = 22,
    SetCursor = 23,
    Timer = 24,
    Notify = 25,
    Command = 26,
};

// Whether `kind` is a mouse event (controls that ignore the mouse pass these on).
inline bool IsMouseEvent(EventKind kind)
{
    return kind > EventKind::MouseFirst && kind < EventKind::MouseLast;
}

// Key state bits of a ControlEvent, read from the keyboard when the event is made.
constexpr WORD KeyStateLeftButton = 0x01;
constexpr WORD KeyStateRightButton = 0x02;
constexpr WORD KeyStateShift = 0x04;
constexpr WORD KeyStateControl = 0x08;
constexpr WORD KeyStateAlt = 0x20;

// One event for one control. The parameters carry plain values: the timer id for a timer,
// 1 (towards the user) or 0 for the wheel, the other control for focus changes.
struct ControlEvent {
    EventKind kind = EventKind::First;
    CControlUI* sender = nullptr;  // the control that receives the event
    DWORD timestamp = 0;           // milliseconds since the system started
    POINT mouse = {0, 0};          // client coordinates
    wchar_t key = 0;
    WORD keyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// A notification from a control, such as "click", delivered to the sender's notify listeners
// and then to the window's receivers.
struct NotifyMsg {
    std::wstring type;
    std::wstring virtualWindow;
    CControlUI* sender = nullptr;
    DWORD timestamp = 0;
    POINT mouse = {0, 0};  // the manager's last mouse position
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// A window's handler of notifications.
class INotifyUI {
public:
    virtual void OnNotify(NotifyMsg& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Sees window messages before the paint manager handles them. Setting `handled` ends the
// handling with the returned result.
class IMessageFilterUI {
public:
    virtual LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

// Translates keyboard accelerators of a window before the message is dispatched; S_OK means
// the message was translated (and is not dispatched).
class ITranslateAccelerator {
public:
    virtual LRESULT TranslateAccelerator(MSG* msg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

}  // namespace SkinUI
