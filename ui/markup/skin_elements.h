// The element table of the skin builder: the control kinds a skin names by element.
#pragma once

#include "ui/core/control_ui.h"

#include <string>

namespace SkinUI {

// A new control of the kind `elementName` names (letter case ignored), or null when the table
// has no such kind.
ControlPtr CreateSkinElement(const std::wstring& elementName);

}  // namespace SkinUI
