// Reading skin files; see resource_files.h.
#include "ui/render/resource_files.h"

#include "archive/zip_reader.h"
#include "ui/render/resource_settings.h"

namespace SkinUI {
namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// The resource id that the leading decimal digits of `text` make (with `digitsOnly`, only
// when there is nothing else); 0 when there are none or they make no valid id (above 65535).
WORD NumericId(const std::wstring& text, bool digitsOnly)
{
    size_t digits = 0;
    unsigned long number = 0;
    for (; digits < text.size() && text[digits] >= L'0' && text[digits] <= L'9'; ++digits) {
        number = number * 10 + (text[digits] - L'0');
        if (number > 0xFFFF) return 0;
    }
    if (digits == 0 || (digitsOnly && digits != text.size())) return 0;
    return static_cast<WORD>(number);
}

// A resource type: a number when it is made of decimal digits, else the text.
const wchar_t* ResourceTypeId(const std::wstring& type)
{
    WORD id = NumericId(type, true);
    return id ? MAKEINTRESOURCEW(id) : type.c_str();
}

// A resource name: a name beginning with a digit names a resource by the number its leading
// digits make ("101" and "101.png" both name 101); other names are text.
const wchar_t* ResourceNameId(const std::wstring& name)
{
    WORD id = NumericId(name, false);
    return id ? MAKEINTRESOURCEW(id) : name.c_str();
}

ReadResult ReadEntry(ZipArchive* archive, const std::wstring& name, size_t maxSize)
{
    int32_t index = -1;
    ZipEntry entry;
    ZipResult found = findZipItem(archive, name.c_str(), true, &index, &entry);
    if (found == ResultNotFound) return ReadFailure::MissingEntry;
    if (found != ResultOk || entry.uncompressedSize < 0) return ReadFailure::UnpackEntry;
    if (static_cast<size_t>(entry.uncompressedSize) > maxSize) return ReadFailure::TooLarge;
    Bytes bytes(static_cast<size_t>(entry.uncompressedSize));
    if (bytes.empty()) return bytes;
    ZipResult result = unzipItem(archive, index, bytes.data(), bytes.size(), ZipMemory);
    if (result != ResultOk && result != ResultMoreData) return ReadFailure::UnpackEntry;
    return bytes;
}

}  // namespace

ReadResult ReadFileBytes(const std::wstring& path, size_t maxSize)
{
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return ReadFailure::OpenFile;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return ReadFailure::ReadFile;
    if (static_cast<unsigned long long>(size.QuadPart) > maxSize) return ReadFailure::TooLarge;
    Bytes bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return ReadFailure::ReadFile;
    return bytes;
}

std::optional<Bytes> ReadProgramResource(const std::wstring& name, const std::wstring& type)
{
    HMODULE module = ResourceModule();
    HRSRC resource = FindResourceW(module, ResourceNameId(name), ResourceTypeId(type));
    if (!resource) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, resource);
    DWORD size = SizeofResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;  // resources need no unlocking
    if (!data) return std::nullopt;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    return Bytes(bytes, bytes + size);
}

ReadResult ReadSkinArchiveEntry(const std::wstring& name, size_t maxSize)
{
    if (SkinArchiveName().empty()) return ReadFailure::OpenArchive;
    if (ZipArchive* open = OpenSkinArchive()) return ReadEntry(open, name, maxSize);
    std::wstring path = ResourceFolder() + SkinArchiveName();
    ZipArchivePtr archive(openZip(path.c_str(), 0, ZipFileName));
    if (!archive) return ReadFailure::OpenArchive;
    return ReadEntry(archive.get(), name, maxSize);
}

}  // namespace SkinUI
