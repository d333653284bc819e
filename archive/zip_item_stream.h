// The open data stream of one entry: stored bytes are copied, deflated bytes inflated
// (raw deflate), and the CRC-32 of everything delivered is checked at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <zlib.h>

class ZipSource;
struct CentralRecord;

class ZipItemStream {
public:
    enum class Status {
        Ok,           // bytes (possibly none) delivered, data intact so far
        SourceError,  // the source could not be read
        DataError,    // the entry's data is damaged: bad deflate data, early end, wrong CRC
    };

    struct ReadResult {
        size_t produced;
        Status status;
    };

    // Needs a record whose local header was checked (data at `dataOffset`, inside the source)
    // with method stored or deflated and no encryption. The source must outlive the stream.
    // Returns null when the inflate state cannot be set up (out of memory).
    static std::unique_ptr<ZipItemStream> open(const ZipSource& source, const CentralRecord& record,
                                               uint64_t dataOffset);
    ~ZipItemStream();
    ZipItemStream(const ZipItemStream&) = delete;
    ZipItemStream& operator=(const ZipItemStream&) = delete;

    // Delivers up to `count` of the entry's next bytes into `out`; never more than the entry
    // has left. A DataError may come with the bytes of the same call already written.
    ReadResult read(uint8_t* out, size_t count);

    // True when every byte of the entry has been delivered and checked.
    bool finished() const { return uncompressedLeft_ == 0; }

private:
    ZipItemStream(const ZipSource& source, const CentralRecord& record, uint64_t dataOffset);
    size_t readStored(uint8_t* out, size_t count, Status& status);
    size_t inflateInto(uint8_t* out, size_t count, Status& status);
    bool refillInput();

    static constexpr size_t InputBufferSize = 16 * 1024;

    const ZipSource& source_;
    const bool deflated_;
    uint64_t compressedOffset_;  // next compressed byte in the source
    uint64_t compressedLeft_;
    uint64_t uncompressedLeft_;
    uint32_t expectedCrc_;
    uint32_t crc_;
    bool inflateEnded_ = false;
    // Compressed bytes of a file source pass through this buffer; a memory source is read
    // in place.
    std::vector<uint8_t> input_;
    z_stream inflater_{};
};
