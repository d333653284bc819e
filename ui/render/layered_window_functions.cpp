// Layered-window functions; see layered_window_functions.h.
#include "ui/render/layered_window_functions.h"

#include "ui/render/system_library.h"

namespace SkinUI {
namespace {

struct LayeredFunctions {
    UpdateLayeredWindowFunction update = nullptr;
    SetLayeredWindowAttributesFunction attributes = nullptr;
};

// Looked up once; user32 stays loaded for the process's life.
const LayeredFunctions& Functions()
{
    static const LayeredFunctions functions = [] {
        LayeredFunctions found;
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        if (!user32) user32 = LoadSystemLibrary(L"user32.dll");
        if (user32) {
            found.update = reinterpret_cast<UpdateLayeredWindowFunction>(
                reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
            found.attributes = reinterpret_cast<SetLayeredWindowAttributesFunction>(
                reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
        }
        return found;
    }();
    return functions;
}

}  // namespace

UpdateLayeredWindowFunction SystemUpdateLayeredWindow()
{
    return Functions().update;
}

SetLayeredWindowAttributesFunction SystemSetLayeredWindowAttributes()
{
    return Functions().attributes;
}

}  // namespace SkinUI
