// Parsing of the end record and the central directory, and the local header check.
// Every offset and length read from the archive is checked here, where it enters.
#include "archive/zip_directory.h"

#include <algorithm>

#include "archive/zip_bytes.h"
#include "archive/zip_source.h"

namespace {

constexpr uint32_t EndRecordSignature = 0x06054b50;
constexpr uint32_t CentralSignature = 0x02014b50;
constexpr uint32_t LocalSignature = 0x04034b50;
constexpr size_t EndRecordSize = 22;
constexpr size_t CentralRecordSize = 46;
constexpr size_t LocalHeaderSize = 30;
// The end record is followed by a comment of at most 65535 bytes.
constexpr uint64_t MaxEndRecordDistance = EndRecordSize + 0xFFFF;

// Returns the position of the last end record signature in the source that leaves room for
// a whole record behind it, or false when there is none.
bool findEndRecord(const ZipSource& source, uint64_t& position)
{
    const uint64_t size = source.size();
    if (size < EndRecordSize) return false;
    const uint64_t tailSize = std::min(size, MaxEndRecordDistance);
    const uint64_t tailStart = size - tailSize;
    std::vector<uint8_t> tail(static_cast<size_t>(tailSize));
    if (!source.readExact(tailStart, tail.data(), tail.size())) return false;
    for (size_t i = tail.size() - EndRecordSize + 1; i-- > 0;) {
        if (readLe32(&tail[i]) == EndRecordSignature) {
            position = tailStart + i;
            return true;
        }
    }
    return false;
}

// Fills `record` from the central record at `p`, which has `available` bytes of directory
// behind it. Returns the record's total length, or 0 when it is damaged.
size_t parseCentralRecord(const uint8_t* p, uint64_t available, CentralRecord& record)
{
    if (available < CentralRecordSize || readLe32(p) != CentralSignature) return 0;
    const size_t nameLength = readLe16(p + 28);
    const size_t total = CentralRecordSize + nameLength + readLe16(p + 30) + readLe16(p + 32);
    if (total > available) return 0;
    record.flags = readLe16(p + 8);
    record.method = readLe16(p + 10);
    record.dosTime = readLe16(p + 12);
    record.dosDate = readLe16(p + 14);
    record.crc32 = readLe32(p + 16);
    record.compressedSize = readLe32(p + 20);
    record.uncompressedSize = readLe32(p + 24);
    record.externalAttributes = readLe32(p + 38);
    record.localHeaderOffset = readLe32(p + 42);
    record.name.assign(reinterpret_cast<const char*>(p + CentralRecordSize), nameLength);
    return total;
}

}  // namespace

ZipResult ZipDirectory::parse(const ZipSource& source)
{
    declaredCount_ = 0;
    records_.clear();
    uint64_t position = 0;
    if (!findEndRecord(source, position)) return ResultNoEndRecord;
    uint8_t end[EndRecordSize];
    if (!source.readExact(position, end, sizeof end)) return ResultNoEndRecord;

    const uint16_t thisDisk = readLe16(end + 4);
    const uint16_t directoryDisk = readLe16(end + 6);
    const uint16_t entriesOnDisk = readLe16(end + 8);
    const uint16_t totalEntries = readLe16(end + 10);
    const uint32_t directorySize = readLe32(end + 12);
    const uint32_t directoryOffset = readLe32(end + 16);
    if (thisDisk != 0 || directoryDisk != 0 || entriesOnDisk != totalEntries) {
        return ResultBadEndRecord;
    }
    const uint64_t directoryEnd = uint64_t{directoryOffset} + directorySize;
    if (position < directoryEnd) return ResultBadEndRecord;

    declaredCount_ = totalEntries;
    // Whatever precedes the archive (a zip appended to a program, say) shifts every offset.
    const uint64_t bytesInFront = position - directoryEnd;
    readRecords(source, position - directorySize, directorySize, bytesInFront);
    return ResultOk;
}

void ZipDirectory::readRecords(const ZipSource& source, uint64_t directoryStart,
                               uint32_t directorySize, uint64_t bytesInFront)
{
    std::vector<uint8_t> copy;
    const uint8_t* directory = source.view(directoryStart, directorySize);
    if (directory == nullptr) {
        copy.resize(directorySize);
        if (!source.readExact(directoryStart, copy.data(), copy.size())) return;
        directory = copy.data();
    }
    // The count comes from the archive: reserve no more than the directory can hold.
    records_.reserve(std::min<uint32_t>(declaredCount_, directorySize / CentralRecordSize));
    uint64_t offset = 0;
    for (uint32_t i = 0; i < declaredCount_; ++i) {
        CentralRecord record;
        const size_t length =
            parseCentralRecord(directory + offset, directorySize - offset, record);
        if (length == 0) return;
        record.localHeaderOffset += bytesInFront;
        if (record.localHeaderOffset + LocalHeaderSize > source.size()) return;
        records_.push_back(std::move(record));
        offset += length;
    }
}

ZipResult readLocalHeader(const ZipSource& source, const CentralRecord& record, LocalEntryData& out)
{
    uint8_t header[LocalHeaderSize];
    if (!source.readExact(record.localHeaderOffset, header, sizeof header)) return ResultCorrupt;
    const uint16_t method = readLe16(header + 8);
    const bool sizesDeferred = (record.flags & ZipFlagDataDescriptor) != 0;
    if (readLe32(header) != LocalSignature || method != record.method ||
        (method != ZipMethodStored && method != ZipMethodDeflated) ||
        readLe16(header + 26) != record.name.size()) {
        return ResultCorrupt;
    }
    if (!sizesDeferred &&
        (readLe32(header + 14) != record.crc32 || readLe32(header + 18) != record.compressedSize ||
         readLe32(header + 22) != record.uncompressedSize)) {
        return ResultCorrupt;
    }
    // Stored data is its own size; anything else cannot be copied out faithfully.
    if (method == ZipMethodStored && record.compressedSize != record.uncompressedSize &&
        (record.flags & ZipFlagEncrypted) == 0) {
        return ResultCorrupt;
    }
    const uint64_t extraOffset = record.localHeaderOffset + LocalHeaderSize + record.name.size();
    const uint16_t extraLength = readLe16(header + 28);
    out.dataOffset = extraOffset + extraLength;
    if (out.dataOffset + record.compressedSize > source.size()) return ResultCorrupt;
    out.extra.resize(extraLength);
    if (!source.readExact(extraOffset, out.extra.data(), extraLength)) return ResultReadError;
    return ResultOk;
}
