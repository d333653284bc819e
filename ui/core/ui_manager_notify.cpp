// Notifications from controls to the window's receivers: delivered at once, or queued and
// delivered when the private message 0x8001 arrives.
#include "ui/core/ui_manager.h"

#include <algorithm>

namespace SkinUI {

void CUIManager::SendNotification(CControlUI* control, const std::wstring& type, WPARAM wParam,
                                  LPARAM lParam, bool async, bool allowRepeat)
{
    NotifyMsg msg;
    msg.type = type;
    msg.sender = control;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotification(msg, async, allowRepeat);
}

void CUIManager::SendNotification(NotifyMsg& msg, bool async, bool allowRepeat)
{
    msg.mouse = m_lastMouse;
    msg.timestamp = GetTickCount();
    if (m_usesVirtualWindows && msg.sender != nullptr)
        msg.virtualWindow = msg.sender->GetVirtualWindow();
    if (!async) {
        Deliver(msg);
        return;
    }
    if (!allowRepeat) {
        auto same = std::find_if(m_queuedNotifications.begin(), m_queuedNotifications.end(),
                                 [&msg](const NotifyMsg& queued) {
                                     return queued.sender == msg.sender && queued.type == msg.type;
                                 });
        if (same != m_queuedNotifications.end()) {
            *same = msg;  // the newest values win; one delivery
            return;
        }
    }
    m_queuedNotifications.push_back(msg);
    // The flag follows the post: after a failed post the next notification tries again.
    if (!m_asyncPosted && m_window != nullptr)
        m_asyncPosted = PostMessageW(m_window, WM_SKIN_ASYNC_NOTIFY, 0, 0) != FALSE;
}

// The sender's own listeners first, then the window's receivers, each list over a copy: a
// handler may open a dialog whose nested message loop changes any of them.
void CUIManager::Deliver(NotifyMsg& msg)
{
    if (msg.sender != nullptr && !msg.sender->OnNotify.Empty()) msg.sender->OnNotify.Fire(&msg);
    const std::vector<INotifyUI*> receivers = m_receivers;
    for (INotifyUI* receiver : receivers) {
        // A receiver removed by an earlier one is not called.
        if (std::find(m_receivers.begin(), m_receivers.end(), receiver) != m_receivers.end())
            receiver->OnNotify(msg);
    }
}

void CUIManager::DrainQueuedNotifications()
{
    m_asyncPosted = false;
    // Each record leaves the queue before it is delivered: a nested message loop run by its
    // handler drains the rest, and ForgetControl drops records of destroyed senders.
    while (!m_queuedNotifications.empty()) {
        NotifyMsg msg = std::move(m_queuedNotifications.front());
        m_queuedNotifications.pop_front();
        Deliver(msg);
    }
    RunDeferredDeletions();
}

}  // namespace SkinUI
