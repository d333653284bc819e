// The parsed central directory of an archive: the end record, one validated record per
// entry, and the check of an entry's local header that locates its data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/zip_result.h"

class ZipSource;

// General-purpose flag bits the reader looks at.
constexpr uint16_t ZipFlagEncrypted = 0x0001;
constexpr uint16_t ZipFlagDataDescriptor = 0x0008;

constexpr uint16_t ZipMethodStored = 0;
constexpr uint16_t ZipMethodDeflated = 8;

// The central-directory fields of one entry. Every record in a ZipDirectory has its name
// inside the directory and its local header offset (already shifted by the bytes in front
// of the archive) inside the source.
struct CentralRecord {
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc32 = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t externalAttributes = 0;
    uint64_t localHeaderOffset = 0;
    std::string name;  // stored bytes, in the ANSI code page, not terminated
};

class ZipDirectory {
public:
    // Finds the end record in `source` and reads the central directory it describes.
    // Returns ResultNoEndRecord when there is none (or the source cannot be read) and
    // ResultBadEndRecord when it contradicts itself or the source. A damaged central record
    // does not fail parsing: the records before it stay usable (see readableCount).
    ZipResult parse(const ZipSource& source);

    // Number of entries the end record declares.
    uint32_t declaredCount() const { return declaredCount_; }

    // Number of entries, from the first, whose central records are intact. Smaller than
    // declaredCount() when the directory is damaged.
    uint32_t readableCount() const { return static_cast<uint32_t>(records_.size()); }

    // Needs index < readableCount().
    const CentralRecord& record(uint32_t index) const { return records_[index]; }

private:
    void readRecords(const ZipSource& source, uint64_t directoryStart, uint32_t directorySize,
                     uint64_t bytesInFront);

    uint32_t declaredCount_ = 0;
    std::vector<CentralRecord> records_;
};

// Where an entry's data lies, after its local header has been checked against the
// central record.
struct LocalEntryData {
    uint64_t dataOffset = 0;     // first byte of the (compressed) data in the source
    std::vector<uint8_t> extra;  // the local header's extra field
};

// Checks the local header of `record`: signature, the same method (stored or deflated), the
// same CRC and sizes unless they are deferred to a data descriptor, the same name length,
// and data that ends inside the source. Returns ResultOk and fills `out`, ResultCorrupt on
// any disagreement, ResultReadError when the extra field cannot be read.
ZipResult readLocalHeader(const ZipSource& source, const CentralRecord& record,
                          LocalEntryData& out);
