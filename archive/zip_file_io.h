// The Win32 side of the reader: file sources (a file name or a file handle), unzipping an
// entry to a file name or handle, and the folder files are unzipped into. Outside Windows
// these kinds do not exist and the functions refuse with ResultBadArguments.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/zip_reader.h"
#include "archive/zip_result.h"

class ZipSource;
class ZipItemStream;

// Opens a source of kind ZipFileHandle (`source` is a HANDLE, duplicated; it must be a disk
// file, read from its current position on) or ZipFileName (`source` is a wide file name of
// an existing file). Returns ResultOk and the source, owned by the caller, in `out`; else
// ResultUnseekable, ResultDuplicateHandle or ResultCannotOpen.
ZipResult openFileSource(const void* source, uint32_t kind, std::unique_ptr<ZipSource>& out);

// The current folder followed by a backslash: the root of files unzipped by name.
std::wstring currentFolder();

// Creates the folder `destination` (a wide relative path) names under `rootFolder`, for a
// directory entry unzipped to a file name; ResultOk without doing anything for a handle.
ZipResult createEntryFolder(const std::wstring& rootFolder, const void* destination, uint32_t kind);

// Writes the whole entry delivered by `stream` to `destination`: a file handle, or a wide
// path relative to `rootFolder` (folders on the way are created; the file is replaced and
// gets the entry's attributes; on failure it is removed). Disk files get the entry's times.
// Returns ResultOk, ResultBadArguments for a path leaving the root, ResultCannotOpen,
// ResultWriteError, ResultReadError or ResultCorrupt.
ZipResult writeEntryToFile(ZipItemStream& stream, const ZipEntry& entry,
                           const std::wstring& rootFolder, const void* destination, uint32_t kind);
