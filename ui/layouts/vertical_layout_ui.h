// CVerticalLayoutUI: a container whose laid-out children stand in a column, top to bottom,
// with an optional separator ("sepheight", "sepimm") that drags its height.
#pragma once

#include "ui/layouts/line_layout_ui.h"

namespace SkinUI {

class CVerticalLayoutUI : public CLineLayoutUI {
public:
    CVerticalLayoutUI();

    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override;

protected:
    ~CVerticalLayoutUI() override = default;
};

}  // namespace SkinUI
