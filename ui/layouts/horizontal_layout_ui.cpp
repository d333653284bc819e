// CHorizontalLayoutUI; see horizontal_layout_ui.h.
#include "ui/layouts/horizontal_layout_ui.h"

#include "ui/core/attribute_table.h"
#include "ui/core/attribute_values.h"

namespace SkinUI {
namespace {

const AttributeEntry<CHorizontalLayoutUI> kHorizontalLayoutAttributes[] = {
    {L"sepwidth",
     [](CHorizontalLayoutUI& c, const std::wstring& v) { c.SetSeparatorSize(ParseInt(v)); }},
    {L"sepimm",
     [](CHorizontalLayoutUI& c, const std::wstring& v) { c.SetSeparatorImmediate(ParseBool(v)); }},
};

}  // namespace

CHorizontalLayoutUI::CHorizontalLayoutUI() : CLineLayoutUI(LayoutAxis{false}) {}

std::wstring CHorizontalLayoutUI::GetClassName() const
{
    return L"HorizontalLayout";
}

CControlUI* CHorizontalLayoutUI::QueryInterface(const std::wstring& name)
{
    return name == L"HorizontalLayout" ? this : CLineLayoutUI::QueryInterface(name);
}

void CHorizontalLayoutUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kHorizontalLayoutAttributes, *this, name, value))
        CLineLayoutUI::ApplyAttribute(name, value);
}

}  // namespace SkinUI
