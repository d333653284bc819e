// A plug-in library for the skin builder's tests: its control factory makes plain controls
// for the element name "PluginThing" and knows no other.
#include "ui/core/control_ui.h"

#include <cwchar>

extern "C" __declspec(dllexport) SkinUI::CControlUI* CreateControl(const wchar_t* name)
{
    if (std::wcscmp(name, L"PluginThing") != 0) return nullptr;
    auto* control = new SkinUI::CControlUI;
    control->SetUserData(L"made by the plug-in");
    return control;
}
