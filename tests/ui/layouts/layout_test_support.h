// Helpers of the layout tests: rectangles compared and shown, plain children made to float or
// stand with a fixed size, and the install options window's tree built by hand from plain
// controls (its root layout and eighteen children at their skin places).
#pragma once

#include "ui/core/control_ui.h"
#include "ui/layouts/container_ui.h"

#include <windows.h>

#include <string>
#include <vector>

namespace SkinUI::Testing {

inline bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

std::string Show(const RECT& r);

// A plain control: `width` and `height` fixed (0: not fixed).
CControlUI& AddPlain(CContainerUI& parent, int width = 0, int height = 0);
// A plain control floating at `rect` relative to the parent.
CControlUI& AddFloating(CContainerUI& parent, const RECT& rect);

// The install options window's root layout (1124 x 557 with its eighteen children, plain
// controls named and placed as the skin says, "chkOption" and "chkOptionText" hidden).
struct OptionsTree {
    ControlPtr root;
    CContainerUI* layout = nullptr;
    CControlUI* text = nullptr;  // the one child the layout places itself
};
OptionsTree MakeOptionsTree();

}  // namespace SkinUI::Testing

namespace SkinUI::Testing {

// Writes "init NAME" and "destroy NAME" for the controls it watches, in order.
class LifeLog {
public:
    void Watch(CControlUI& control);
    std::vector<std::wstring> events;

private:
    bool OnInit(void* control);
    bool OnDestroy(void* control);
};

}  // namespace SkinUI::Testing
