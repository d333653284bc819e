// Which destination paths stay inside the folder entries are unzipped into.
#include <string>

#include <gtest/gtest.h>

#include "archive/zip_path.h"

namespace {

TEST(ZipPathTest, OnlyPathsInsideTheRootFolderAreSafe)
{
    for (const wchar_t* safe : {L"a.txt", L"skin/images/bg.png", L"skin\\x.png", L"./a.txt",
                                L"a..b/c", L"..a", L"dir/", L"a/.hidden"}) {
        EXPECT_TRUE(isSafeRelativePath(safe)) << std::wstring(safe).size();
    }
    for (const wchar_t* unsafe :
         {L"", L"/etc/passwd", L"\\windows\\x.dll", L"\\\\server\\share\\x", L"C:\\x.txt",
          L"C:x.txt", L"a.txt:stream", L"..", L"../a.txt", L"a/../../b", L"a\\..\\..\\b", L"a/..",
          L"... /x", L". ./x", L"a/.. /b"}) {
        EXPECT_FALSE(isSafeRelativePath(unsafe)) << std::wstring(unsafe).size();
    }
}

}  // namespace
