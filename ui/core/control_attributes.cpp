// CControlUI's skin attributes: one table from attribute name to the setter it feeds, read
// with the shared value parsers, and the store of attributes the control does not know.
#include "ui/core/control_ui.h"

#include "ui/core/attribute_values.h"
#include "ui/core/attribute_table.h"

namespace SkinUI {
namespace {

void ApplyPos(CControlUI& control, const std::wstring& value)
{
    const RECT pos = ParseRect(value);
    control.SetFixedOffset(pos.left, pos.top);
    // A right or bottom edge before the left or top one gives a negative size, which the
    // setters ignore: a later "width" or "height" then decides.
    control.SetRequestedWidth(pos.right - pos.left);
    control.SetRequestedHeight(pos.bottom - pos.top);
}

void ApplyBorderSize(CControlUI& control, const std::wstring& value)
{
    if (value.find(L',') == std::wstring::npos) {
        control.SetBorderSize(ParseInt(value));
    } else {
        control.SetBorderSize(ParseRect(value));
    }
}

void ApplyFloat(CControlUI& control, const std::wstring& value)
{
    if (value.find(L',') == std::wstring::npos) {
        control.SetFloat(ParseBool(value));
        return;
    }
    const Fractions fractions = ParseFractions(value);
    control.SetFloatAnchors(FloatAnchors{fractions[0], fractions[1], fractions[2], fractions[3]});
    control.SetFloat(true);
}

// "bkcolor" also skips control characters and spaces before the colour.
DWORD ParseBkColor(const std::wstring& value)
{
    size_t start = 0;
    while (start < value.size() && value[start] <= L' ') ++start;
    return ParseColor(value.substr(start));
}

void ApplyBkColor(CControlUI& c, const std::wstring& v)
{
    c.SetBkColor(ParseBkColor(v));
}

const AttributeEntry<CControlUI> kControlAttributes[] = {
    {L"pos", ApplyPos},
    {L"padding", [](CControlUI& c, const std::wstring& v) { c.SetPadding(ParseRect(v)); }},
    {L"bkcolor", ApplyBkColor},
    {L"bkcolor1", ApplyBkColor},
    {L"bkcolor2", [](CControlUI& c, const std::wstring& v) { c.SetBkColor2(ParseBkColor(v)); }},
    {L"bkcolor3", [](CControlUI& c, const std::wstring& v) { c.SetBkColor3(ParseBkColor(v)); }},
    {L"bordercolor", [](CControlUI& c, const std::wstring& v) { c.SetBorderColor(ParseColor(v)); }},
    {L"focusbordercolor",
     [](CControlUI& c, const std::wstring& v) { c.SetFocusBorderColor(ParseColor(v)); }},
    {L"colorhsl", [](CControlUI& c, const std::wstring& v) { c.SetColorHSL(ParseBool(v)); }},
    {L"bordersize", ApplyBorderSize},
    {L"borderstyle", [](CControlUI& c, const std::wstring& v) { c.SetBorderStyle(ParseInt(v)); }},
    {L"borderround", [](CControlUI& c, const std::wstring& v) { c.SetBorderRound(ParseSize(v)); }},
    {L"bkimage", [](CControlUI& c, const std::wstring& v) { c.SetBkImage(v); }},
    {L"width", [](CControlUI& c, const std::wstring& v) { c.SetRequestedWidth(ParseInt(v)); }},
    {L"height", [](CControlUI& c, const std::wstring& v) { c.SetRequestedHeight(ParseInt(v)); }},
    {L"minwidth", [](CControlUI& c, const std::wstring& v) { c.SetMinWidth(ParseInt(v)); }},
    {L"minheight", [](CControlUI& c, const std::wstring& v) { c.SetMinHeight(ParseInt(v)); }},
    {L"maxwidth", [](CControlUI& c, const std::wstring& v) { c.SetMaxWidth(ParseInt(v)); }},
    {L"maxheight", [](CControlUI& c, const std::wstring& v) { c.SetMaxHeight(ParseInt(v)); }},
    {L"name", [](CControlUI& c, const std::wstring& v) { c.SetName(v); }},
    {L"text", [](CControlUI& c, const std::wstring& v) { c.SetText(v); }},
    {L"tooltip", [](CControlUI& c, const std::wstring& v) { c.SetToolTip(v); }},
    {L"userdata", [](CControlUI& c, const std::wstring& v) { c.SetUserData(v); }},
    {L"tag",
     [](CControlUI& c, const std::wstring& v) {
         c.SetTag(static_cast<std::uintptr_t>(static_cast<std::intptr_t>(ParseInt(v))));
     }},
    {L"enabled", [](CControlUI& c, const std::wstring& v) { c.SetEnabled(ParseBool(v)); }},
    {L"mouse", [](CControlUI& c, const std::wstring& v) { c.SetMouseEnabled(ParseBool(v)); }},
    {L"keyboard", [](CControlUI& c, const std::wstring& v) { c.SetKeyboardEnabled(ParseBool(v)); }},
    {L"visible", [](CControlUI& c, const std::wstring& v) { c.SetVisible(ParseBool(v)); }},
    {L"float", ApplyFloat},
    {L"shortcut",
     [](CControlUI& c, const std::wstring& v) { c.SetShortcut(v.empty() ? L'\0' : v[0]); }},
    {L"menu", [](CControlUI& c, const std::wstring& v) { c.SetUsesContextMenu(ParseBool(v)); }},
    {L"virtualwnd", [](CControlUI& c, const std::wstring& v) { c.SetVirtualWindow(v); }},
};

}  // namespace

std::wstring CControlUI::GetAttribute(const std::wstring& /*name*/) const
{
    return {};
}

void CControlUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kControlAttributes, *this, name, value)) AddCustomAttribute(name, value);
}

std::wstring CControlUI::GetAttributeList() const
{
    return {};
}

void CControlUI::ApplyAttributeList(const std::wstring& list)
{
    ForEachAttributePair(list, [this](const std::wstring& name, const std::wstring& value) {
        ApplyAttribute(name, value);
    });
}

void CControlUI::AddCustomAttribute(const std::wstring& name, const std::wstring& value)
{
    if (name.empty() || value.empty()) return;
    m_customAttributes.emplace(name, value);  // the first value of a name stays
}

const std::wstring* CControlUI::FindCustomAttribute(const std::wstring& name) const
{
    auto found = m_customAttributes.find(name);
    return found == m_customAttributes.end() ? nullptr : &found->second;
}

void CControlUI::RemoveCustomAttribute(const std::wstring& name)
{
    m_customAttributes.erase(name);
}

void CControlUI::RemoveAllCustomAttributes()
{
    m_customAttributes.clear();
}

}  // namespace SkinUI
