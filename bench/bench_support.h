// What the Windows benchmarks share: a steady clock in milliseconds, and the skin archive of
// the installer built beside them, lent to the process the way start-up lends it.
#pragma once

#include "ui/render/resource_files.h"
#include "ui/render/resource_settings.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace SkinUIBench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The installer of the same build: ..\app\VQUpdate.exe from this program's folder.
inline std::wstring DefaultInstaller()
{
    wchar_t path[MAX_PATH];
    std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.find_last_of(L'\\') + 1) + L"..\\app\\VQUpdate.exe";
}

// Makes `installer` (loaded as a data file) the resource module and its "ZIPRES" 101 the skin
// archive, both for the rest of the run. Prints why and returns false when it cannot.
inline bool LendInstallerSkinArchive(const std::wstring& installer)
{
    HMODULE module = LoadLibraryExW(installer.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        std::printf("cannot load %ls\n", installer.c_str());
        return false;
    }
    SkinUI::SetResourceModule(module);
    // Kept for the whole run: the archive reads from these bytes.
    static std::optional<SkinUI::Bytes> archive;
    archive = SkinUI::ReadProgramResource(L"101", L"ZIPRES");
    if (!archive) {
        std::printf("no ZIPRES 101 in %ls\n", installer.c_str());
        return false;
    }
    SkinUI::SetSkinArchive(archive->data(), static_cast<unsigned>(archive->size()));
    return true;
}

}  // namespace SkinUIBench
