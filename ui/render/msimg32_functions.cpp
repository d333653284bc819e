// Run-time look-up of the msimg32 functions; see msimg32_functions.h.
#include "ui/render/msimg32_functions.h"

#include "ui/render/system_library.h"

namespace SkinUI {
namespace {

struct Msimg32 {
    AlphaBlendFunction alphaBlend = nullptr;
    GradientFillFunction gradientFill = nullptr;

    Msimg32()
    {
        // Kept loaded for the life of the process: the pointers are used until exit.
        HMODULE module = LoadSystemLibrary(L"msimg32.dll");
        if (!module) return;
        alphaBlend = reinterpret_cast<AlphaBlendFunction>(
            reinterpret_cast<void*>(GetProcAddress(module, "AlphaBlend")));
        gradientFill = reinterpret_cast<GradientFillFunction>(
            reinterpret_cast<void*>(GetProcAddress(module, "GradientFill")));
    }
};

const Msimg32& Functions()
{
    static const Msimg32 functions;  // looked up once, at first use
    return functions;
}

bool g_disabled = false;

}  // namespace

AlphaBlendFunction SystemAlphaBlend()
{
    return g_disabled ? nullptr : Functions().alphaBlend;
}

GradientFillFunction SystemGradientFill()
{
    return g_disabled ? nullptr : Functions().gradientFill;
}

void DisableSystemBlending(bool disabled)
{
    g_disabled = disabled;
}

}  // namespace SkinUI
