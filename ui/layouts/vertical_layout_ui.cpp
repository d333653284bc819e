// CVerticalLayoutUI; see vertical_layout_ui.h.
#include "ui/layouts/vertical_layout_ui.h"

#include "ui/core/attribute_table.h"
#include "ui/core/attribute_values.h"

namespace SkinUI {
namespace {

const AttributeEntry<CVerticalLayoutUI> kVerticalLayoutAttributes[] = {
    {L"sepheight",
     [](CVerticalLayoutUI& c, const std::wstring& v) { c.SetSeparatorSize(ParseInt(v)); }},
    {L"sepimm",
     [](CVerticalLayoutUI& c, const std::wstring& v) { c.SetSeparatorImmediate(ParseBool(v)); }},
};

}  // namespace

CVerticalLayoutUI::CVerticalLayoutUI() : CLineLayoutUI(LayoutAxis{true}) {}

std::wstring CVerticalLayoutUI::GetClassName() const
{
    return L"VerticalLayout";
}

CControlUI* CVerticalLayoutUI::QueryInterface(const std::wstring& name)
{
    return name == L"VerticalLayout" ? this : CLineLayoutUI::QueryInterface(name);
}

void CVerticalLayoutUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kVerticalLayoutAttributes, *this, name, value))
        CLineLayoutUI::ApplyAttribute(name, value);
}

}  // namespace SkinUI
