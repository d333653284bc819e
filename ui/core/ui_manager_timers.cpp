// Timers of controls on native window timers: each (control, id) pair gets a native id of
// this window, 17 for the first, then counting up modulo 255 past the ids still held.
#include "ui/core/ui_manager.h"

#include <algorithm>

namespace SkinUI {

namespace {

constexpr UINT kNativeTimerIds = 255;

}  // namespace

bool CUIManager::NativeIdHeld(UINT_PTR nativeId) const
{
    return std::any_of(m_timers.begin(), m_timers.end(), [&](const TimerEntry& t) {
        return t.window == m_window && t.nativeId == nativeId;
    });
}

// Killed entries keep their id for a re-arm, so they hold it too: setting a held id again
// would replace that timer. 0 after all 255 ids are held.
UINT_PTR CUIManager::NextNativeTimerId()
{
    for (UINT tries = 0; tries < kNativeTimerIds; ++tries) {
        m_timerCounter = (m_timerCounter + 1) % kNativeTimerIds;
        if (!NativeIdHeld(m_timerCounter)) return m_timerCounter;
    }
    return UINT_PTR(-1);
}

bool CUIManager::StartTimer(CControlUI* control, UINT id, UINT elapse)
{
    if (control == nullptr || m_window == nullptr) return false;
    for (TimerEntry& timer : m_timers) {
        if (timer.control != control || timer.id != id || timer.window != m_window) continue;
        if (!timer.killed) return false;
        if (SetTimer(m_window, timer.nativeId, elapse, nullptr) == 0) return false;
        timer.killed = false;
        return true;
    }
    const UINT counter = m_timerCounter;
    UINT_PTR nativeId = NextNativeTimerId();
    if (nativeId == UINT_PTR(-1) || SetTimer(m_window, nativeId, elapse, nullptr) == 0) {
        m_timerCounter = counter;  // a failed start changes nothing
        return false;
    }
    m_timers.push_back({control, id, m_window, nativeId, false});
    return true;
}

bool CUIManager::StopTimer(CControlUI* control, UINT id)
{
    for (TimerEntry& timer : m_timers) {
        if (timer.control != control || timer.id != id || timer.window != m_window || timer.killed)
            continue;
        if (IsWindow(m_window)) KillTimer(m_window, timer.nativeId);
        timer.killed = true;  // kept: a later StartTimer re-arms the same native id
        return true;
    }
    return false;
}

void CUIManager::StopTimers(CControlUI* control)
{
    auto mine = [&](const TimerEntry& t) { return t.control == control && t.window == m_window; };
    for (const TimerEntry& timer : m_timers)
        if (mine(timer) && !timer.killed && IsWindow(m_window)) KillTimer(m_window, timer.nativeId);
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(), mine), m_timers.end());
}

void CUIManager::DropAllTimers()
{
    for (const TimerEntry& timer : m_timers)
        if (!timer.killed && IsWindow(timer.window)) KillTimer(timer.window, timer.nativeId);
    m_timers.clear();
}

void CUIManager::OnTimer(UINT_PTR nativeId)
{
    auto timer = std::find_if(m_timers.begin(), m_timers.end(), [&](const TimerEntry& t) {
        return t.window == m_window && t.nativeId == nativeId && !t.killed;
    });
    if (timer == m_timers.end()) return;
    // Copied out: the handler may start or stop timers, which moves the entries.
    CControlUI* control = timer->control;
    const UINT id = timer->id;
    Dispatch(control, EventKind::Timer, id);
}

}  // namespace SkinUI
