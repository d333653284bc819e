// Tests of the DLL search hardening: after it, a DLL lying beside the program is no longer found
// by a plain LoadLibrary, while System32 DLLs still are.
#include "app/dll_search.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <type_traits>

namespace {

struct LibraryFree {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFree>;

const wchar_t kPlanted[] = L"vq_planted_probe.dll";

TEST(DllSearch, PlantedDllBesideTheProgramIsNotLoadedAfterHardening)
{
    restrictDllSearchToSystem32();

    const Library planted(LoadLibraryW(kPlanted));
    EXPECT_EQ(planted, nullptr) << "a DLL from the program's folder was loaded";

    // The DLL is there and loadable when its folder is asked for explicitly.
    const Library explicitly(
        LoadLibraryExW(kPlanted, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR));
    EXPECT_NE(explicitly, nullptr);

    const Library system(LoadLibraryW(L"msimg32.dll"));
    EXPECT_NE(system, nullptr);
}

}  // namespace
