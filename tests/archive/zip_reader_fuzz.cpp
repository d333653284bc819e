// libFuzzer entry point: open any bytes as an archive from memory, then describe, find and
// unzip every entry, whole and in small pieces.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/zip_reader.h"

namespace {

// Bounds the work per input: archives may claim entries of gigabytes.
constexpr size_t MaxBuffer = 64 * 1024;
constexpr int MaxCalls = 32;
constexpr int32_t MaxEntries = 64;

void unzipInPieces(ZipArchive* archive, int32_t index, size_t piece)
{
    std::vector<uint8_t> buffer(piece);
    for (int call = 0; call < MaxCalls; ++call) {
        if (unzipItem(archive, index, buffer.data(), buffer.size(), ZipMemory) != ResultMoreData) {
            return;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ZipArchivePtr archive(openZip(data, size, ZipMemory));
    if (!archive) return 0;
    ZipEntry entry{};
    if (getZipItem(archive.get(), -1, &entry) != ResultOk) return 0;
    const int32_t count = entry.index < MaxEntries ? entry.index : MaxEntries;
    for (int32_t i = 0; i < count; ++i) {
        ZipEntry item{};
        if (getZipItem(archive.get(), i, &item) == ResultOk) {
            findZipItem(archive.get(), item.name, true, nullptr, nullptr);
        }
        const size_t whole =
            item.uncompressedSize > 0 ? static_cast<size_t>(item.uncompressedSize) : 1;
        unzipInPieces(archive.get(), i, whole < MaxBuffer ? whole : MaxBuffer);
        unzipInPieces(archive.get(), i, 7);
    }
    return 0;
}
