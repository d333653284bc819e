// Process-wide state of the paint managers, the message loop and message translation across
// windows, and plug-in libraries.
#include "ui/core/ui_manager_process.h"

#include "ui/render/system_library.h"

#include <algorithm>

namespace SkinUI {

namespace {

// Registers the common controls' window classes (the tooltip's "tooltips_class32") through the
// system's comctl32.dll, looked up rather than imported: comctl32 is not one of the system's
// known DLLs, so an import would load a "comctl32.dll" planted beside the program, before any
// of our code runs. By its bare name the manifest's version of the library is still the one
// loaded. Kept loaded for the process's life: the classes' window procedures live in it.
void RegisterCommonControlClasses()
{
    const HMODULE comctl32 = LoadSystemLibrary(L"comctl32.dll");
    if (comctl32 == nullptr) return;  // no tooltips then; everything else works
    const auto initialize = reinterpret_cast<decltype(&InitCommonControlsEx)>(
        reinterpret_cast<void*>(GetProcAddress(comctl32, "InitCommonControlsEx")));
    if (initialize == nullptr) return;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    initialize(&controls);
}

ManagerProcessState* MakeProcessState()
{
    RegisterCommonControlClasses();
    auto* state = new ManagerProcessState;
    state->dirtyPen.reset(CreatePen(PS_SOLID, 1, RGB(220, 0, 0)));
    return state;
}

bool IsAncestorOrSelf(HWND ancestor, HWND window)
{
    for (HWND w = window; w != nullptr; w = GetParent(w))
        if (w == ancestor) return true;
    return false;
}

}  // namespace

ManagerProcessState& ManagerProcess()
{
    // Leaked on purpose (see the declaration): function-local, made once, never deleted.
    static ManagerProcessState* state = MakeProcessState();
    return *state;
}

const std::vector<CUIManager*>& CUIManager::Managers()
{
    return ManagerProcess().managers;
}

void CUIManager::SetLanguageString(int number, const std::wstring& text)
{
    ManagerProcess().strings.Set(number, text);
}

bool CUIManager::LoadPlugin(const std::wstring& library)
{
    if (library.empty()) return false;
    HMODULE module = LoadLibraryW(library.c_str());  // kept loaded for the process's life
    if (module == nullptr) return false;
    auto factory = reinterpret_cast<PluginControlFactory>(
        reinterpret_cast<void*>(GetProcAddress(module, "CreateControl")));
    if (factory == nullptr) {
        FreeLibrary(module);
        return false;
    }
    auto& plugins = ManagerProcess().plugins;
    if (std::find(plugins.begin(), plugins.end(), factory) == plugins.end())
        plugins.push_back(factory);
    return true;
}

const std::vector<PluginControlFactory>& CUIManager::PluginFactories()
{
    return ManagerProcess().plugins;
}

bool CUIManager::TranslateForManagers(MSG& msg)
{
    // Over a copy, each manager checked before it is asked: a handler may open or close a
    // window, whose manager then joins or leaves the list.
    const std::vector<CUIManager*> managers = ManagerProcess().managers;
    auto live = [](CUIManager* manager) {
        const auto& now = ManagerProcess().managers;
        return std::find(now.begin(), now.end(), manager) != now.end();
    };
    const bool child = (GetWindowLongPtrW(msg.hwnd, GWL_STYLE) & WS_CHILD) != 0;
    if (child) {
        for (auto it = managers.rbegin(); it != managers.rend(); ++it) {
            if (!live(*it) || !IsAncestorOrSelf((*it)->m_window, msg.hwnd)) continue;
            bool translated = false;
            (*it)->OfferMessage(msg, translated);
            if (translated) return true;
        }
        return false;
    }
    for (CUIManager* manager : managers) {
        if (!live(manager) || manager->m_window != msg.hwnd) continue;
        bool translated = false;
        const bool handled = manager->OfferMessage(msg, translated);
        return translated || handled;
    }
    return false;
}

// The accelerator translators first (success ends the translation), then PreTranslate.
bool CUIManager::OfferMessage(MSG& msg, bool& translated)
{
    const std::vector<ITranslateAccelerator*> translators = m_translators;
    for (ITranslateAccelerator* translator : translators) {
        if (translator->TranslateAccelerator(&msg) == S_OK) {
            translated = true;
            return true;
        }
    }
    LRESULT result = 0;
    return PreTranslate(msg, result);
}

int CUIManager::RunMessageLoop()
{
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateForManagers(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace SkinUI
