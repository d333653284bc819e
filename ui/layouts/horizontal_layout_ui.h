// CHorizontalLayoutUI: a container whose laid-out children stand in a row, left to right,
// with an optional separator ("sepwidth", "sepimm") that drags its width. The root of every
// installer window is one.
#pragma once

#include "ui/layouts/line_layout_ui.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CLineLayoutUI {
public:
    CHorizontalLayoutUI();

    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override;

protected:
    ~CHorizontalLayoutUI() override = default;
};

}  // namespace SkinUI
