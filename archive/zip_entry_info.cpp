// Attributes, times and names of ZipEntry descriptions.
#include "archive/zip_entry_info.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "archive/zip_bytes.h"
#include "archive/zip_directory.h"
#include "archive/zip_text.h"

namespace {

constexpr int64_t FileTimeTicksPerSecond = 10000000;
// Seconds from 1601-01-01 (file times) to 1970-01-01 (Unix times).
constexpr int64_t FileTimeToUnixEpochSeconds = 11644473600;

constexpr uint32_t UnixDirectoryType = 0x40000000;
constexpr uint32_t UnixOwnerWrite = 0x00800000;

constexpr uint16_t ExtendedTimestampTag = 0x5455;  // "UT"
constexpr uint8_t TimestampModified = 1;
constexpr uint8_t TimestampAccessed = 2;
constexpr uint8_t TimestampCreated = 4;

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
int64_t daysFromCivil(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

uint64_t secondsToFileTime(int64_t unixSeconds)
{
    return static_cast<uint64_t>((unixSeconds + FileTimeToUnixEpochSeconds) *
                                 FileTimeTicksPerSecond);
}

struct EntryTimes {
    uint64_t modified;
    uint64_t accessed;
    uint64_t created;
};

// Applies the first "UT" block of a local extra field: a flags byte, then one signed
// 32-bit Unix time per flag set, in the order modified, accessed, created. Blocks and
// times that would reach past the field are ignored.
void applyExtendedTimestamp(const std::vector<uint8_t>& extra, EntryTimes& times)
{
    size_t position = 0;
    while (position + 4 < extra.size()) {
        const uint16_t tag = readLe16(&extra[position]);
        const size_t dataLength = readLe16(&extra[position + 2]);
        const size_t data = position + 4;
        if (tag != ExtendedTimestampTag) {
            position = data + dataLength;
            continue;
        }
        if (dataLength == 0) return;
        const size_t end = std::min(extra.size(), data + dataLength);
        const uint8_t flags = extra[data];
        size_t next = data + 1;
        for (auto [flag, target] : {std::pair{TimestampModified, &times.modified},
                                    std::pair{TimestampAccessed, &times.accessed},
                                    std::pair{TimestampCreated, &times.created}}) {
            if ((flags & flag) == 0) continue;
            if (next + 4 > end) return;
            *target = unixToFileTime(static_cast<int32_t>(readLe32(&extra[next])));
            next += 4;
        }
        return;
    }
}

}  // namespace

uint32_t entryAttributes(uint32_t a)
{
    uint32_t attributes = ZipAttributeNormal;
    if ((a & 0x10) != 0 || (a & UnixDirectoryType) != 0) attributes |= ZipAttributeDirectory;
    if ((a & 0x20) != 0) attributes |= ZipAttributeArchive;
    if ((a & 0x02) != 0) attributes |= ZipAttributeHidden;
    if ((a & 0x01) != 0 || (a & UnixOwnerWrite) == 0) attributes |= ZipAttributeReadOnly;
    if ((a & 0x04) != 0) attributes |= ZipAttributeSystem;
    return attributes;
}

uint64_t dosToFileTime(uint16_t dosDate, uint16_t dosTime)
{
    const int64_t year = 1980 + (dosDate >> 9);
    // Damaged dates (month or day 0, month 13 to 15) are clamped rather than rejected.
    const unsigned month = std::clamp((dosDate >> 5) & 0x0F, 1, 12);
    const unsigned day = std::max(dosDate & 0x1F, 1);
    const int64_t seconds =
        (dosTime >> 11) * 3600 + ((dosTime >> 5) & 0x3F) * 60 + (dosTime & 0x1F) * 2;
    return secondsToFileTime(daysFromCivil(year, month, day) * 86400 + seconds);
}

uint64_t unixToFileTime(int32_t unixTime)
{
    return secondsToFileTime(unixTime);
}

void fillZipEntry(int32_t index, const CentralRecord& record,
                  const std::vector<uint8_t>& localExtra, ZipEntry& entry)
{
    std::memset(&entry, 0, sizeof entry);
    entry.index = index;
    const std::wstring name = narrowToWideName(record.name);
    const size_t nameLength = std::min(name.size(), ZipMaxPath - 1);
    std::copy_n(name.data(), nameLength, entry.name);
    entry.attributes = entryAttributes(record.externalAttributes);

    const uint64_t dosTime = dosToFileTime(record.dosDate, record.dosTime);
    EntryTimes times{dosTime, dosTime, dosTime};
    applyExtendedTimestamp(localExtra, times);
    entry.modificationTime = times.modified;
    entry.accessTime = times.accessed;
    entry.creationTime = times.created;

    entry.compressedSize = static_cast<int32_t>(record.compressedSize);
    entry.uncompressedSize = static_cast<int32_t>(record.uncompressedSize);
}
