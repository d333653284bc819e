// Inflating a large deflated entry from memory with unzipItem, against zlib's own
// uncompress of the same deflate data in the same run. Prints both throughputs and the
// ratio (the reader should reach at least 95 % of zlib).
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "archive/zip_reader.h"

namespace {

constexpr size_t DataSize = 64u << 20;
constexpr int Rounds = 7;

// Text-like data: words from a small vocabulary with numbers between them, so it compresses
// about as well as markup does without being a trivial repetition.
std::vector<uint8_t> compressibleData(size_t size)
{
    static const char* const words[] = {"Button", "name",  "pos",    "text",  "Window", "image",
                                        "normal", "hot",   "pushed", "<",     ">",      "=\"",
                                        "\" ",    "Label", "font",   "color", "#FF",    "\n"};
    std::vector<uint8_t> data;
    data.reserve(size);
    uint32_t state = 12345;
    while (data.size() < size) {
        state = state * 1103515245u + 12345u;
        const char* word = words[(state >> 16) % (sizeof words / sizeof words[0])];
        data.insert(data.end(), word, word + std::strlen(word));
        if ((state & 3) == 0) {
            const std::string number = std::to_string((state >> 8) % 1000);
            data.insert(data.end(), number.begin(), number.end());
        }
    }
    data.resize(size);
    return data;
}

void putLe16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void putLe32(std::vector<uint8_t>& out, uint32_t value)
{
    putLe16(out, value & 0xFFFF);
    putLe16(out, value >> 16);
}

// A one-entry archive holding `raw` (raw deflate of `size` bytes with CRC `crc`).
std::vector<uint8_t> oneEntryZip(const uint8_t* raw, size_t rawSize, size_t size, uint32_t crc)
{
    const std::string name = "big.bin";
    std::vector<uint8_t> zip;
    auto commonFields = [&] {
        putLe16(zip, 20);  // version needed
        putLe16(zip, 0);   // flags
        putLe16(zip, 8);   // deflated
        putLe32(zip, 0);   // DOS time and date
        putLe32(zip, crc);
        putLe32(zip, static_cast<uint32_t>(rawSize));
        putLe32(zip, static_cast<uint32_t>(size));
        putLe16(zip, static_cast<uint32_t>(name.size()));
        putLe16(zip, 0);  // extra length
    };
    putLe32(zip, 0x04034b50);
    commonFields();
    zip.insert(zip.end(), name.begin(), name.end());
    zip.insert(zip.end(), raw, raw + rawSize);
    const uint32_t directoryOffset = static_cast<uint32_t>(zip.size());
    putLe32(zip, 0x02014b50);
    putLe16(zip, 20);  // version made by
    commonFields();
    putLe16(zip, 0);  // comment length
    putLe16(zip, 0);  // start disk
    putLe16(zip, 0);  // internal attributes
    putLe32(zip, 0);  // external attributes
    putLe32(zip, 0);  // local header offset
    zip.insert(zip.end(), name.begin(), name.end());
    const uint32_t directorySize = static_cast<uint32_t>(zip.size()) - directoryOffset;
    putLe32(zip, 0x06054b50);
    putLe32(zip, 0);  // disk numbers
    putLe16(zip, 1);
    putLe16(zip, 1);
    putLe32(zip, directorySize);
    putLe32(zip, directoryOffset);
    putLe16(zip, 0);
    return zip;
}

template <typename Work>
double bestSeconds(Work work)
{
    double best = 1e30;
    for (int round = 0; round < Rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        if (!work()) return -1;
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

}  // namespace

int main()
{
    const std::vector<uint8_t> data = compressibleData(DataSize);
    uLongf zlibSize = compressBound(DataSize);
    std::vector<uint8_t> zlibStream(zlibSize);
    if (compress2(zlibStream.data(), &zlibSize, data.data(), DataSize, 6) != Z_OK) return 1;
    zlibStream.resize(zlibSize);
    // A zlib stream is a 2-byte header, the raw deflate data and a 4-byte Adler-32.
    const uint32_t crc = static_cast<uint32_t>(crc32(0, data.data(), DataSize));
    const std::vector<uint8_t> zip =
        oneEntryZip(zlibStream.data() + 2, zlibSize - 6, DataSize, crc);
    std::vector<uint8_t> out(DataSize);

    const double zlibSeconds = bestSeconds([&] {
        uLongf produced = DataSize;
        return uncompress(out.data(), &produced, zlibStream.data(), zlibStream.size()) == Z_OK &&
               produced == DataSize;
    });
    const double readerSeconds = bestSeconds([&] {
        ZipArchivePtr archive(openZip(zip.data(), zip.size(), ZipMemory));
        return archive &&
               unzipItem(archive.get(), 0, out.data(), out.size(), ZipMemory) == ResultMoreData &&
               unzipItem(archive.get(), 0, out.data(), out.size(), ZipMemory) == ResultOk;
    });
    if (zlibSeconds <= 0 || readerSeconds <= 0 || out != data) {
        std::fprintf(stderr, "zip_bench: inflating failed\n");
        return 1;
    }
    const double megabytes = DataSize / 1048576.0;
    std::printf("deflated %zu MiB to %zu bytes (%.1f %%)\n", DataSize >> 20, zip.size(),
                100.0 * zip.size() / DataSize);
    std::printf("zlib uncompress: %8.1f MiB/s\n", megabytes / zlibSeconds);
    std::printf("unzipItem:       %8.1f MiB/s\n", megabytes / readerSeconds);
    std::printf("ratio unzipItem/uncompress: %.1f %% (target >= 95 %%)\n",
                100.0 * zlibSeconds / readerSeconds);
    return 0;
}
