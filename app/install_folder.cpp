// Existence tests and folder chain creation for the install folder.
#include "app/install_folder.h"

#include "archive/zip_text.h"

#include <windows.h>

#include <io.h>

#include <vector>

bool pathExists(const std::wstring& path)
{
    return _waccess(path.c_str(), 0) == 0;
}

bool isDirectory(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

bool ansiPathExists(const std::string& path)
{
    return _access(path.c_str(), 0) == 0;
}

// The prefixes of `path` that do not exist yet, innermost first, the path itself included.
std::vector<std::string> missingAnsiPrefixes(std::string path)
{
    std::vector<std::string> missing;
    while (!path.empty() && !ansiPathExists(path)) {
        missing.push_back(path);
        const std::size_t cut = path.rfind('\\');
        if (cut == std::string::npos) break;
        path.resize(cut);
    }
    return missing;
}

}  // namespace

void createFolderChainAnsi(const std::wstring& folder)
{
    std::string ansi;
    if (!wideToNarrowName(folder, ansi)) return;
    const std::vector<std::string> missing = missingAnsiPrefixes(ansi);
    // Failures are ignored: the existence test after this pass speaks for them.
    for (auto prefix = missing.rbegin(); prefix != missing.rend(); ++prefix)
        CreateDirectoryA(prefix->c_str(), nullptr);
}

bool createFolderChainWide(const std::wstring& folder)
{
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (folder[i] != L'\\' && i + 1 != folder.size()) continue;
        const std::wstring prefix = folder.substr(0, i + 1);
        if (!pathExists(prefix) && !CreateDirectoryW(prefix.c_str(), nullptr)) return false;
    }
    return true;
}
