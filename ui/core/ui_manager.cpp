// The paint manager's life, its tree (root, adoption, names, forgetting controls), option
// groups, the lists other parts register in, and the resources it hands to its controls.
#include "ui/core/ui_manager.h"

#include "ui/core/ui_manager_process.h"

#include <algorithm>
#include <utility>

namespace SkinUI {

namespace {

template <typename T>
bool AddUnique(std::vector<T>& list, T item)
{
    if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) return false;
    list.push_back(item);
    return true;
}

template <typename T>
bool RemoveItem(std::vector<T>& list, T item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

}  // namespace

CUIManager::CUIManager() : m_fonts(&ManagerProcess().fonts), m_images(&ManagerProcess().images) {}

CUIManager::~CUIManager()
{
    RunDeferredDeletions();
    m_queuedNotifications.clear();
    m_names.clear();
    m_root.reset();  // its controls forget themselves here while every list still exists
    DropAllTimers();
    if (m_window != nullptr && m_layered) KillTimer(m_window, LayeredRepaintTimer);
    m_toolTip.reset();
    m_offscreen.reset();
    m_background.reset();
    if (m_windowDC != nullptr) ReleaseDC(m_window, m_windowDC);
    RemoveItem(ManagerProcess().managers, this);
}

void CUIManager::WindowDestroyer::operator()(HWND window) const
{
    if (IsWindow(window)) DestroyWindow(window);
}

void CUIManager::AttachWindow(HWND window, const std::wstring& name)
{
    m_names.clear();
    m_fonts.ClearFonts();
    m_images.ClearImages();
    m_defaultAttributes.clear();
    m_customAttributes.clear();
    m_optionGroups.clear();
    DropAllTimers();
    m_name = name;
    if (window == m_window) return;
    if (m_windowDC != nullptr) ReleaseDC(m_window, m_windowDC);
    m_window = window;
    m_windowDC = window != nullptr ? GetDC(window) : nullptr;
    AddUnique(ManagerProcess().managers, this);
    if (m_layered && m_window != nullptr) ApplyLayeredStyle();
}

HWND CUIManager::PaintWindow() const
{
    return m_window;
}

const std::wstring& CUIManager::Name() const
{
    return m_name;
}

// Focus, key-down, hot, pushed and tooltip controls all refer to the tree being replaced.
void CUIManager::ClearTransientControls()
{
    FocusControl(nullptr, false);
    m_keyDown = nullptr;
    m_hot = nullptr;
    m_pushed = nullptr;
    m_lastToolTip = nullptr;
}

bool CUIManager::AttachRoot(ControlPtr root)
{
    if (!root) return false;
    ClearTransientControls();
    if (m_root) {
        RunDeferredDeletions();
        m_queuedNotifications.clear();
        m_names.clear();
        m_afterPaint.clear();
        m_childWindows.clear();
        DeferDelete(std::move(m_root));
    }
    m_root = std::move(root);
    m_firstLayout = true;
    m_updateNeeded = true;
    m_focusNeeded = true;
    AdoptControls(m_root.get());
    return true;
}

CControlUI* CUIManager::Root() const
{
    return m_root.get();
}

void CUIManager::AdoptControls(CControlUI* control, CControlUI* parent)
{
    if (control == nullptr) return;
    control->SetWindowManager(this, parent != nullptr ? parent : control->GetParent(), true);
    ListNames(control);
}

void CUIManager::ListNames(CControlUI* control)
{
    auto listName = [](CControlUI* found, void* data) -> CControlUI* {
        auto* names = static_cast<std::map<std::wstring, CControlUI*>*>(data);
        std::wstring name = found->GetName();
        if (!name.empty()) names->emplace(name, found);  // the first control of a name wins
        return nullptr;
    };
    control->SearchTree(listName, &m_names, 0);
}

void CUIManager::ForgetControl(CControlUI* control)
{
    if (control == nullptr) return;
    if (m_pushed == control && m_mouseCaptured) ReleaseMouse();
    if (m_focus == control) m_focus = nullptr;
    if (m_hot == control) m_hot = nullptr;
    if (m_pushed == control) m_pushed = nullptr;
    if (m_keyDown == control) m_keyDown = nullptr;
    if (m_lastToolTip == control) {
        HideToolTip();
        m_lastToolTip = nullptr;
    }
    StopTimers(control);
    for (auto it = m_names.begin(); it != m_names.end();)
        it = it->second == control ? m_names.erase(it) : std::next(it);
    for (auto it = m_optionGroups.begin(); it != m_optionGroups.end();) {
        RemoveItem(it->second, control);
        it = it->second.empty() ? m_optionGroups.erase(it) : std::next(it);
    }
    RemoveItem(m_afterPaint, control);
    RemoveItem(m_leaveWatchers, control);
    m_childWindows.erase(
        std::remove_if(m_childWindows.begin(), m_childWindows.end(),
                       [control](const ChildWindow& c) { return c.control == control; }),
        m_childWindows.end());
    m_queuedNotifications.erase(
        std::remove_if(m_queuedNotifications.begin(), m_queuedNotifications.end(),
                       [control](const NotifyMsg& msg) { return msg.sender == control; }),
        m_queuedNotifications.end());
}

void CUIManager::RenameControl(CControlUI* control, const std::wstring& oldName,
                               const std::wstring& newName)
{
    auto old = m_names.find(oldName);
    if (old != m_names.end() && old->second == control) m_names.erase(old);
    if (control != nullptr && !newName.empty()) m_names.emplace(newName, control);
}

CControlUI* CUIManager::ControlByName(const std::wstring& name) const
{
    auto it = m_names.find(name);
    return it != m_names.end() ? it->second : nullptr;
}

CControlUI* CUIManager::ControlAtPoint(POINT point) const
{
    if (!m_root) return nullptr;
    auto hit = [](CControlUI* found, void*) -> CControlUI* { return found; };
    return m_root->SearchTree(hit, &point, SearchVisible | SearchHitTest | SearchTopFirst);
}

bool CUIManager::Owns(const CControlUI* control) const
{
    return control != nullptr && control->GetWindowManager() == this;
}

bool CUIManager::JoinOptionGroup(const std::wstring& group, CControlUI* option)
{
    if (option == nullptr) return false;
    auto& members = m_optionGroups[group];
    if (members.empty()) members.reserve(6);
    return AddUnique(members, option);
}

void CUIManager::LeaveOptionGroup(const std::wstring& group, CControlUI* option)
{
    auto it = m_optionGroups.find(group);
    if (it == m_optionGroups.end()) return;
    RemoveItem(it->second, option);
    if (it->second.empty()) m_optionGroups.erase(it);
}

const std::vector<CControlUI*>* CUIManager::OptionGroup(const std::wstring& group) const
{
    auto it = m_optionGroups.find(group);
    return it != m_optionGroups.end() ? &it->second : nullptr;
}

bool CUIManager::AddReceiver(INotifyUI* receiver)
{
    return AddUnique(m_receivers, receiver);
}

bool CUIManager::RemoveReceiver(INotifyUI* receiver)
{
    return RemoveItem(m_receivers, receiver);
}

bool CUIManager::AddPreFilter(IMessageFilterUI* filter)
{
    return AddUnique(m_preFilters, filter);
}

bool CUIManager::RemovePreFilter(IMessageFilterUI* filter)
{
    return RemoveItem(m_preFilters, filter);
}

bool CUIManager::AddFilter(IMessageFilterUI* filter)
{
    return AddUnique(m_filters, filter);
}

bool CUIManager::RemoveFilter(IMessageFilterUI* filter)
{
    return RemoveItem(m_filters, filter);
}

bool CUIManager::AddAfterPaint(CControlUI* control)
{
    return AddUnique(m_afterPaint, control);
}

bool CUIManager::AddChildWindow(CControlUI* control, HWND window)
{
    if (control == nullptr || window == nullptr) return false;
    for (const ChildWindow& child : m_childWindows)
        if (child.window == window) return false;
    m_childWindows.push_back({control, window});
    return true;
}

bool CUIManager::RemoveChildWindow(HWND window)
{
    auto listed = std::find_if(m_childWindows.begin(), m_childWindows.end(),
                               [window](const ChildWindow& c) { return c.window == window; });
    if (listed == m_childWindows.end()) return false;
    m_childWindows.erase(listed);
    return true;
}

void CUIManager::DeferDelete(ControlPtr control)
{
    if (!control) return;
    m_deferredDeletes.push_back(std::move(control));
    if (!m_asyncPosted && m_window != nullptr)
        m_asyncPosted = PostMessageW(m_window, WM_SKIN_ASYNC_NOTIFY, 0, 0) != FALSE;
}

void CUIManager::RunDeferredDeletions()
{
    // Taken off first: a control's destruction may defer another one.
    std::vector<ControlPtr> deletions = std::move(m_deferredDeletes);
    m_deferredDeletes.clear();
    deletions.clear();
}

bool CUIManager::AddLeaveWatcher(CControlUI* control)
{
    return AddUnique(m_leaveWatchers, control);
}

bool CUIManager::RemoveLeaveWatcher(CControlUI* control)
{
    return RemoveItem(m_leaveWatchers, control);
}

bool CUIManager::AddAcceleratorTranslator(ITranslateAccelerator* translator)
{
    return AddUnique(m_translators, translator);
}

void CUIManager::SetUsesVirtualWindows(bool uses)
{
    m_usesVirtualWindows = uses;
}

FontTable& CUIManager::Fonts()
{
    return m_fonts;
}

ImageCache& CUIManager::Images()
{
    return m_images;
}

const DefaultColors& CUIManager::Colors() const
{
    return m_colors;
}

const LanguageStrings& CUIManager::Strings() const
{
    return ManagerProcess().strings;
}

POINT CUIManager::MousePosition() const
{
    return m_lastMouse;
}

void CUIManager::SetDefaultAttributes(const std::wstring& controlKind, const std::wstring& list,
                                      bool shared)
{
    (shared ? ManagerProcess().defaultAttributes : m_defaultAttributes)[controlKind] = list;
}

const std::wstring* CUIManager::DefaultAttributes(const std::wstring& controlKind) const
{
    using Lists = std::map<std::wstring, std::wstring>;
    for (const Lists* map :
         {&m_defaultAttributes, &std::as_const(ManagerProcess().defaultAttributes)}) {
        auto it = map->find(controlKind);
        if (it != map->end()) return &it->second;
    }
    return nullptr;
}

void CUIManager::ClearDefaultAttributes(bool shared)
{
    (shared ? ManagerProcess().defaultAttributes : m_defaultAttributes).clear();
}

ControlEvent CUIManager::MakeEvent(EventKind kind, CControlUI* target, WPARAM wParam,
                                   LPARAM lParam) const
{
    ControlEvent event;
    event.kind = kind;
    event.sender = target;
    event.timestamp = GetTickCount();
    event.mouse = m_lastMouse;
    event.wParam = wParam;
    event.lParam = lParam;
    auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    event.keyState = static_cast<WORD>(
        (down(VK_LBUTTON) ? KeyStateLeftButton : 0) | (down(VK_RBUTTON) ? KeyStateRightButton : 0) |
        (down(VK_SHIFT) ? KeyStateShift : 0) | (down(VK_CONTROL) ? KeyStateControl : 0) |
        (down(VK_MENU) ? KeyStateAlt : 0));
    return event;
}

void CUIManager::Dispatch(CControlUI* target, EventKind kind, WPARAM wParam, LPARAM lParam)
{
    if (target == nullptr) return;
    ControlEvent event = MakeEvent(kind, target, wParam, lParam);
    target->DispatchEvent(event);
}

}  // namespace SkinUI
