// Test program for the rule on imported DLLs: built twice, once importing only known DLLs of the
// system and once (IMPORT_COMCTL32) also comctl32.dll, which is not one of them. The artefact
// check must refuse the second; run beside a planted comctl32.dll it must not start, or (Wine
// binds what the stand-in lacks to stubs) find the stand-in loaded and exit with 3.
#include <windows.h>

#ifdef IMPORT_COMCTL32
#include <commctrl.h>

#include <cstdio>
#endif

int main()
{
#ifdef IMPORT_COMCTL32
    // The planted stand-in is known by its one export.
    const HMODULE comctl32 = GetModuleHandleW(L"comctl32.dll");
    if (comctl32 != nullptr && GetProcAddress(comctl32, "plantedProbe") != nullptr) {
        std::puts("the planted comctl32.dll was loaded");
        return 3;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&controls) ? 0 : 1;
#else
    return GetSystemMetrics(SM_CXSCREEN) > 0 ? 0 : 1;
#endif
}
