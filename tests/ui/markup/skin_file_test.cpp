// Skin files read through the resource settings: from the resource folder and from the skin
// archive (in memory, as a file kept open, as a file opened per load), each load error with
// its text, and the 4 MiB limit with one byte over.
#include "ui/markup/skin_file.h"
#include "ui/render/resource_settings.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

using namespace SkinUI;

namespace {

using Bytes = std::vector<unsigned char>;

struct ZipItem {
    std::string name;
    Bytes data;
    uint16_t method = 0;        // 0 stored; 8 with `data` as the deflated bytes
    uint32_t uncompressed = 0;  // for method 8
};

void Put(Bytes& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A zip archive of `items` written by hand: local headers, central directory, end record.
Bytes MakeZip(const std::vector<ZipItem>& items)
{
    Bytes zip;
    Bytes directory;
    for (const ZipItem& item : items) {
        const uint32_t offset = static_cast<uint32_t>(zip.size());
        const uint32_t size = static_cast<uint32_t>(item.data.size());
        const uint32_t full = item.method ? item.uncompressed : size;
        const uint32_t crc =
            item.method ? 0 : static_cast<uint32_t>(crc32(0, item.data.data(), size));
        auto common = [&](Bytes& out) {
            Put(out, 20, 2), Put(out, 0, 2), Put(out, item.method, 2), Put(out, 0, 4);
            Put(out, crc, 4), Put(out, size, 4), Put(out, full, 4);
            Put(out, static_cast<uint32_t>(item.name.size()), 2), Put(out, 0, 2);
        };
        Put(zip, 0x04034b50, 4);
        common(zip);
        zip.insert(zip.end(), item.name.begin(), item.name.end());
        zip.insert(zip.end(), item.data.begin(), item.data.end());
        Put(directory, 0x02014b50, 4);
        Put(directory, 20, 2);
        common(directory);
        Put(directory, 0, 2), Put(directory, 0, 2), Put(directory, 0, 2), Put(directory, 0, 4);
        Put(directory, offset, 4);
        directory.insert(directory.end(), item.name.begin(), item.name.end());
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(zip.size());
    zip.insert(zip.end(), directory.begin(), directory.end());
    Put(zip, 0x06054b50, 4), Put(zip, 0, 4);
    Put(zip, static_cast<uint32_t>(items.size()), 2),
        Put(zip, static_cast<uint32_t>(items.size()), 2);
    Put(zip, static_cast<uint32_t>(directory.size()), 4), Put(zip, directoryOffset, 4),
        Put(zip, 0, 2);
    return zip;
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// A valid skin of exactly `size` bytes: one element whose attribute fills the rest.
Bytes SkinOfSize(size_t size)
{
    const std::string head = "<Window fill=\"";
    const std::string tail = "\"/>";
    return Text(head + std::string(size - head.size() - tail.size(), 'x') + tail);
}

constexpr size_t kLimit = 4u << 20;

std::vector<ZipItem> ArchiveItems()
{
    return {
        {"options.xml", Text("\xEF\xBB\xBF<?xml version=\"1.0\"?><Window size=\"3,4\"/>")},
        {"empty.xml", {}},
        {"limit.xml", SkinOfSize(kLimit)},
        {"over.xml", SkinOfSize(kLimit + 1)},
        // Deflated data that is no deflate stream (block type 3 is reserved).
        {"damaged.xml", Bytes{0xFF, 0xFF, 0xFF, 0xFF}, 8, 100},
    };
}

class SkinFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"skin_file_test_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_folder.c_str(), nullptr);
        SetResourceFolder(m_folder);
        SetSkinArchive(L"", false);
    }
    void TearDown() override
    {
        SetSkinArchive(L"", false);
        for (const std::wstring& file : m_files) DeleteFileW(file.c_str());
        RemoveDirectoryW(m_folder.c_str());
    }
    void Write(const std::wstring& name, const Bytes& bytes)
    {
        m_files.push_back(ResourceFolder() + name);
        std::ofstream out(m_files.back().c_str(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    // Loads `name` and returns "" on success, else the error text.
    std::wstring Load(const std::wstring& name)
    {
        if (LoadSkinFile(m_markup, name)) return L"";
        EXPECT_TRUE(m_markup.ParseErrorLocation().empty()) << "a load error has no location";
        EXPECT_FALSE(m_markup.IsValid());
        return m_markup.ParseError();
    }
    // Every entry of ArchiveItems read through the current archive settings.
    void ExpectArchiveReads()
    {
        EXPECT_EQ(Load(L"OPTIONS.xml"), L"") << "entry names ignore case";
        EXPECT_STREQ(m_markup.Root().AttributeValue(L"size"), L"3,4");
        EXPECT_EQ(Load(L"limit.xml"), L"");
        EXPECT_EQ(Load(L"none.xml"), L"Could not find ziped file");
        EXPECT_EQ(Load(L"empty.xml"), L"File is empty");
        EXPECT_EQ(Load(L"over.xml"), L"File too large");
        EXPECT_EQ(Load(L"damaged.xml"), L"Could not unzip file");
    }

    std::wstring m_folder;
    std::vector<std::wstring> m_files;
    CSkinMarkup m_markup;
};

}  // namespace

TEST_F(SkinFileTest, FromTheResourceFolderEveryFailureHasItsText)
{
    Write(L"window.xml", Text("<Window caption=\"0,0,0,57\"><Button name=\"ok\"/></Window>"));
    Write(L"empty.xml", {});
    Write(L"limit.xml", SkinOfSize(kLimit));
    Write(L"over.xml", SkinOfSize(kLimit + 1));
    Write(L"broken.xml", Text("<Window></Windows>"));

    EXPECT_EQ(Load(L"window.xml"), L"");
    EXPECT_STREQ(m_markup.Root().FirstChild().AttributeValue(L"name"), L"ok");
    EXPECT_EQ(Load(L"limit.xml"), L"") << "exactly 4 MiB loads";
    EXPECT_EQ(std::wcslen(m_markup.Root().AttributeValue(L"fill")), kLimit - 17);
    EXPECT_EQ(Load(L"over.xml"), L"File too large");
    EXPECT_EQ(Load(L"empty.xml"), L"File is empty");
    EXPECT_EQ(Load(L"missing.xml"), L"Error opening file");
    EXPECT_FALSE(LoadSkinFile(m_markup, L"broken.xml"));
    EXPECT_EQ(m_markup.ParseError(), L"Unmatched closing tag");
    EXPECT_FALSE(m_markup.ParseErrorLocation().empty()) << "a parse error keeps its place";
}

TEST_F(SkinFileTest, FromAnArchiveInMemory)
{
    const Bytes zip = MakeZip(ArchiveItems());
    SetSkinArchive(zip.data(), static_cast<unsigned>(zip.size()));
    ExpectArchiveReads();
}

TEST_F(SkinFileTest, FromAnArchiveFileKeptOpenOrOpenedForEachLoad)
{
    Write(L"skins.zip", MakeZip(ArchiveItems()));
    SetSkinArchive(L"skins.zip", true);
    ExpectArchiveReads();
    SetSkinArchive(L"skins.zip", false);
    ExpectArchiveReads();
    SetSkinArchive(L"no_such.zip", false);
    EXPECT_EQ(Load(L"options.xml"), L"Error opening zip file");
    SetSkinArchive(L"no_such.zip", true);
    EXPECT_EQ(Load(L"options.xml"), L"Error opening zip file");
}
