// CNotifyPump; see notify_pump.h.
#include "ui/window/notify_pump.h"

#include "ui/core/control_ui.h"

#include <cwchar>

namespace SkinUI {
namespace {

// The entry of `type` for `sender`, else the last one of `type` for any control, else null.
const NotifyMapEntry* FindEntry(const NotifyMapEntry* entries, const std::wstring& type,
                                const std::wstring& sender)
{
    const NotifyMapEntry* anyControl = nullptr;
    for (const NotifyMapEntry* entry = entries; entry->handler; ++entry) {
        if (type != entry->type) continue;
        if (entry->control[0] == L'\0')
            anyControl = entry;
        else if (sender == entry->control)
            return entry;
    }
    return anyControl;
}

}  // namespace

bool CNotifyPump::AddVirtualWindow(const std::wstring& name, CNotifyPump* pump)
{
    return m_virtualWindows.emplace(name, pump).second;
}

bool CNotifyPump::RemoveVirtualWindow(const std::wstring& name)
{
    return m_virtualWindows.erase(name) > 0;
}

bool CNotifyPump::DispatchNotification(NotifyMsg& msg)
{
    if (!msg.virtualWindow.empty()) {
        CNotifyPump* pump = VirtualWindowPump(msg.virtualWindow);
        if (pump && pump != this && pump->DispatchNotification(msg)) return true;
    }
    const std::wstring sender = msg.sender ? msg.sender->GetName() : std::wstring();
    for (const NotifyMap* map = MessageMap(); map; map = map->base) {
        if (const NotifyMapEntry* entry = FindEntry(map->entries, msg.type, sender)) {
            entry->handler(*this, msg);
            return true;
        }
    }
    return false;
}

const NotifyMap* CNotifyPump::MessageMap() const
{
    static const NotifyMapEntry entries[] = {{}};
    static const NotifyMap map = {nullptr, entries};
    return &map;
}

CNotifyPump* CNotifyPump::VirtualWindowPump(const std::wstring& name) const
{
    for (const auto& [registered, pump] : m_virtualWindows) {
        if (_wcsicmp(registered.c_str(), name.c_str()) == 0) return pump;
    }
    return nullptr;
}

}  // namespace SkinUI
