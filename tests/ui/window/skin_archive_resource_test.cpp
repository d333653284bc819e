// The skin archive resource of the program: copied once per process however many windows ask.
#include "tests/ui/installer_module.h"
#include "ui/markup/skin_file.h"
#include "ui/render/resource_settings.h"
#include "ui/window/skin_archive_resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace SkinUI;

TEST(SkinArchiveResource, IsCopiedOnceAndServesEveryLaterWindow)
{
    SetResourceModule(GetModuleHandleW(nullptr));
    EXPECT_EQ(UseSkinArchiveResource(L"101"), nullptr) << "the test program has no ZIPRES";
    EXPECT_TRUE(SkinArchiveName().empty());

    HMODULE installer = SkinUITest::LoadInstallerAsData();
    ASSERT_TRUE(installer) << "the installer is built beside the tests";
    SetResourceModule(installer);
    const Bytes* first = UseSkinArchiveResource(L"101");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SkinArchiveName(), L"membuffer");
    ZipArchive* open = OpenSkinArchive();
    ASSERT_NE(open, nullptr);

    for (int window = 0; window < 3; ++window) {
        EXPECT_EQ(UseSkinArchiveResource(L"101"), first) << "no copy per window";
        EXPECT_EQ(OpenSkinArchive(), open) << "the open archive still reads the same bytes";
    }
    CSkinMarkup markup;
    EXPECT_TRUE(LoadSkinFile(markup, L"options.xml")) << markup.ParseError();
    FreeLibrary(installer);
    EXPECT_TRUE(LoadSkinFile(markup, L"download.xml")) << "the copy outlives the module";
}
