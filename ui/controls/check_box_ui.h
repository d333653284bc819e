// CCheckBoxUI: an option under its own class name ("CheckBox"), ticked and cleared by clicks
// when it has no group.
#pragma once

#include "ui/controls/option_ui.h"

namespace SkinUI {

class CCheckBoxUI : public COptionUI {
public:
    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;

protected:
    ~CCheckBoxUI() override;
};

}  // namespace SkinUI
