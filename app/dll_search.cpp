// DLL search hardening: SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32), looked up at run
// time.
#include "app/dll_search.h"

#include <windows.h>

void restrictDllSearchToSystem32()
{
    // Looked up rather than imported: Windows 7 without its loader update lacks the function,
    // and an import would stop the installer from starting there at all.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return;
    const FARPROC proc = GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (!proc) return;
    reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(proc))(
        LOAD_LIBRARY_SEARCH_SYSTEM32);
}
