// COptionUI: groups, selection and its notifications, and the selected
// drawing.
#include "ui/controls/option_ui.h"

#include "ui/core/attribute_table.h"
#include "ui/core/attribute_values.h"
#include "ui/core/ui_manager.h"
#include "ui/render/fill_and_stroke.h"

namespace SkinUI {
namespace {

using Entry = AttributeEntry<COptionUI>;
const Entry kOptionAttributes[] = {
    {L"group", [](COptionUI& o, const std::wstring& v) { o.SetGroup(v); }},
    {L"selected", [](COptionUI& o, const std::wstring& v) { o.Select(ParseBool(v)); }},
    {L"selectedimage", [](COptionUI& o, const std::wstring& v) { o.SetSelectedImage(v); }},
    {L"selectedhotimage", [](COptionUI& o, const std::wstring& v) { o.SetSelectedHotImage(v); }},
    {L"foreimage", [](COptionUI& o, const std::wstring& v) { o.SetOptionForeImage(v); }},
    {L"selectedbkcolor",
     [](COptionUI& o, const std::wstring& v) { o.SetSelectedBkColor(ParseColor(v)); }},
    {L"selectedtextcolor",
     [](COptionUI& o, const std::wstring& v) { o.SetSelectedTextColor(ParseColor(v)); }},
};

}  // namespace

COptionUI::COptionUI() = default;

COptionUI::~COptionUI()
{
    if (GetWindowManager() != nullptr && !m_group.empty())
        GetWindowManager()->LeaveOptionGroup(m_group, this);
}

std::wstring COptionUI::GetClassName() const
{
    return L"Option";
}

CControlUI* COptionUI::QueryInterface(const std::wstring& name)
{
    return name == L"Option" ? this : CButtonUI::QueryInterface(name);
}

// A skin names the group before the option has a manager; it joins when the manager comes.
void COptionUI::SetWindowManager(CUIManager* manager, CControlUI* parent, bool init)
{
    CUIManager* old = GetWindowManager();
    if (old != nullptr && old != manager && !m_group.empty()) old->LeaveOptionGroup(m_group, this);
    CButtonUI::SetWindowManager(manager, parent, init);
    if (manager != nullptr && !m_group.empty()) manager->JoinOptionGroup(m_group, this);
}

void COptionUI::SetGroup(const std::wstring& group)
{
    if (group == m_group) return;
    CUIManager* manager = GetWindowManager();
    if (manager != nullptr && !m_group.empty()) manager->LeaveOptionGroup(m_group, this);
    m_group = group;
    if (manager != nullptr && !m_group.empty()) manager->JoinOptionGroup(m_group, this);
}

// The repaint comes before "selectchanged": its receiver may destroy the option.
void COptionUI::Select(bool selected, bool notify)
{
    if (selected == m_selected) return;
    m_selected = selected;
    SetButtonState(selected ? (GetButtonState() | StateSelected)
                            : (GetButtonState() & ~StateSelected));
    Invalidate();
    CUIManager* manager = GetWindowManager();
    if (manager == nullptr) return;
    if (!m_group.empty()) {
        if (!selected) return;
        DeselectOthers(notify);
    }
    if (notify) manager->SendNotification(this, L"selectchanged");
}

void COptionUI::DeselectOthers(bool notify)
{
    const std::vector<CControlUI*>* members = GetWindowManager()->OptionGroup(m_group);
    if (members == nullptr) return;
    // A copy: deselecting changes no group, but the list must not move under the loop.
    const std::vector<CControlUI*> others = *members;
    for (CControlUI* member : others) {
        auto* option = static_cast<COptionUI*>(member->QueryInterface(L"Option"));
        if (option != nullptr && option != this) option->Select(false, notify);
    }
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;
    Select(m_group.empty() ? !m_selected : true);
    return true;
}

void COptionUI::SetEnabled(bool enabled)
{
    CButtonUI::SetEnabled(enabled);
    if (!enabled) SetButtonState(m_selected ? StateSelected : 0);
}

void COptionUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kOptionAttributes, *this, name, value))
        CButtonUI::ApplyAttribute(name, value);
}

void COptionUI::SetSelectedImage(const std::wstring& descriptor)
{
    ReplaceImage(m_selectedImage, descriptor);
}

void COptionUI::SetSelectedHotImage(const std::wstring& descriptor)
{
    ReplaceImage(m_selectedHotImage, descriptor);
}

void COptionUI::SetOptionForeImage(const std::wstring& descriptor)
{
    ReplaceImage(m_optionFore, descriptor);
}

void COptionUI::SetSelectedBkColor(DWORD argb)
{
    m_selectedBkColor = argb;
    Invalidate();
}

void COptionUI::SetSelectedTextColor(DWORD argb)
{
    m_selectedTextColor = argb;
    Invalidate();
}

// An option is never drawn pushed.
void COptionUI::DrawStateImage(HDC dc)
{
    const UINT state = RefreshState() & ~StatePushed;
    if (m_selected) {
        DrawSelectedImage(dc, state);
    } else {
        DrawButtonStateImage(dc, state);
    }
    DrawImage(dc, m_optionFore);
}

void COptionUI::DrawSelectedImage(HDC dc, UINT state)
{
    if ((state & StateHot) && DrawImage(dc, m_selectedHotImage)) return;
    if (DrawImage(dc, m_selectedImage)) return;
    if (m_selectedBkColor != 0) {
        FillColor(dc, PaintRect(), GetAdjustedColor(m_selectedBkColor));
        return;
    }
    DrawButtonStateImage(dc, state);
}

void COptionUI::DrawCaption(HDC dc)
{
    if (!m_selected) {
        DrawButtonCaption(dc, RefreshState() & ~StatePushed);
        return;
    }
    StoreDefaultColors();
    const std::wstring text = GetText();
    if (text.empty()) return;
    const DWORD enabledColor = m_selectedTextColor != 0 ? m_selectedTextColor : GetTextColor();
    DrawTextIn(dc, TextRect(), text, IsEnabled() ? enabledColor : GetDisabledTextColor(),
               GetTextStyle());
}

}  // namespace SkinUI
