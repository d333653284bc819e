// Choosing the install folder with the shell's folder-browse dialog.
#pragma once

#include <optional>
#include <string>

// The install folder for a folder the user chose: `chosen` followed by "\ROVuruvodiv", joined
// as they stand (a drive root "D:\" gives "D:\\ROVuruvodiv").
std::wstring installFolderIn(const std::wstring& chosen);

// Shows the shell's folder-browse dialog (no owner, no root, prompt "请选择您需要的目的文件夹：",
// file-system folders only, nothing below the domain) and waits for it. Returns the install
// folder in the chosen folder, or nothing when the user cancelled or the chosen item has no
// file-system path. Needs COM on the calling thread.
std::optional<std::wstring> browseForInstallFolder();
