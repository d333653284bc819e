// Path checks for files unzipped under a root folder.
#include "archive/zip_path.h"

namespace {

bool isSeparator(wchar_t c)
{
    return c == L'/' || c == L'\\';
}

// A component Windows could resolve to the parent folder: at least two characters and only
// dots and spaces (trailing dots and spaces are dropped when a path is opened).
bool isParentLike(const std::wstring& component)
{
    if (component.size() < 2) return false;
    return component.find_first_not_of(L". ") == std::wstring::npos;
}

}  // namespace

bool isSafeRelativePath(const std::wstring& path)
{
    if (path.empty() || isSeparator(path[0])) return false;
    if (path.find(L':') != std::wstring::npos) return false;
    std::wstring component;
    for (wchar_t c : path + L'/') {
        if (!isSeparator(c)) {
            component.push_back(c);
            continue;
        }
        if (isParentLike(component)) return false;
        component.clear();
    }
    return true;
}
