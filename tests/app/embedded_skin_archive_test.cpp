// Checks the skin archive inside the built VQUpdate.exe the way the installer meets it: the
// "ZIPRES" 101 resource read through the project's zip reader, every entry unzipped, every
// picture decoded.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "archive/zip_reader.h"

// The decoder the skin framework uses (its one implementation lives in the skinui library).
#include <stb/stb_image.h>

namespace {

struct SkinEntry {
    const wchar_t* name;
    uint16_t method;  // 0 stored, 8 deflated
    int width;        // 0 for skin files
    int height;
};

// The archive's contract with the skins and the windows: names, order, methods, pixel sizes.
const SkinEntry kSkinEntries[] = {
    {L"agreement.xml", 8, 0, 0},         {L"start.png", 0, 601, 250},
    {L"options.xml", 8, 0, 0},           {L"processBbg.png", 8, 1217, 39},
    {L"processFbg.png", 8, 1217, 39},    {L"processvideo.png", 8, 96, 96},
    {L"processscreen.png", 8, 120, 96},  {L"processaudio.png", 8, 75, 101},
    {L"prcessgame.png", 8, 144, 96},     {L"download.xml", 8, 0, 0},
    {L"pathchooseh.png", 8, 242, 200},   {L"closeh.png", 8, 200, 200},
    {L"installbtH.png", 8, 653, 200},    {L"installbt.png", 8, 653, 200},
    {L"agreementbg.png", 8, 2972, 1872}, {L"checkboxnormal.png", 8, 52, 52},
    {L"checkboxnormal1.png", 0, 48, 48}, {L"checkboxselect.png", 0, 52, 52},
    {L"checkboxselect1.png", 0, 48, 48}, {L"closebt.png", 8, 200, 200},
    {L"pathchoose.png", 0, 92, 76},      {L"update_bg.png", 8, 2996, 1484},
};
constexpr int kSkinEntryCount = sizeof(kSkinEntries) / sizeof(kSkinEntries[0]);

struct ModuleFree {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModulePtr = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

struct ImageFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};
using ImagePtr = std::unique_ptr<stbi_uc, ImageFree>;

// The installer built next to this test (VQ_INSTALLER_RELATIVE_PATH is relative to the
// folder of the test executable).
std::wstring installerPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.erase(path.find_last_of(L"\\/") + 1);
    for (const char* c = VQ_INSTALLER_RELATIVE_PATH; *c; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }
    return path;
}

// The executable loaded as data only, and its skin archive resource (owned by the module).
struct EmbeddedArchive {
    ModulePtr module;
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

EmbeddedArchive loadEmbeddedArchive()
{
    EmbeddedArchive result;
    result.module.reset(LoadLibraryExW(installerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!result.module) return result;
    HRSRC info = FindResourceW(result.module.get(), MAKEINTRESOURCEW(101), L"ZIPRES");
    HGLOBAL loaded = info ? LoadResource(result.module.get(), info) : nullptr;
    if (!loaded) return result;
    result.bytes = static_cast<const uint8_t*>(LockResource(loaded));
    result.size = SizeofResource(result.module.get(), info);
    return result;
}

// The entry names are plain ASCII.
std::string ascii(const wchar_t* name)
{
    return std::string(name, name + wcslen(name));
}

uint32_t readLe(const uint8_t* p, int bytes)
{
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
}

// Compression methods in central-directory order. The reader does not report methods, so
// the test walks the directory itself; empty when the archive has no readable end record.
std::vector<uint16_t> centralMethods(const uint8_t* bytes, size_t size)
{
    std::vector<uint16_t> methods;
    if (size < 22 || readLe(bytes + size - 22, 4) != 0x06054b50) return methods;  // no comment
    const uint8_t* end = bytes + size - 22;
    size_t at = readLe(end + 16, 4);
    for (uint32_t n = readLe(end + 10, 2); n > 0 && at + 46 <= size; --n) {
        const uint8_t* record = bytes + at;
        if (readLe(record, 4) != 0x02014b50) break;
        methods.push_back(static_cast<uint16_t>(readLe(record + 10, 2)));
        at += 46 + readLe(record + 28, 2) + readLe(record + 30, 2) + readLe(record + 32, 2);
    }
    return methods;
}

class EmbeddedSkinArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        embedded_ = loadEmbeddedArchive();
        ASSERT_NE(embedded_.module, nullptr) << "cannot load the installer as data";
        ASSERT_NE(embedded_.bytes, nullptr) << "the installer has no ZIPRES 101 resource";
        archive_.reset(openZip(embedded_.bytes, embedded_.size, ZipMemory));
        ASSERT_NE(archive_, nullptr) << "the skin archive does not open";
    }

    // Unzips an entry the way the skin framework does: found ignoring case, into a buffer of
    // exactly its size, "more data" accepted as success.
    std::vector<uint8_t> unzip(const wchar_t* name)
    {
        int32_t index = -1;
        ZipEntry entry{};
        if (findZipItem(archive_.get(), name, true, &index, &entry) != ResultOk) return {};
        std::vector<uint8_t> data(static_cast<size_t>(entry.uncompressedSize));
        ZipResult result = unzipItem(archive_.get(), index, data.data(), data.size(), ZipMemory);
        if (result != ResultOk && result != ResultMoreData) return {};
        return data;
    }

    EmbeddedArchive embedded_;
    ZipArchivePtr archive_;
};

TEST_F(EmbeddedSkinArchive, HoldsTheSkinEntriesInOrderWithTheirMethods)
{
    ZipEntry count{};
    ASSERT_EQ(getZipItem(archive_.get(), -1, &count), ResultOk);
    ASSERT_EQ(count.index, kSkinEntryCount);
    std::vector<uint16_t> methods = centralMethods(embedded_.bytes, embedded_.size);
    ASSERT_EQ(methods.size(), size_t(kSkinEntryCount));
    for (int i = 0; i < kSkinEntryCount; ++i) {
        ZipEntry entry{};
        ASSERT_EQ(getZipItem(archive_.get(), i, &entry), ResultOk);
        EXPECT_STREQ(entry.name, kSkinEntries[i].name) << "entry " << i;
        EXPECT_EQ(methods[i], kSkinEntries[i].method) << "entry " << i;
    }
}

TEST_F(EmbeddedSkinArchive, EverySkinUnzipsAndEveryPictureDecodesToItsSize)
{
    for (const SkinEntry& expected : kSkinEntries) {
        SCOPED_TRACE(testing::Message() << "entry " << ascii(expected.name));
        std::vector<uint8_t> data = unzip(expected.name);
        ASSERT_FALSE(data.empty());
        if (expected.width == 0) {
            EXPECT_EQ(std::string(data.begin(), data.end()).rfind("<?xml", 0), 0u);
            continue;
        }
        int width = 0, height = 0, channels = 0;
        ImagePtr pixels(stbi_load_from_memory(data.data(), static_cast<int>(data.size()), &width,
                                              &height, &channels, 4));
        ASSERT_NE(pixels, nullptr) << stbi_failure_reason();
        EXPECT_EQ(width, expected.width);
        EXPECT_EQ(height, expected.height);
        EXPECT_EQ(channels, 4) << "not an RGBA picture";
        EXPECT_FALSE(stbi_is_16_bit_from_memory(data.data(), static_cast<int>(data.size())))
            << "not an 8-bit picture";
    }
}

}  // namespace
