// Where an archive's bytes come from: the source interface and the memory source.
// The Win32 file sources live in zip_file_io.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

// Random-access reader over the bytes of an archive. Offsets are relative to the start of
// the archive's source (for a file handle: the position the handle had when it was opened).
class ZipSource {
public:
    virtual ~ZipSource() = default;

    // Total number of bytes in the source.
    virtual uint64_t size() const = 0;

    // Copies up to `count` bytes at `offset` into `out`; returns the number copied, which is
    // smaller than `count` only at the end of the source or on a read failure.
    virtual size_t readAt(uint64_t offset, void* out, size_t count) const = 0;

    // Returns the bytes [offset, offset + count) in place when the source is held in memory
    // and the range lies inside it, else null. The pointer stays valid as long as the source.
    virtual const uint8_t* view(uint64_t offset, uint64_t count) const = 0;

    // Reads exactly `count` bytes at `offset`; false when fewer are available.
    bool readExact(uint64_t offset, void* out, size_t count) const
    {
        return readAt(offset, out, count) == count;
    }
};

// A memory block owned by the caller; it must outlive the source. Nothing is copied.
class MemoryZipSource final : public ZipSource {
public:
    MemoryZipSource(const void* data, size_t size)
        : data_(static_cast<const uint8_t*>(data)), size_(size)
    {
    }

    uint64_t size() const override { return size_; }
    size_t readAt(uint64_t offset, void* out, size_t count) const override;
    const uint8_t* view(uint64_t offset, uint64_t count) const override;

private:
    const uint8_t* data_;
    size_t size_;
};
