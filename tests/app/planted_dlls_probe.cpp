// Test program for DLLs planted beside a program of the skin framework. Run from a folder that
// also holds a "gdiplus.dll" and a "comctl32.dll" of an attacker (stand-ins exporting nothing of
// the real ones), it has to start at all, draw a label's text effects through GDI+ and create a
// tooltip window, with the system's libraries, and leave the planted ones unloaded.
// Prints each fault and exits with 1, or exits with 0.
#include "tests/ui/render/canvas.h"
#include "ui/controls/label_ui.h"
#include "ui/core/ui_manager.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>

namespace {

using SkinUI::CLabelUI;
using SkinUITest::Canvas;
using SkinUITest::channel;

int g_faults = 0;

void Check(bool ok, const char* what)
{
    if (ok) return;
    std::printf("fault: %s\n", what);
    ++g_faults;
}

std::wstring ModulePath(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, length < MAX_PATH ? length : 0);
}

std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// `name` is loaded, and not the planted copy beside this program.
void CheckLoadedFromTheSystem(const wchar_t* name, const char* what)
{
    const HMODULE module = GetModuleHandleW(name);
    Check(module != nullptr, what);
    if (module == nullptr) return;
    std::printf("%ls: %ls\n", name, ModulePath(module).c_str());
    Check(GetProcAddress(module, "plantedProbe") == nullptr, "the planted DLL was loaded");
    Check(FolderOf(ModulePath(module)) != FolderOf(ModulePath(nullptr)),
          "a DLL of the program's folder was loaded");
}

// Whether a label with text effects draws its green outline (only GDI+ draws one).
bool EffectOutlineDrawn(SkinUI::CUIManager& manager)
{
    SkinUI::ControlPtr label = SkinUI::MakeControl<CLabelUI>();
    label->SetWindowManager(&manager, nullptr, false);
    label->Place(RECT{0, 0, 200, 40});
    label->ApplyAttributeList(L"text=\"Effect\" textcolor=\"#FFFF0000\" enabledeffect=\"true\" "
                              L"enabledstroke=\"true\" strokecolor=\"#FF00FF00\"");
    Canvas canvas(200, 40);
    label->PaintTo(canvas.dc(), canvas.rect());
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            const uint32_t p = canvas.pixel(x, y);
            if (channel(p, 8) > 0x80 && channel(p, 16) < 0x80) return true;
        }
    return false;
}

bool TooltipCreated()
{
    using Window = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)>;
    const Window tooltip(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0,
                                         0, 0, 0, nullptr, nullptr, nullptr, nullptr),
                         &DestroyWindow);
    return tooltip != nullptr;
}

}  // namespace

int main()
{
    SkinUI::CUIManager manager;  // the first manager registers the common controls' classes
    Check(TooltipCreated(), "no tooltip window of class tooltips_class32");
    Check(EffectOutlineDrawn(manager), "the text effects were not drawn through GDI+");
    CheckLoadedFromTheSystem(L"comctl32.dll", "comctl32.dll is not loaded");
    CheckLoadedFromTheSystem(L"gdiplus.dll", "gdiplus.dll is not loaded");
    std::printf("%d faults\n", g_faults);
    return g_faults == 0 ? 0 : 1;
}
