// System libraries loaded by name from the system folder, with the flag that asks for it or,
// where the system refuses that flag, by the folder's full path.
#include "ui/render/msimg32_functions.h"
#include "ui/render/system_library.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

using namespace SkinUI;

namespace {

struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleReference = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

}  // namespace

TEST(SystemLibraries, TheFullPathFallbackLoadsTheSameModuleAsTheSystemFolderFlag)
{
    ModuleReference byFlag(LoadSystemLibrary(L"msimg32.dll"));
    ModuleReference byPath(LoadSystemLibraryByPath(L"msimg32.dll"));
    ASSERT_TRUE(byFlag);
    ASSERT_TRUE(byPath);
    EXPECT_EQ(byFlag.get(), byPath.get());
    EXPECT_TRUE(GetProcAddress(byPath.get(), "AlphaBlend"));
    EXPECT_TRUE(SystemAlphaBlend()) << "the blend function comes from that module";
    EXPECT_TRUE(SystemGradientFill());

    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    wchar_t loaded[MAX_PATH];
    DWORD loadedLength = GetModuleFileNameW(byPath.get(), loaded, MAX_PATH);
    ASSERT_GT(loadedLength, length);
    EXPECT_EQ(_wcsnicmp(loaded, folder, length), 0) << "loaded from the system folder";

    EXPECT_FALSE(ModuleReference(LoadSystemLibrary(L"no_such_library_here.dll")));
    EXPECT_FALSE(ModuleReference(LoadSystemLibraryByPath(L"no_such_library_here.dll")));
}
