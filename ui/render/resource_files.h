// Reading the bytes of skin files: plain files, program resources and entries of the skin
// archive configured in the resource settings.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace SkinUI {

using Bytes = std::vector<unsigned char>;

// The whole file at `path`; nothing when it cannot be opened or read, or is larger than
// `maxSize` bytes.
std::optional<Bytes> ReadFileBytes(const std::wstring& path, size_t maxSize = 64u << 20);

// The resource `name` of `type` in the resource module. A name beginning with a digit names
// a resource by the number of its leading digits; a type made only of decimal digits is a
// numbered type. Nothing when it is not found.
std::optional<Bytes> ReadProgramResource(const std::wstring& name, const std::wstring& type);

// The entry `name` (letter case ignored) of the skin archive: the archive kept open by the
// resource settings, else the archive file in the resource folder opened for this read.
// Nothing when no archive is configured, the entry is missing or cannot be unpacked.
std::optional<Bytes> ReadSkinArchiveEntry(const std::wstring& name, size_t maxSize = 64u << 20);

}  // namespace SkinUI
