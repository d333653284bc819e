// Reading skin files; see resource_files.h.
#include "ui/resource_files.h"

#include "archive/zip_reader.h"
#include "ui/resource_settings.h"

#include <cwctype>

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

bool IsNumber(const std::wstring& text)
{
    if (text.empty() || text.size() > 5) return false;
    for (wchar_t c : text) {
        if (!std::iswdigit(c)) return false;
    }
    return true;
}

// A resource type: a number for decimal digits (MAKEINTRESOURCE), else the text.
const wchar_t* ResourceTypeId(const std::wstring& type)
{
    return IsNumber(type) ? MAKEINTRESOURCEW(std::stoi(type)) : type.c_str();
}

// A resource name: a name beginning with a digit names a resource by the number its leading
// digits make ("101" and "101.png" both name 101); other names are text. A number that cannot
// be a resource id (0 or above 65535) leaves the name as text.
const wchar_t* ResourceNameId(const std::wstring& name)
{
    if (name.empty() || name[0] < L'0' || name[0] > L'9') return name.c_str();
    unsigned long number = 0;
    for (size_t i = 0; i < name.size() && name[i] >= L'0' && name[i] <= L'9'; ++i) {
        number = number * 10 + (name[i] - L'0');
        if (number > 0xFFFF) return name.c_str();
    }
    return number == 0 ? name.c_str() : MAKEINTRESOURCEW(number);
}

std::optional<Bytes> ReadEntry(ZipArchive* archive, const std::wstring& name, size_t maxSize)
{
    int32_t index = -1;
    ZipEntry entry;
    if (findZipItem(archive, name.c_str(), true, &index, &entry) != ResultOk) return std::nullopt;
    if (entry.uncompressedSize < 0 || static_cast<size_t>(entry.uncompressedSize) > maxSize)
        return std::nullopt;
    Bytes bytes(static_cast<size_t>(entry.uncompressedSize));
    if (bytes.empty()) return bytes;
    ZipResult result = unzipItem(archive, index, bytes.data(), bytes.size(), ZipMemory);
    if (result != ResultOk && result != ResultMoreData) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<Bytes> ReadFileBytes(const std::wstring& path, size_t maxSize)
{
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxSize)
        return std::nullopt;
    Bytes bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return std::nullopt;
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

std::optional<Bytes> ReadSkinArchiveEntry(const std::wstring& name, size_t maxSize)
{
    if (SkinArchiveName().empty()) return std::nullopt;
    if (ZipArchive* open = OpenSkinArchive()) return ReadEntry(open, name, maxSize);
    std::wstring path = ResourceFolder() + SkinArchiveName();
    ZipArchivePtr archive(openZip(path.c_str(), 0, ZipFileName));
    if (!archive) return std::nullopt;
    return ReadEntry(archive.get(), name, maxSize);
}

}  // namespace SkinUI
