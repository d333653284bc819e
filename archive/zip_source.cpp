// The memory source of the zip reader.
#include "archive/zip_source.h"

#include <algorithm>
#include <cstring>

size_t MemoryZipSource::readAt(uint64_t offset, void* out, size_t count) const
{
    if (count == 0 || offset >= size_) return 0;
    const size_t available = static_cast<size_t>(size_ - offset);
    const size_t copied = std::min(count, available);
    std::memcpy(out, data_ + offset, copied);
    return copied;
}

const uint8_t* MemoryZipSource::view(uint64_t offset, uint64_t count) const
{
    if (offset > size_ || count > size_ - offset) return nullptr;
    return data_ + offset;
}
