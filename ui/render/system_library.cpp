// System libraries by name; see system_library.h.
#include "ui/render/system_library.h"

#include <string>

namespace SkinUI {

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    // Other failures (a library the system does not have) are final: only a refused flag
    // means the folder has to be named.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    return LoadSystemLibraryByPath(name);
}

HMODULE LoadSystemLibraryByPath(const wchar_t* name)
{
    UINT size = GetSystemDirectoryW(nullptr, 0);  // with the terminating null
    if (size == 0) return nullptr;
    std::wstring path(size, L'\0');
    UINT length = GetSystemDirectoryW(path.data(), size);
    if (length == 0 || length >= size) return nullptr;
    path.resize(length);
    path += L'\\';
    path += name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace SkinUI
