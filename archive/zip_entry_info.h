// Building the ZipEntry description of an entry: attributes, times and name.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/zip_reader.h"

struct CentralRecord;

// Windows attributes from the external attributes of a central record (DOS bits in the low
// byte, Unix mode in the high 16 bits).
uint32_t entryAttributes(uint32_t externalAttributes);

// File time of a DOS date and time taken as they stand (no time zone applied).
uint64_t dosToFileTime(uint16_t dosDate, uint16_t dosTime);

// File time of a signed 32-bit Unix time.
uint64_t unixToFileTime(int32_t unixTime);

// Fills `entry` for entry `index` from its central record and its local extra field; an
// extended-timestamp ("UT") block in the extra field overrides the DOS time.
void fillZipEntry(int32_t index, const CentralRecord& record,
                  const std::vector<uint8_t>& localExtra, ZipEntry& entry);
