// Result codes of the zip reader, their texts, and the process-wide most recent result.
#pragma once

#include <cstddef>
#include <cstdint>

using ZipResult = uint32_t;

constexpr ZipResult ResultOk = 0x00000000;
// Not a result: asks formatZipMessage for the text of the most recent result.
constexpr ZipResult ResultMostRecent = 0x00000001;
constexpr ZipResult ResultDuplicateHandle = 0x00000100;
constexpr ZipResult ResultCannotOpen = 0x00000200;
constexpr ZipResult ResultNoMemory = 0x00000300;
constexpr ZipResult ResultWriteError = 0x00000400;
constexpr ZipResult ResultNotFound = 0x00000500;
constexpr ZipResult ResultMoreData = 0x00000600;
constexpr ZipResult ResultCorrupt = 0x00000700;
constexpr ZipResult ResultReadError = 0x00000800;
// The entry is encrypted; the reader cannot decrypt, so its data is refused.
constexpr ZipResult ResultEncrypted = 0x00000900;
constexpr ZipResult ResultBadArguments = 0x00010000;
constexpr ZipResult ResultNotMemoryArchive = 0x00020000;
constexpr ZipResult ResultMemoryTooSmall = 0x00030000;
constexpr ZipResult ResultPreviousError = 0x00040000;
constexpr ZipResult ResultAlreadyEnded = 0x00050000;
constexpr ZipResult ResultSizeMismatch = 0x00060000;
constexpr ZipResult ResultPartlyUnzipped = 0x00070000;
constexpr ZipResult ResultWrongMode = 0x00080000;
constexpr ZipResult ResultNotInitialised = 0x01000000;
constexpr ZipResult ResultUnseekable = 0x02000000;
constexpr ZipResult ResultNoChange = 0x04000000;
constexpr ZipResult ResultInflateError = 0x05000000;
// Opening failures of the archive parser, negative numbers stored as 32-bit codes:
// no end record (or the source could not be read), and an inconsistent end record.
constexpr ZipResult ResultNoEndRecord = static_cast<ZipResult>(-1);
constexpr ZipResult ResultBadEndRecord = static_cast<ZipResult>(-103);

// Returns the fixed text of `code` ("unknown zip result code" for codes without one).
// ResultMostRecent is not resolved here; the returned string is static.
const char* zipResultText(ZipResult code);

// Stores `code` as the most recent result of the process and returns it, so public
// operations can end with `return recordResult(...)`. Safe to call from any thread.
ZipResult recordResult(ZipResult code);

// Returns the most recent result stored by any public operation of the reader.
ZipResult lastZipResult();

// Writes the text of `code` (of the most recent result for ResultMostRecent) into `buffer`:
// at most size - 1 characters and a terminator; nothing when buffer is null or size is 0.
// Returns the length of the full text, so a call without a buffer sizes one.
size_t formatZipMessage(ZipResult code, char* buffer, size_t size);
