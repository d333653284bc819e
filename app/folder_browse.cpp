// The folder-browse dialog of the install options window.
#include "app/folder_browse.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <memory>

namespace {

struct ItemListFree {
    // The dialog's item list comes from the shell allocator, which is the COM task allocator.
    void operator()(LPITEMIDLIST items) const { CoTaskMemFree(items); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

}  // namespace

std::wstring installFolderIn(const std::wstring& chosen)
{
    return chosen + L"\\ROVuruvodiv";
}

std::optional<std::wstring> browseForInstallFolder()
{
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.pszDisplayName = displayName;
    info.lpszTitle = L"请选择您需要的目的文件夹：";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    const ItemList chosen(SHBrowseForFolderW(&info));
    if (!chosen) return std::nullopt;

    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path)) return std::nullopt;
    return installFolderIn(path);
}
