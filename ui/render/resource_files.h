// Reading the bytes of skin files: plain files, program resources and entries of the skin
// archive configured in the resource settings.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace SkinUI {

using Bytes = std::vector<unsigned char>;

// Why a read of a file or an archive entry gave no bytes.
enum class ReadFailure {
    OpenFile,      // the file cannot be opened
    TooLarge,      // the file or entry holds more bytes than the read allows
    ReadFile,      // the file gave fewer bytes than its size
    OpenArchive,   // no skin archive is configured, or it cannot be opened
    MissingEntry,  // the archive holds no entry of that name
    UnpackEntry,   // the entry is damaged or cannot be unpacked
};

// The bytes of a read, or why there are none.
struct ReadResult {
    std::optional<Bytes> bytes;  // present when the read succeeded (possibly empty)
    ReadFailure failure{};       // meaningful only without bytes

    ReadResult(Bytes&& read) : bytes(std::move(read)) {}
    ReadResult(ReadFailure why) : failure(why) {}
    explicit operator bool() const { return bytes.has_value(); }
};

// The whole file at `path` (opened for shared reading). Fails with OpenFile, TooLarge (more
// than `maxSize` bytes) or ReadFile.
ReadResult ReadFileBytes(const std::wstring& path, size_t maxSize = 64u << 20);

// The resource `name` of `type` in the resource module. A name beginning with a digit names
// a resource by the number of its leading digits; a type made only of decimal digits is a
// numbered type. Nothing when it is not found.
std::optional<Bytes> ReadProgramResource(const std::wstring& name, const std::wstring& type);

// The entry `name` (letter case ignored) of the skin archive: the archive kept open by the
// resource settings, else the archive file in the resource folder opened for this read.
// Fails with OpenArchive (none configured, or it does not open), MissingEntry, TooLarge (more
// than `maxSize` bytes) or UnpackEntry.
ReadResult ReadSkinArchiveEntry(const std::wstring& name, size_t maxSize = 64u << 20);

}  // namespace SkinUI
