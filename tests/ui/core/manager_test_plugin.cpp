// A plug-in library for the paint manager's tests: it exports the control factory the skin
// builder would ask for element names it does not know, and knows none.
namespace SkinUI {
class CControlUI;
}

extern "C" __declspec(dllexport) SkinUI::CControlUI* CreateControl(const wchar_t* /*name*/)
{
    return nullptr;
}
