// Helpers shared by the zip reader tests: the fixture archives written at build time by
// make_zip_fixtures.py, and unzipping a whole entry into a vector.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/zip_reader.h"

// Path of a fixture file. Under Wine the Linux file system is drive Z:.
inline std::string fixturePath(const std::string& name)
{
    std::string path = std::string(ZIP_FIXTURE_DIR) + "/" + name;
#ifdef _WIN32
    path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
#endif
    return path;
}

inline std::vector<uint8_t> readFixture(const std::string& name)
{
    std::ifstream file(fixturePath(name), std::ios::binary);
    EXPECT_TRUE(file) << "missing fixture " << name;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// Seconds since 1970 as a Windows file time.
constexpr uint64_t fileTimeOf(int64_t unixSeconds)
{
    return static_cast<uint64_t>((unixSeconds + 11644473600) * 10000000);
}

// An archive opened from memory, with the bytes it reads.
class MemoryArchive {
public:
    explicit MemoryArchive(std::vector<uint8_t> bytes)
        : bytes_(std::move(bytes)), archive_(openZip(bytes_.data(), bytes_.size(), ZipMemory))
    {
    }
    explicit MemoryArchive(const std::string& fixture) : MemoryArchive(readFixture(fixture)) {}

    ZipArchive* get() const { return archive_.get(); }
    explicit operator bool() const { return archive_ != nullptr; }

private:
    std::vector<uint8_t> bytes_;
    ZipArchivePtr archive_;
};

// Unzips entry `index` into a buffer of its exact size, as the skin loader does; fails the
// test unless that gives ResultMoreData and the next call ResultOk.
inline std::vector<uint8_t> unzipWhole(ZipArchive* archive, int32_t index)
{
    ZipEntry entry{};
    EXPECT_EQ(getZipItem(archive, index, &entry), ResultOk);
    std::vector<uint8_t> data(static_cast<size_t>(entry.uncompressedSize));
    if (data.empty()) {
        EXPECT_EQ(unzipItem(archive, index, &entry, 0, ZipMemory), ResultOk);
        return data;
    }
    EXPECT_EQ(unzipItem(archive, index, data.data(), data.size(), ZipMemory), ResultMoreData);
    EXPECT_EQ(unzipItem(archive, index, data.data(), data.size(), ZipMemory), ResultOk);
    return data;
}

inline std::vector<uint8_t> sourceFile(const std::string& name)
{
    return readFixture("src/" + name);
}
