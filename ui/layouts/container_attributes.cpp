// CContainerUI's skin attributes: inset, child padding and alignment, "mousechild" and the
// two scroll bars with their attribute lists.
#include "ui/layouts/container_ui.h"

#include "ui/core/attribute_table.h"
#include "ui/core/attribute_values.h"

namespace SkinUI {
namespace {

void ApplyVerticalBar(CContainerUI& c, const std::wstring& v)
{
    c.SetScrollBars(ParseBool(v), c.GetHorizontalBar() != nullptr);
}

void ApplyHorizontalBar(CContainerUI& c, const std::wstring& v)
{
    c.SetScrollBars(c.GetVerticalBar() != nullptr, ParseBool(v));
}

void ApplyVerticalBarStyle(CContainerUI& c, const std::wstring& v)
{
    c.SetScrollBars(true, c.GetHorizontalBar() != nullptr);
    c.GetVerticalBar()->ApplyAttributeList(v);
}

void ApplyHorizontalBarStyle(CContainerUI& c, const std::wstring& v)
{
    c.SetScrollBars(c.GetVerticalBar() != nullptr, true);
    c.GetHorizontalBar()->ApplyAttributeList(v);
}

// Other words leave the alignment as it was.
void ApplyChildAlign(CContainerUI& c, const std::wstring& v)
{
    if (v == L"left") c.SetChildAlign(ChildAlignLeft);
    if (v == L"center") c.SetChildAlign(ChildAlignCenter);
    if (v == L"right") c.SetChildAlign(ChildAlignRight);
}

void ApplyChildVAlign(CContainerUI& c, const std::wstring& v)
{
    if (v == L"top") c.SetChildVAlign(ChildVAlignTop);
    if (v == L"vcenter") c.SetChildVAlign(ChildVAlignCenter);
    if (v == L"bottom") c.SetChildVAlign(ChildVAlignBottom);
}

const AttributeEntry<CContainerUI> kContainerAttributes[] = {
    {L"inset", [](CContainerUI& c, const std::wstring& v) { c.SetInset(ParseRect(v)); }},
    {L"mousechild",
     [](CContainerUI& c, const std::wstring& v) { c.SetChildrenTakeMouse(ParseBool(v)); }},
    {L"vscrollbar", ApplyVerticalBar},
    {L"vscrollbarstyle", ApplyVerticalBarStyle},
    {L"hscrollbar", ApplyHorizontalBar},
    {L"hscrollbarstyle", ApplyHorizontalBarStyle},
    {L"childpadding",
     [](CContainerUI& c, const std::wstring& v) { c.SetChildPadding(ParseInt(v)); }},
    {L"childalign", ApplyChildAlign},
    {L"childvalign", ApplyChildVAlign},
};

}  // namespace

void CContainerUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kContainerAttributes, *this, name, value))
        CControlUI::ApplyAttribute(name, value);
}

}  // namespace SkinUI
