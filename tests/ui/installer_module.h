// The installer program of the same build, from which the framework's tests take the embedded
// skin archive and the icons: ..\..\app\VQUpdate.exe from the test program's folder.
#pragma once

#include <windows.h>

#include <string>

namespace SkinUITest {

inline std::wstring InstallerPath()
{
    wchar_t path[MAX_PATH];
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L'\\') + 1) + L"..\\..\\app\\VQUpdate.exe";
}

// The installer loaded for its resources only (none of its code runs), or null when it is
// missing. The caller frees it.
inline HMODULE LoadInstallerAsData()
{
    return LoadLibraryExW(InstallerPath().c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

}  // namespace SkinUITest
