// Reading archives written by real tools from memory: lookup, contents, entry descriptions.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/zip_reader.h"
#include "tests/archive/zip_test_support.h"

namespace {

constexpr int64_t SourceModified = 1600000000;
constexpr int64_t SourceAccessed = 1500000000;
constexpr int64_t StreamDate = 1554107412;  // 2019-04-01 08:30:12

int32_t findIndex(ZipArchive* archive, const wchar_t* name, bool ignoreCase = false)
{
    int32_t index = -2;
    ZipEntry entry{};
    const ZipResult result = findZipItem(archive, name, ignoreCase, &index, &entry);
    if (result != ResultOk) return -1;
    EXPECT_EQ(entry.index, index);
    return index;
}

class ToolArchiveTest : public testing::TestWithParam<const char*> {};

TEST_P(ToolArchiveTest, FindsEntriesAndUnzipsTheirExactBytes)
{
    MemoryArchive archive(GetParam());
    ASSERT_TRUE(archive) << std::hex << lastZipResult();

    const int32_t options = findIndex(archive.get(), L"options.xml");
    ASSERT_GE(options, 0);
    EXPECT_EQ(unzipWhole(archive.get(), options), sourceFile("options.xml"));

    // Backslashes in the wanted name match the slashes archives store.
    const int32_t picture = findIndex(archive.get(), L"images\\bg.png");
    ASSERT_GE(picture, 0);
    EXPECT_EQ(unzipWhole(archive.get(), picture), sourceFile("images/bg.png"));
    EXPECT_EQ(findIndex(archive.get(), L"images/bg.png"), picture);
}

TEST(FindZipItemTest, FoldsCaseOnlyWhenAskedAndMatchesWholeNames)
{
    MemoryArchive archive("tool_deflated.zip");
    ASSERT_TRUE(archive);
    int32_t index = 5;
    ZipEntry entry{};
    entry.index = 5;
    EXPECT_EQ(findZipItem(archive.get(), L"OPTIONS.XML", false, &index, &entry), ResultNotFound);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(entry.index, -1);
    EXPECT_EQ(entry.name[0], L'\0');

    EXPECT_EQ(findZipItem(archive.get(), L"OPTIONS.XML", true, &index, &entry), ResultOk);
    EXPECT_STREQ(entry.name, L"options.xml");
    EXPECT_EQ(findIndex(archive.get(), L"Images\\BG.png", true),
              findIndex(archive.get(), L"images/bg.png"));
    // A prefix or an extension of a stored name is another name.
    EXPECT_EQ(findIndex(archive.get(), L"options.xm", true), -1);
    EXPECT_EQ(findIndex(archive.get(), L"options.xml2", true), -1);
}

TEST_P(ToolArchiveTest, ReadingInPiecesGivesTheSameBytesAsOneCall)
{
    MemoryArchive archive(GetParam());
    ASSERT_TRUE(archive);
    int32_t index = -1;
    ZipEntry entry{};
    ASSERT_EQ(findZipItem(archive.get(), L"images/bg.png", false, &index, &entry), ResultOk);
    std::vector<uint8_t> data(static_cast<size_t>(entry.uncompressedSize));
    // Every call fills its piece; the last piece is cut to what the entry has left.
    for (size_t done = 0; done < data.size(); done += 777) {
        ASSERT_EQ(unzipItem(archive.get(), index, data.data() + done, 777, ZipMemory),
                  ResultMoreData)
            << "at " << done;
    }
    uint8_t spare = 0;
    EXPECT_EQ(unzipItem(archive.get(), index, &spare, 1, ZipMemory), ResultOk);
    EXPECT_EQ(data, sourceFile("images/bg.png"));
}

INSTANTIATE_TEST_SUITE_P(InfoZip, ToolArchiveTest,
                         testing::Values("tool_deflated.zip", "tool_stored.zip", "tool_plain.zip",
                                         "appended.zip"));

TEST(ZipEntryTest, DescribesTimesAttributesSizesAndCount)
{
    MemoryArchive archive("tool_deflated.zip");
    ASSERT_TRUE(archive);
    ZipEntry entry{};
    // The "UT" block gives modification and access times; creation keeps the DOS time.
    ASSERT_EQ(findZipItem(archive.get(), L"options.xml", false, nullptr, &entry), ResultOk);
    EXPECT_EQ(entry.modificationTime, fileTimeOf(SourceModified));
    EXPECT_EQ(entry.accessTime, fileTimeOf(SourceAccessed));
    EXPECT_EQ(entry.creationTime, fileTimeOf(SourceModified));
    EXPECT_EQ(entry.uncompressedSize, static_cast<int32_t>(sourceFile("options.xml").size()));
    EXPECT_LT(entry.compressedSize, entry.uncompressedSize);
    EXPECT_EQ(entry.attributes & (ZipAttributeReadOnly | ZipAttributeDirectory), 0u);

    ASSERT_EQ(findZipItem(archive.get(), L"readonly.txt", false, nullptr, &entry), ResultOk);
    EXPECT_NE(entry.attributes & ZipAttributeReadOnly, 0u);
    ASSERT_EQ(findZipItem(archive.get(), L"images/", false, nullptr, &entry), ResultOk);
    EXPECT_NE(entry.attributes & ZipAttributeDirectory, 0u);

    ASSERT_EQ(getZipItem(archive.get(), -1, &entry), ResultOk);
    EXPECT_EQ(entry.index, 4);  // options.xml, images/, images/bg.png, readonly.txt
    EXPECT_EQ(entry.name[0], L'\0');
    EXPECT_EQ(entry.uncompressedSize, 0);
    EXPECT_EQ(getZipItem(archive.get(), 4, &entry), ResultBadArguments);
    EXPECT_EQ(getZipItem(archive.get(), -2, &entry), ResultBadArguments);
    EXPECT_EQ(getZipItem(archive.get(), 0, nullptr), ResultBadArguments);
}

TEST(ZipEntryTest, WithoutExtraFieldsAllTimesComeFromTheDosTime)
{
    MemoryArchive plain("tool_plain.zip");
    ASSERT_TRUE(plain);
    ZipEntry entry{};
    ASSERT_EQ(findZipItem(plain.get(), L"options.xml", false, nullptr, &entry), ResultOk);
    EXPECT_EQ(entry.modificationTime, fileTimeOf(SourceModified));
    EXPECT_EQ(entry.accessTime, fileTimeOf(SourceModified));
    EXPECT_EQ(entry.creationTime, fileTimeOf(SourceModified));
    // -D leaves out directory entries.
    ASSERT_EQ(getZipItem(plain.get(), -1, &entry), ResultOk);
    EXPECT_EQ(entry.index, 3);

    MemoryArchive stream("stream.zip");
    ASSERT_TRUE(stream);
    ASSERT_EQ(getZipItem(stream.get(), 0, &entry), ResultOk);
    EXPECT_EQ(entry.modificationTime, fileTimeOf(StreamDate));
}

TEST(ZipReaderTest, StoredAndDeflatedEntriesWithDataDescriptorsGiveTheSameBytes)
{
    MemoryArchive archive("stream.zip");
    ASSERT_TRUE(archive);
    const int32_t stored = findIndex(archive.get(), L"same_stored.xml");
    const int32_t deflated = findIndex(archive.get(), L"same_deflated.xml");
    ASSERT_GE(stored, 0);
    ASSERT_GE(deflated, 0);
    EXPECT_EQ(unzipWhole(archive.get(), stored), sourceFile("options.xml"));
    EXPECT_EQ(unzipWhole(archive.get(), deflated), sourceFile("options.xml"));
}

TEST(ZipReaderTest, SwitchingOrDescribingItemsRestartsTheItemFromItsStart)
{
    MemoryArchive archive("tool_deflated.zip");
    ASSERT_TRUE(archive);
    const int32_t options = findIndex(archive.get(), L"options.xml");
    const int32_t picture = findIndex(archive.get(), L"images/bg.png");
    uint8_t head[16];
    ASSERT_EQ(unzipItem(archive.get(), options, head, sizeof head, ZipMemory), ResultMoreData);
    EXPECT_EQ(unzipWhole(archive.get(), picture), sourceFile("images/bg.png"));
    EXPECT_EQ(unzipWhole(archive.get(), options), sourceFile("options.xml"));

    // Asking for the entry count closes the item too: the next call starts over.
    uint8_t again[sizeof head];
    ASSERT_EQ(unzipItem(archive.get(), options, head, sizeof head, ZipMemory), ResultMoreData);
    ZipEntry count{};
    ASSERT_EQ(getZipItem(archive.get(), -1, &count), ResultOk);
    ASSERT_EQ(unzipItem(archive.get(), options, again, sizeof again, ZipMemory), ResultMoreData);
    EXPECT_EQ(std::memcmp(head, again, sizeof head), 0);
}

TEST(ZipReaderTest, OpensArchivesWithCommentsAndEmptyArchives)
{
    MemoryArchive commented("commented.zip");
    ASSERT_TRUE(commented);
    const int32_t note = findIndex(commented.get(), L"note.txt");
    ASSERT_EQ(note, 0);
    const std::vector<uint8_t> text = unzipWhole(commented.get(), note);
    EXPECT_EQ(std::string(text.begin(), text.end()), "note\n");

    MemoryArchive empty("empty.zip");
    ASSERT_TRUE(empty);
    ZipEntry entry{};
    ASSERT_EQ(getZipItem(empty.get(), -1, &entry), ResultOk);
    EXPECT_EQ(entry.index, 0);
    EXPECT_EQ(findZipItem(empty.get(), L"x", true, nullptr, nullptr), ResultNotFound);
}

TEST(ZipReaderTest, LongStoredNamesNeverMatchATruncatedName)
{
    MemoryArchive archive("long_names.zip");
    ASSERT_TRUE(archive);
    // The first entry's name is these 255 characters followed by 45 more.
    const std::wstring prefix(255, L'L');
    EXPECT_EQ(findIndex(archive.get(), prefix.c_str()), -1);
    EXPECT_EQ(findIndex(archive.get(), std::wstring(200, L'L').c_str()), 1);
    EXPECT_EQ(findIndex(archive.get(), (prefix + L"x").c_str()), -1);

    ZipEntry entry{};
    ASSERT_EQ(getZipItem(archive.get(), 0, &entry), ResultOk);
    EXPECT_EQ(std::wcslen(entry.name), ZipMaxPath - 1);
}

TEST(ZipReaderTest, EncryptedEntriesAreDescribedButTheirDataRefused)
{
    MemoryArchive archive("encrypted.zip");
    ASSERT_TRUE(archive);
    ZipEntry entry{};
    int32_t index = -1;
    ASSERT_EQ(findZipItem(archive.get(), L"options.xml", false, &index, &entry), ResultOk);
    std::vector<uint8_t> data(static_cast<size_t>(entry.uncompressedSize));
    EXPECT_EQ(unzipItem(archive.get(), index, data.data(), data.size(), ZipMemory),
              ResultEncrypted);
    EXPECT_EQ(lastZipResult(), ResultEncrypted);
}

TEST(ZipReaderTest, MisuseIsRefusedWithTheDocumentedResult)
{
    EXPECT_EQ(openZip(nullptr, 10, ZipMemory), nullptr);
    EXPECT_EQ(lastZipResult(), ResultBadArguments);
    const std::vector<uint8_t> bytes = readFixture("base.zip");
    EXPECT_EQ(openZip(bytes.data(), bytes.size(), 7), nullptr);
    EXPECT_EQ(lastZipResult(), ResultBadArguments);

    ZipEntry entry{};
    EXPECT_EQ(getZipItem(nullptr, 0, &entry), ResultBadArguments);
    EXPECT_EQ(findZipItem(nullptr, L"a.txt", false, nullptr, &entry), ResultBadArguments);
    EXPECT_EQ(closeZip(nullptr), ResultBadArguments);

    MemoryArchive archive("base.zip");
    ASSERT_TRUE(archive);
    uint8_t buffer[8];
    EXPECT_EQ(unzipItem(archive.get(), 0, buffer, sizeof buffer, 0), ResultBadArguments);
    EXPECT_EQ(unzipItem(archive.get(), 2, buffer, sizeof buffer, ZipMemory), ResultBadArguments);
    EXPECT_EQ(unzipItem(archive.get(), -1, buffer, sizeof buffer, ZipMemory), ResultBadArguments);
    EXPECT_EQ(unzipItem(archive.get(), 0, nullptr, 8, ZipMemory), ResultBadArguments);
    EXPECT_EQ(findZipItem(archive.get(), nullptr, false, nullptr, &entry), ResultBadArguments);
    EXPECT_EQ(findZipItem(archive.get(), std::wstring(256, L'a').c_str(), false, nullptr, &entry),
              ResultNotFound);
#ifndef _WIN32
    // Outside Windows there are no file sources or destinations.
    EXPECT_EQ(unzipItem(archive.get(), 0, buffer, sizeof buffer, ZipFileName), ResultBadArguments);
    EXPECT_EQ(openZip(L"x.zip", 0, ZipFileName), nullptr);
    EXPECT_EQ(lastZipResult(), ResultBadArguments);
#endif
}

}  // namespace
