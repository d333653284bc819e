// Run-time look-up of the GDI+ functions and the GDI+ session; see gdiplus_functions.h.
#include "ui/render/gdiplus_functions.h"

#include "ui/render/system_library.h"

namespace SkinUI {
namespace {

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

// All or nothing: a GDI+ that lacks one of the functions is not used at all.
bool FindAll(HMODULE module, GdiplusFunctions& found)
{
    bool all = Find(module, "GdiplusStartup", found.GdiplusStartup) &&
               Find(module, "GdiplusShutdown", found.GdiplusShutdown);
#define SKINUI_GDIPLUS_FIND(name) all = all && Find(module, #name, found.name);
    SKINUI_GDIPLUS_FLAT_FUNCTIONS(SKINUI_GDIPLUS_FIND)
#undef SKINUI_GDIPLUS_FIND
    return all;
}

// Looked up once, at first use; the library stays loaded for the process's life, since the
// pointers are used until exit.
const GdiplusFunctions* Functions()
{
    static const GdiplusFunctions* const functions = []() -> const GdiplusFunctions* {
        static GdiplusFunctions found;
        const HMODULE module = LoadSystemLibrary(L"gdiplus.dll");
        return module != nullptr && FindAll(module, found) ? &found : nullptr;
    }();
    return functions;
}

bool g_disabled = false;

}  // namespace

const GdiplusFunctions* SystemGdiplus()
{
    return g_disabled ? nullptr : Functions();
}

void DisableSystemGdiplus(bool disabled)
{
    g_disabled = disabled;
}

GdiplusSession::GdiplusSession(const GdiplusFunctions& gdiplus) : m_gdiplus(gdiplus)
{
    const Gdiplus::GdiplusStartupInput input;
    m_started = m_gdiplus.GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
}

GdiplusSession::~GdiplusSession()
{
    if (m_started) m_gdiplus.GdiplusShutdown(m_token);
}

}  // namespace SkinUI
