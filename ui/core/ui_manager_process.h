// The state the paint managers of one process share: the list of live managers, the shared
// fonts, images, default attribute lists and language strings, the dirty-rectangle pen and
// the plug-in factories. Internal to the paint manager's files.
#pragma once

#include "ui/core/ui_manager.h"
#include "ui/render/font_table.h"
#include "ui/render/image_cache.h"
#include "ui/render/language_strings.h"

#include <map>
#include <string>
#include <vector>

namespace SkinUI {

struct ManagerProcessState {
    std::vector<CUIManager*> managers;  // in the order their windows were attached
    FontTable fonts;
    ImageCache images;
    std::map<std::wstring, std::wstring> defaultAttributes;
    LanguageStrings strings;
    Pen dirtyPen;
    std::vector<PluginControlFactory> plugins;
};

// The one instance, made on first use (the first manager's construction). It is never
// destroyed: at exit another thread may end the process while the user interface thread
// still paints with the shared fonts and images, so no static destructor may free them.
ManagerProcessState& ManagerProcess();

}  // namespace SkinUI
