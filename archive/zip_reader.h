// The zip reader's public operations: open an archive (from memory, a file name or a file
// handle), find or describe an entry, unzip an entry (to memory, a file name or a file
// handle), close. Every operation returns a ZipResult and stores it as the most recent
// result (see zip_result.h); none throws.
//
// Outside Windows only memory sources and memory destinations exist; the file kinds give
// ResultBadArguments there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "archive/zip_result.h"

// Kinds of sources for openZip and of destinations for unzipItem.
constexpr uint32_t ZipFileHandle = 1;  // a Win32 HANDLE passed as the pointer
constexpr uint32_t ZipFileName = 2;    // a terminated wide file name
constexpr uint32_t ZipMemory = 3;      // a memory block of the given length

constexpr size_t ZipMaxPath = 260;

// Windows file attribute bits reported in ZipEntry::attributes.
constexpr uint32_t ZipAttributeReadOnly = 0x01;
constexpr uint32_t ZipAttributeHidden = 0x02;
constexpr uint32_t ZipAttributeSystem = 0x04;
constexpr uint32_t ZipAttributeDirectory = 0x10;
constexpr uint32_t ZipAttributeArchive = 0x20;
constexpr uint32_t ZipAttributeNormal = 0x80;

// Description of one entry. Times are Windows file times: 100 ns units since 1601-01-01.
struct ZipEntry {
    int32_t index;             // entry index; the entry count for getZipItem(-1)
    wchar_t name[ZipMaxPath];  // stored name, at most 259 characters, terminated
    uint32_t attributes;
    uint64_t accessTime;
    uint64_t creationTime;
    uint64_t modificationTime;
    int32_t compressedSize;
    int32_t uncompressedSize;
};

// An open archive; created by openZip, released by closeZip.
struct ZipArchive;

// Opens an archive. kind ZipMemory: `source` points to `length` bytes that are not copied
// and must stay valid until closeZip. ZipFileName: `source` is a wide file name (length
// ignored). ZipFileHandle: `source` is an open, seekable file handle positioned at the start
// of the archive; it is duplicated, so the caller may close its own (length ignored).
// Returns the archive, owned by the caller until closeZip, or null on failure; the failure
// code (ResultNoEndRecord, ResultBadEndRecord, ResultBadArguments, ...) is then the most
// recent result.
ZipArchive* openZip(const void* source, size_t length, uint32_t kind);

// Finds the first entry whose stored name equals `name` (backslashes match slashes; with
// `ignoreCase` the ASCII letters match either case). On success fills `index` and `entry`
// (either may be null) and returns ResultOk; an entry whose local header is damaged gives
// ResultCorrupt. ResultNotFound sets index -1 and clears the entry with index -1.
ZipResult findZipItem(ZipArchive* archive, const wchar_t* name, bool ignoreCase, int32_t* index,
                      ZipEntry* entry);

// Describes entry `index` into `entry` (required). Index -1 gives the entry count in
// entry->index and zeroes the rest. Closes the item being unzipped, if any. Returns ResultOk,
// ResultBadArguments for an index outside -1 .. count - 1, ResultCorrupt for an entry whose
// local header is damaged or that lies behind a damaged directory record.
ZipResult getZipItem(ZipArchive* archive, int32_t index, ZipEntry* entry);

// Unzips entry `index`. kind ZipMemory: fills `destination` (length bytes) with the next
// bytes of the entry; ResultMoreData when bytes were produced (even if the entry is now
// complete), ResultOk once nothing is left, which closes the item. Reading in pieces means
// calling until ResultOk. Damaged data gives ResultCorrupt, encrypted data ResultEncrypted,
// a damaged local header or a failed read of the source ResultInflateError; each closes the
// item, so the next call starts it over.
// ZipFileName: `destination` is a wide path relative to the folder that was current when
// the archive was opened; absolute paths, drive letters and ".." are refused. Folders on
// the way are created; a directory entry only creates its folder. ZipFileHandle: writes the
// whole entry to the handle. Both file kinds return ResultOk when the entry is complete.
ZipResult unzipItem(ZipArchive* archive, int32_t index, void* destination, size_t length,
                    uint32_t kind);

// Closes the archive and releases it (and a file it opened or duplicated); the memory of a
// memory source stays the caller's. `archive` is invalid afterwards. Returns ResultOk, or
// ResultBadArguments for a null handle (nothing is released then).
ZipResult closeZip(ZipArchive* archive);

// Deleter so an archive can be held by std::unique_ptr.
struct ZipArchiveCloser {
    void operator()(ZipArchive* archive) const { closeZip(archive); }
};
using ZipArchivePtr = std::unique_ptr<ZipArchive, ZipArchiveCloser>;
