// ListenerList: an ordered list of delegates without duplicates; see listener_list.h.
#include "ui/core/listener_list.h"

#include <algorithm>

namespace SkinUI {
namespace {

auto FindEqual(const std::vector<std::shared_ptr<const CDelegateBase>>& delegates,
               const CDelegateBase& delegate)
{
    return std::find_if(delegates.begin(), delegates.end(),
                        [&](const auto& listed) { return listed->Equals(delegate); });
}

}  // namespace

void ListenerList::Add(const CDelegateBase& delegate)
{
    if (FindEqual(m_delegates, delegate) != m_delegates.end()) return;
    m_delegates.push_back(delegate.Clone());
}

void ListenerList::Remove(const CDelegateBase& delegate)
{
    auto listed = FindEqual(m_delegates, delegate);
    if (listed != m_delegates.end()) m_delegates.erase(listed);
}

bool ListenerList::Fire(void* param) const
{
    // A copy: a delegate may add or remove delegates (or end the owner's list) while it runs;
    // the shared pointers keep every delegate of this round alive until the round ends.
    const auto round = m_delegates;
    for (const auto& delegate : round) {
        if (!(*delegate)(param)) return false;
    }
    return true;
}

}  // namespace SkinUI
