// Windows file sources and destinations: archives opened by name and by handle, entries
// unzipped to files under the folder that was current at opening, and to handles.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/zip_reader.h"
#include "tests/archive/zip_test_support.h"

namespace {

namespace fs = std::filesystem;

std::wstring fixturePathW(const std::string& name)
{
    const std::string narrow = fixturePath(name);
    return std::wstring(narrow.begin(), narrow.end());
}

std::vector<uint8_t> readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

uint64_t lastWriteTime(const fs::path& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

// A fresh folder made current for the test; the previous current folder comes back after.
class ScratchFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        root_ =
            fs::temp_directory_path() / (L"zip_reader_" + std::to_wstring(GetCurrentProcessId()) +
                                         L"_" + std::to_wstring(GetTickCount()));
        fs::create_directories(root_);
        fs::current_path(root_);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        for (const auto& item : fs::recursive_directory_iterator(root_)) {
            SetFileAttributesW(item.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path previous_;
    fs::path root_;
};

TEST(ZipFileSourceTest, OpensArchivesByNameAndByHandle)
{
    const std::wstring name = fixturePathW("tool_deflated.zip");
    ZipArchivePtr byName(openZip(name.c_str(), 0, ZipFileName));
    ASSERT_TRUE(byName) << std::hex << lastZipResult();
    int32_t index = -1;
    ASSERT_EQ(findZipItem(byName.get(), L"images\\bg.png", false, &index, nullptr), ResultOk);
    EXPECT_EQ(unzipWhole(byName.get(), index), sourceFile("images/bg.png"));

    // The handle is duplicated, so the caller's own may be closed at once.
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ZipArchivePtr byHandle(openZip(file, 0, ZipFileHandle));
    CloseHandle(file);
    ASSERT_TRUE(byHandle);
    ASSERT_EQ(findZipItem(byHandle.get(), L"options.xml", false, &index, nullptr), ResultOk);
    EXPECT_EQ(unzipWhole(byHandle.get(), index), sourceFile("options.xml"));

    EXPECT_EQ(openZip(fixturePathW("missing.zip").c_str(), 0, ZipFileName), nullptr);
    EXPECT_EQ(lastZipResult(), ResultCannotOpen);
    EXPECT_EQ(openZip(fixturePathW("not_a_zip.bin").c_str(), 0, ZipFileName), nullptr);
    EXPECT_EQ(lastZipResult(), ResultNoEndRecord);
    EXPECT_EQ(openZip(nullptr, 0, ZipFileName), nullptr);
    EXPECT_EQ(lastZipResult(), ResultBadArguments);
}

TEST(ZipFileSourceTest, HandleSourcesReadFromTheHandlesPositionAndMustBeSeekable)
{
    // appended.zip is 3074 bytes of other data followed by a zip whose offsets ignore them.
    const std::wstring name = fixturePathW("appended.zip");
    for (LONG start : {0L, 3074L}) {
        HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        SetFilePointer(file, start, nullptr, FILE_BEGIN);
        ZipArchivePtr archive(openZip(file, 0, ZipFileHandle));
        CloseHandle(file);
        ASSERT_TRUE(archive) << start;
        int32_t index = -1;
        ASSERT_EQ(findZipItem(archive.get(), L"options.xml", false, &index, nullptr), ResultOk);
        EXPECT_EQ(unzipWhole(archive.get(), index), sourceFile("options.xml")) << start;
    }

    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    EXPECT_EQ(openZip(readEnd, 0, ZipFileHandle), nullptr);
    EXPECT_EQ(lastZipResult(), ResultUnseekable);
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
}

// past_2gib.zip holds 2 GiB + 1 MiB of zeros (a sparse file) and then tail.txt, so the entry,
// the directory and the end record lie past 2^31: 64-bit offsets all the way in a 32-bit build.
TEST(ZipFileSourceTest, ReadsEntriesLyingPast2Gib)
{
    ZipArchivePtr archive(openZip(fixturePathW("past_2gib.zip").c_str(), 0, ZipFileName));
    ASSERT_TRUE(archive) << std::hex << lastZipResult();
    int32_t index = -1;
    ASSERT_EQ(findZipItem(archive.get(), L"tail.txt", false, &index, nullptr), ResultOk);
    const std::vector<uint8_t> tail = unzipWhole(archive.get(), index);
    EXPECT_EQ(std::string(tail.begin(), tail.end()), "behind two gibibytes\n");

    ZipEntry zeros{};
    ASSERT_EQ(findZipItem(archive.get(), L"zeros.bin", false, &index, &zeros), ResultOk);
    EXPECT_EQ(static_cast<uint32_t>(zeros.uncompressedSize), (1u << 31) + (1u << 20));
    // Its first bytes read like any stored entry's; the item stays open for more.
    std::vector<uint8_t> piece(64 * 1024, 0xAA);
    EXPECT_EQ(unzipItem(archive.get(), index, piece.data(), piece.size(), ZipMemory),
              ResultMoreData);
    EXPECT_EQ(piece, std::vector<uint8_t>(piece.size(), 0));
}

TEST_F(ScratchFolderTest, UnzipsEntriesUnderTheFolderCurrentWhenOpened)
{
    MemoryArchive archive("tool_deflated.zip");
    ASSERT_TRUE(archive);
    // Files go under the folder current at opening, not at unzipping.
    fs::current_path(previous_);

    ZipEntry entry{};
    int32_t index = -1;
    ASSERT_EQ(findZipItem(archive.get(), L"images/", false, &index, &entry), ResultOk);
    EXPECT_EQ(unzipItem(archive.get(), index, const_cast<wchar_t*>(L"out/images"), 0, ZipFileName),
              ResultOk);
    EXPECT_TRUE(fs::is_directory(root_ / L"out" / L"images"));

    ASSERT_EQ(findZipItem(archive.get(), L"images/bg.png", false, &index, &entry), ResultOk);
    EXPECT_EQ(
        unzipItem(archive.get(), index, const_cast<wchar_t*>(L"deep\\er/bg.png"), 0, ZipFileName),
        ResultOk);
    const fs::path picture = root_ / L"deep" / L"er" / L"bg.png";
    EXPECT_EQ(readFile(picture), sourceFile("images/bg.png"));
    EXPECT_EQ(lastWriteTime(picture), entry.modificationTime);

    ASSERT_EQ(findZipItem(archive.get(), L"readonly.txt", false, &index, &entry), ResultOk);
    EXPECT_EQ(
        unzipItem(archive.get(), index, const_cast<wchar_t*>(L"readonly.txt"), 0, ZipFileName),
        ResultOk);
    EXPECT_NE(GetFileAttributesW((root_ / L"readonly.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(ScratchFolderTest, RefusesFileNamesLeavingTheRootFolder)
{
    fs::create_directories(root_ / L"inner");
    fs::current_path(root_ / L"inner");
    MemoryArchive archive("tool_deflated.zip");
    ASSERT_TRUE(archive);
    int32_t index = -1;
    ASSERT_EQ(findZipItem(archive.get(), L"options.xml", false, &index, nullptr), ResultOk);
    const std::wstring outside = (root_ / L"escape.txt").wstring();
    for (const std::wstring& name :
         {std::wstring(L"..\\escape.txt"), std::wstring(L"../escape.txt"),
          std::wstring(L"a/../../escape.txt"), outside, std::wstring(L"\\escape.txt"),
          std::wstring(L"... \\escape.txt")}) {
        EXPECT_EQ(
            unzipItem(archive.get(), index, const_cast<wchar_t*>(name.c_str()), 0, ZipFileName),
            ResultBadArguments);
    }
    EXPECT_FALSE(fs::exists(root_ / L"escape.txt"));
    EXPECT_TRUE(fs::is_empty(root_ / L"inner"));
}

TEST_F(ScratchFolderTest, UnzipsToHandlesAndRemovesFilesOfDamagedEntries)
{
    MemoryArchive archive("stream.zip");
    ASSERT_TRUE(archive);
    const fs::path target = root_ / L"by_handle.xml";
    HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(unzipItem(archive.get(), 1, file, 0, ZipFileHandle), ResultOk);
    CloseHandle(file);
    EXPECT_EQ(readFile(target), sourceFile("options.xml"));

    MemoryArchive damaged("bad_deflate.zip");
    ASSERT_TRUE(damaged);
    EXPECT_EQ(unzipItem(damaged.get(), 0, const_cast<wchar_t*>(L"a.txt"), 0, ZipFileName),
              ResultCorrupt);
    EXPECT_FALSE(fs::exists(root_ / L"a.txt"));
    MemoryArchive intact("bad_deflate.zip");
    EXPECT_EQ(unzipItem(intact.get(), 1, const_cast<wchar_t*>(L"b.txt"), 0, ZipFileName), ResultOk);
    EXPECT_TRUE(fs::exists(root_ / L"b.txt"));
}

TEST(ZipCodePageTest, FindsNamesStoredInTheAnsiCodePage)
{
    if (GetACP() != 936) GTEST_SKIP() << "needs code page 936, this system uses " << GetACP();
    MemoryArchive archive("cp936.zip");
    ASSERT_TRUE(archive);
    ZipEntry entry{};
    // U+4E57 is 0x81 0x5C in code page 936: its second byte must not count as a backslash.
    ASSERT_EQ(findZipItem(archive.get(), L"\u4e57\u56fe/x.txt", false, nullptr, &entry), ResultOk);
    EXPECT_STREQ(entry.name, L"\u4e57\u56fe/x.txt");
    EXPECT_EQ(findZipItem(archive.get(), L"\u4e57\u56fe\\X.TXT", true, nullptr, nullptr), ResultOk);
}

}  // namespace
