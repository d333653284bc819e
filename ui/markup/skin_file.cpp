// Loading skin files; see skin_file.h.
#include "ui/markup/skin_file.h"

#include "ui/render/resource_files.h"
#include "ui/render/resource_settings.h"

namespace SkinUI {
namespace {

SkinLoadError FileLoadError(ReadFailure failure)
{
    switch (failure) {
    case ReadFailure::OpenFile: return SkinLoadError::OpenFile;
    case ReadFailure::TooLarge: return SkinLoadError::FileTooLarge;
    case ReadFailure::ReadFile: return SkinLoadError::ReadFile;
    case ReadFailure::OpenArchive: return SkinLoadError::OpenZip;
    case ReadFailure::MissingEntry: return SkinLoadError::FindZipEntry;
    case ReadFailure::UnpackEntry: return SkinLoadError::UnzipEntry;
    }
    return SkinLoadError::ReadFile;
}

ReadResult ReadSkinFileBytes(const std::wstring& name)
{
    if (SkinArchiveName().empty()) return ReadFileBytes(ResourceFolder() + name, kMaxSkinFileSize);
    return ReadSkinArchiveEntry(name, kMaxSkinFileSize);
}

}  // namespace

bool LoadSkinFile(CSkinMarkup& markup, const std::wstring& name, SkinEncoding encoding)
{
    ReadResult read = ReadSkinFileBytes(name);
    if (!read) return markup.FailLoad(FileLoadError(read.failure));
    // The size limit was applied by the read; only an empty file is left to refuse.
    if (std::optional<SkinLoadError> refused = CheckSkinFileSize(read.bytes->size()))
        return markup.FailLoad(*refused);
    return markup.LoadSkinBytes(read.bytes->data(), read.bytes->size(), encoding);
}

}  // namespace SkinUI
