// Loading libraries of the system folder at run time, by name, so that no file of that name
// beside the program or in the current folder is ever loaded instead.
#pragma once

#include <windows.h>

namespace SkinUI {

// Loads the system library `name` (a bare file name such as L"msimg32.dll") from the system
// folder: with LOAD_LIBRARY_SEARCH_SYSTEM32, or, where that flag is refused with
// ERROR_INVALID_PARAMETER (Windows 7 without KB2533623), by its full path in the system
// folder. Returns the module, or null when it cannot be loaded. The caller owns one reference
// (FreeLibrary), or keeps the module for the life of the process.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The fallback of LoadSystemLibrary on its own: `name` loaded by its full path in the system
// folder (GetSystemDirectoryW), its own dependencies looked up beside it first.
HMODULE LoadSystemLibraryByPath(const wchar_t* name);

}  // namespace SkinUI
