// Reading an entry's data: copy or raw inflate, with the CRC-32 check at the end.
#include "archive/zip_item_stream.h"

#include <algorithm>
#include <climits>

#include "archive/zip_directory.h"
#include "archive/zip_source.h"

namespace {

// zlib's crc32 takes 32-bit lengths.
uint32_t updateCrc(uint32_t crc, const uint8_t* data, size_t length)
{
    while (length > 0) {
        const uInt piece = static_cast<uInt>(std::min<size_t>(length, UINT_MAX));
        crc = static_cast<uint32_t>(crc32(crc, data, piece));
        data += piece;
        length -= piece;
    }
    return crc;
}

}  // namespace

ZipItemStream::ZipItemStream(const ZipSource& source, const CentralRecord& record,
                             uint64_t dataOffset)
    : source_(source), deflated_(record.method == ZipMethodDeflated), compressedOffset_(dataOffset),
      compressedLeft_(record.compressedSize), uncompressedLeft_(record.uncompressedSize),
      expectedCrc_(record.crc32), crc_(static_cast<uint32_t>(crc32(0, nullptr, 0)))
{
}

std::unique_ptr<ZipItemStream> ZipItemStream::open(const ZipSource& source,
                                                   const CentralRecord& record, uint64_t dataOffset)
{
    std::unique_ptr<ZipItemStream> stream(new ZipItemStream(source, record, dataOffset));
    if (!stream->deflated_) return stream;
    // Negative window bits: raw deflate, no zlib header or trailer; 32 KiB window.
    if (inflateInit2(&stream->inflater_, -MAX_WBITS) != Z_OK) return nullptr;
    return stream;
}

ZipItemStream::~ZipItemStream()
{
    if (deflated_) inflateEnd(&inflater_);
}

ZipItemStream::ReadResult ZipItemStream::read(uint8_t* out, size_t count)
{
    count = static_cast<size_t>(std::min<uint64_t>(count, uncompressedLeft_));
    Status status = Status::Ok;
    const size_t produced =
        deflated_ ? inflateInto(out, count, status) : readStored(out, count, status);
    crc_ = updateCrc(crc_, out, produced);
    uncompressedLeft_ -= produced;
    if (status != Status::Ok) return {produced, status};
    if (uncompressedLeft_ > 0 && inflateEnded_) return {produced, Status::DataError};
    if (uncompressedLeft_ == 0 && crc_ != expectedCrc_) return {produced, Status::DataError};
    return {produced, Status::Ok};
}

size_t ZipItemStream::readStored(uint8_t* out, size_t count, Status& status)
{
    const size_t copied = source_.readAt(compressedOffset_, out, count);
    compressedOffset_ += copied;
    compressedLeft_ -= copied;
    if (copied < count) status = Status::SourceError;
    return copied;
}

bool ZipItemStream::refillInput()
{
    const uint64_t length = std::min<uint64_t>(compressedLeft_, UINT_MAX);
    const uint8_t* inPlace = source_.view(compressedOffset_, length);
    if (inPlace != nullptr) {
        inflater_.next_in = const_cast<Bytef*>(inPlace);  // zlib never writes through next_in
        inflater_.avail_in = static_cast<uInt>(length);
    } else {
        input_.resize(InputBufferSize);
        const size_t wanted = static_cast<size_t>(std::min<uint64_t>(length, InputBufferSize));
        if (!source_.readExact(compressedOffset_, input_.data(), wanted)) return false;
        inflater_.next_in = input_.data();
        inflater_.avail_in = static_cast<uInt>(wanted);
    }
    compressedOffset_ += inflater_.avail_in;
    compressedLeft_ -= inflater_.avail_in;
    return true;
}

size_t ZipItemStream::inflateInto(uint8_t* out, size_t count, Status& status)
{
    if (inflateEnded_) return 0;
    inflater_.next_out = out;
    inflater_.avail_out = static_cast<uInt>(count);  // count <= uncompressed size < 4 GiB
    while (inflater_.avail_out > 0) {
        if (inflater_.avail_in == 0) {
            if (compressedLeft_ == 0) {
                status = Status::DataError;  // the data ends before the entry is complete
                break;
            }
            if (!refillInput()) {
                status = Status::SourceError;
                break;
            }
        }
        const int rc = inflate(&inflater_, Z_SYNC_FLUSH);
        if (rc == Z_STREAM_END) {
            inflateEnded_ = true;
            break;
        }
        if (rc != Z_OK) {
            status = Status::DataError;
            break;
        }
    }
    return count - inflater_.avail_out;
}
