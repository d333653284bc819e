// CCheckBoxUI; see check_box_ui.h.
#include "ui/controls/check_box_ui.h"

namespace SkinUI {

CCheckBoxUI::~CCheckBoxUI() = default;

std::wstring CCheckBoxUI::GetClassName() const
{
    return L"CheckBox";
}

CControlUI* CCheckBoxUI::QueryInterface(const std::wstring& name)
{
    return name == L"CheckBox" ? this : COptionUI::QueryInterface(name);
}

}  // namespace SkinUI
