// The element table; see skin_elements.h. Kinds no skin of the installer uses (lists, combo
// boxes, trees, rich text, sliders, date pickers, tile, tab and child layouts, hosted browsers
// and animations) are not in it: such elements make no control and are skipped.
#include "ui/markup/skin_elements.h"

#include "ui/controls/button_ui.h"
#include "ui/controls/check_box_ui.h"
#include "ui/controls/edit_ui.h"
#include "ui/controls/label_ui.h"
#include "ui/controls/option_ui.h"
#include "ui/controls/progress_ui.h"
#include "ui/controls/text_ui.h"
#include "ui/layouts/container_ui.h"
#include "ui/layouts/horizontal_layout_ui.h"
#include "ui/layouts/scroll_bar_ui.h"
#include "ui/layouts/vertical_layout_ui.h"

#include <cwchar>

namespace SkinUI {
namespace {

struct ElementKind {
    const wchar_t* name;
    ControlPtr (*make)();
};

template <typename Control>
ControlPtr Make()
{
    return MakeControl<Control>();
}

ControlPtr MakeScrollBar()
{
    return MakeControl<CScrollBarUI>(false);  // vertical until its attributes say else
}

const ElementKind kElementKinds[] = {
    {L"Control", &Make<CControlUI>},
    {L"Container", &Make<CContainerUI>},
    {L"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {L"HBox", &Make<CHorizontalLayoutUI>},
    {L"VerticalLayout", &Make<CVerticalLayoutUI>},
    {L"VBox", &Make<CVerticalLayoutUI>},
    {L"ScrollBar", &MakeScrollBar},
    {L"Label", &Make<CLabelUI>},
    {L"Text", &Make<CTextUI>},
    {L"Button", &Make<CButtonUI>},
    {L"Option", &Make<COptionUI>},
    {L"CheckBox", &Make<CCheckBoxUI>},
    {L"Progress", &Make<CProgressUI>},
    {L"Edit", &Make<CEditUI>},
};

}  // namespace

ControlPtr CreateSkinElement(const std::wstring& elementName)
{
    for (const ElementKind& kind : kElementKinds) {
        if (_wcsicmp(kind.name, elementName.c_str()) == 0) return kind.make();
    }
    return nullptr;
}

}  // namespace SkinUI
