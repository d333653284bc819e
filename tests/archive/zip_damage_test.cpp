// Damaged archives: every kind of damage gives its result and nothing reads or writes
// outside the archive or the caller's buffer (the sanitizer build checks the latter).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/zip_reader.h"
#include "tests/archive/zip_test_support.h"

namespace {

ZipResult openResult(const std::string& fixture)
{
    const std::vector<uint8_t> bytes = readFixture(fixture);
    ZipArchivePtr archive(openZip(bytes.data(), bytes.size(), ZipMemory));
    return archive ? ResultOk : lastZipResult();
}

// Unzips entry `index` into an exact buffer; returns the first result that is not
// ResultMoreData.
ZipResult unzipResult(ZipArchive* archive, int32_t index)
{
    std::vector<uint8_t> data(64 * 1024);
    ZipResult result = ResultMoreData;
    for (int calls = 0; result == ResultMoreData && calls < 100; ++calls) {
        result = unzipItem(archive, index, data.data(), data.size(), ZipMemory);
    }
    return result;
}

TEST(ZipDamageTest, ArchivesThatCannotBeOpenedGiveTheParserResult)
{
    EXPECT_EQ(openResult("not_a_zip.bin"), ResultNoEndRecord);
    EXPECT_EQ(openResult("counts_differ.zip"), ResultBadEndRecord);
    EXPECT_EQ(openResult("directory_past_end.zip"), ResultBadEndRecord);
    const uint8_t tiny[] = {'P', 'K', 5, 6};
    EXPECT_EQ(openZip(tiny, sizeof tiny, ZipMemory), nullptr);
    EXPECT_EQ(lastZipResult(), ResultNoEndRecord);
    EXPECT_EQ(openZip(tiny, 0, ZipMemory), nullptr);
    EXPECT_EQ(lastZipResult(), ResultNoEndRecord);
}

TEST(ZipDamageTest, LocalHeaderDisagreeingWithTheDirectoryIsCorrupt)
{
    MemoryArchive archive("local_mismatch.zip");
    ASSERT_TRUE(archive);
    ZipEntry entry{};
    int32_t index = 7;
    EXPECT_EQ(findZipItem(archive.get(), L"a.txt", false, &index, &entry), ResultCorrupt);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(getZipItem(archive.get(), 0, &entry), ResultCorrupt);
    EXPECT_EQ(unzipResult(archive.get(), 0), ResultInflateError);
    // The intact entry beside it still reads.
    EXPECT_EQ(unzipResult(archive.get(), 1), ResultOk);
}

TEST(ZipDamageTest, DamagedDataIsReportedInsteadOfPassingForTheEntry)
{
    MemoryArchive badDeflate("bad_deflate.zip");
    ASSERT_TRUE(badDeflate);
    EXPECT_EQ(unzipResult(badDeflate.get(), 0), ResultCorrupt);

    MemoryArchive badCrc("bad_crc.zip");
    ASSERT_TRUE(badCrc);
    ZipEntry entry{};
    ASSERT_EQ(getZipItem(badCrc.get(), 0, &entry), ResultOk);
    std::vector<uint8_t> data(static_cast<size_t>(entry.uncompressedSize));
    EXPECT_EQ(unzipItem(badCrc.get(), 0, data.data(), data.size(), ZipMemory), ResultCorrupt);
    // The item was closed: the next call starts over and fails again.
    EXPECT_EQ(unzipItem(badCrc.get(), 0, data.data(), data.size(), ZipMemory), ResultCorrupt);
    EXPECT_EQ(unzipResult(badCrc.get(), 1), ResultOk);
}

TEST(ZipDamageTest, EntriesBehindADamagedDirectoryRecordAreCorrupt)
{
    MemoryArchive archive("bad_second_record.zip");
    ASSERT_TRUE(archive);
    EXPECT_EQ(findZipItem(archive.get(), L"a.txt", false, nullptr, nullptr), ResultOk);
    EXPECT_EQ(findZipItem(archive.get(), L"b.txt", false, nullptr, nullptr), ResultCorrupt);
    ZipEntry entry{};
    EXPECT_EQ(getZipItem(archive.get(), 1, &entry), ResultCorrupt);
    EXPECT_EQ(unzipResult(archive.get(), 1), ResultCorrupt);
    EXPECT_EQ(unzipResult(archive.get(), 0), ResultOk);

    MemoryArchive pastEnd("local_offset_past_end.zip");
    ASSERT_TRUE(pastEnd);
    EXPECT_EQ(getZipItem(pastEnd.get(), 1, &entry), ResultCorrupt);
    EXPECT_EQ(unzipResult(pastEnd.get(), 0), ResultOk);
}

// Sizes past 2^31 are negative in the signed entry fields and pass size_t in a 32-bit build:
// they are described as stored, and reading them ends in ResultCorrupt, never a wrapped size.
TEST(ZipDamageTest, SizesPast2GibAreDescribedAndTheirShortDataIsCorrupt)
{
    MemoryArchive archive("sizes_past_2gib.zip");
    ASSERT_TRUE(archive);
    ZipEntry entry{};
    ASSERT_EQ(getZipItem(archive.get(), 0, &entry), ResultOk);
    EXPECT_EQ(static_cast<uint32_t>(entry.uncompressedSize), 0xF0000000u);
    EXPECT_LT(entry.uncompressedSize, 0);
    EXPECT_EQ(unzipResult(archive.get(), 0), ResultCorrupt);
    // The stored entry's data would run past the end of the archive.
    EXPECT_EQ(getZipItem(archive.get(), 1, &entry), ResultCorrupt);
    EXPECT_EQ(unzipResult(archive.get(), 1), ResultInflateError);
}

// Every prefix of an archive and every single-byte change in it either fails cleanly or
// reads: none may crash or touch memory it does not own.
TEST(ZipDamageTest, TruncatedAndFlippedArchivesNeverCrash)
{
    const std::vector<uint8_t> whole = readFixture("base.zip");
    ASSERT_FALSE(whole.empty());
    auto exercise = [](const std::vector<uint8_t>& bytes) {
        // A heap copy of exactly the archive's size, so reads past it are caught.
        std::vector<uint8_t> copy(bytes);
        ZipArchivePtr archive(openZip(copy.data(), copy.size(), ZipMemory));
        if (!archive) return;
        ZipEntry entry{};
        ASSERT_EQ(getZipItem(archive.get(), -1, &entry), ResultOk);
        for (int32_t i = 0; i < entry.index; ++i) {
            ZipEntry item{};
            if (getZipItem(archive.get(), i, &item) != ResultOk) continue;
            unzipResult(archive.get(), i);
            findZipItem(archive.get(), item.name, true, nullptr, nullptr);
        }
    };
    for (size_t length = 0; length < whole.size(); ++length) {
        exercise(std::vector<uint8_t>(whole.begin(), whole.begin() + length));
    }
    for (size_t at = 0; at < whole.size(); ++at) {
        std::vector<uint8_t> flipped = whole;
        flipped[at] ^= 0x5A;
        exercise(flipped);
    }
}

}  // namespace
