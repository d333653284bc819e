// The resource elements of a skin (Image, Font, Default, MultiLanguage), handed to the paint
// manager before the controls are built.
#pragma once

#include "ui/markup/skin_markup.h"

namespace SkinUI {

class CUIManager;

// Reads every resource element among the children of `root` (element and attribute names and
// "true" compared ignoring case; a repeated attribute: the last one counts) and gives it to
// `manager`: images cached, fonts defined, default attribute lists and language strings
// stored. An element without the values it needs is ignored.
void ApplySkinResources(CUIManager& manager, CSkinMarkupNode root);

}  // namespace SkinUI
