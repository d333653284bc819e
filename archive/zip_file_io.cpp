// Win32 file sources and file destinations of the zip reader. Outside Windows the file kinds
// are refused with ResultBadArguments.
#include "archive/zip_file_io.h"

#ifdef _WIN32

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "archive/zip_item_stream.h"
#include "archive/zip_path.h"
#include "archive/zip_source.h"

namespace {

// Owns a kernel handle and closes it.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle)
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle)
    {
    }
    ~UniqueHandle()
    {
        if (handle_ != nullptr) CloseHandle(handle_);
    }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle& operator=(UniqueHandle&&) = delete;

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HANDLE handle_ = nullptr;
};

// A disk file read from `start` on, through a handle it owns.
class FileZipSource final : public ZipSource {
public:
    FileZipSource(UniqueHandle file, uint64_t start, uint64_t size)
        : file_(std::move(file)), start_(start), size_(size)
    {
    }

    uint64_t size() const override { return size_; }

    size_t readAt(uint64_t offset, void* out, size_t count) const override
    {
        if (offset >= size_) return 0;
        if (count > size_ - offset) count = static_cast<size_t>(size_ - offset);
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(start_ + offset);
        if (!SetFilePointerEx(file_.get(), position, nullptr, FILE_BEGIN)) return 0;
        size_t done = 0;
        while (done < count) {
            const DWORD piece = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
            DWORD read = 0;
            if (!ReadFile(file_.get(), static_cast<uint8_t*>(out) + done, piece, &read, nullptr) ||
                read == 0) {
                break;
            }
            done += read;
        }
        return done;
    }

    const uint8_t* view(uint64_t, uint64_t) const override { return nullptr; }

private:
    UniqueHandle file_;
    uint64_t start_;
    uint64_t size_;
};

// Makes a source of `file` from its current position to its end.
ZipResult makeFileSource(UniqueHandle file, std::unique_ptr<ZipSource>& out)
{
    LARGE_INTEGER start{};
    LARGE_INTEGER size{};
    const LARGE_INTEGER zero{};
    if (!SetFilePointerEx(file.get(), zero, &start, FILE_CURRENT) ||
        !GetFileSizeEx(file.get(), &size) || size.QuadPart < start.QuadPart) {
        return ResultUnseekable;
    }
    const uint64_t begin = static_cast<uint64_t>(start.QuadPart);
    const uint64_t length = static_cast<uint64_t>(size.QuadPart) - begin;
    out = std::make_unique<FileZipSource>(std::move(file), begin, length);
    return ResultOk;
}

ZipResult openHandleSource(HANDLE handle, std::unique_ptr<ZipSource>& out)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return ResultBadArguments;
    if (GetFileType(handle) != FILE_TYPE_DISK) return ResultUnseekable;
    HANDLE duplicate = nullptr;
    const HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, handle, process, &duplicate, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return ResultDuplicateHandle;
    }
    return makeFileSource(UniqueHandle(duplicate), out);
}

ZipResult openNamedSource(const wchar_t* name, std::unique_ptr<ZipSource>& out)
{
    if (name == nullptr) return ResultBadArguments;
    UniqueHandle file(CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ResultCannotOpen;
    return makeFileSource(std::move(file), out);
}

// Creates `folder` (relative, checked) under `root` one level at a time.
bool createFolderChain(const std::wstring& root, const std::wstring& folder)
{
    for (size_t i = 0; i <= folder.size(); ++i) {
        const bool end = i == folder.size();
        if (!end && folder[i] != L'/' && folder[i] != L'\\') continue;
        const std::wstring path = root + folder.substr(0, i);
        if (path.size() > root.size() && !CreateDirectoryW(path.c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    return true;
}

// The folder part of `path`: everything before its last slash or backslash.
std::wstring folderPart(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"/\\");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

uint32_t fileAttributesOf(const ZipEntry& entry)
{
    const uint32_t attributes = entry.attributes & ~(ZipAttributeDirectory | ZipAttributeNormal);
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

FILETIME toFileTime(uint64_t time)
{
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(time);
    result.dwHighDateTime = static_cast<DWORD>(time >> 32);
    return result;
}

bool writeAll(HANDLE file, const uint8_t* data, size_t length)
{
    DWORD written = 0;
    return WriteFile(file, data, static_cast<DWORD>(length), &written, nullptr) &&
           written == length;
}

// Copies the rest of `stream` to `file` in 16 KiB pieces.
ZipResult copyStream(ZipItemStream& stream, HANDLE file)
{
    std::vector<uint8_t> piece(16 * 1024);
    while (!stream.finished()) {
        const ZipItemStream::ReadResult read = stream.read(piece.data(), piece.size());
        if (read.status == ZipItemStream::Status::SourceError) return ResultReadError;
        if (read.status == ZipItemStream::Status::DataError) return ResultCorrupt;
        if (!writeAll(file, piece.data(), read.produced)) return ResultWriteError;
    }
    return ResultOk;
}

void setEntryTimes(HANDLE file, const ZipEntry& entry)
{
    if (GetFileType(file) != FILE_TYPE_DISK) return;
    const FILETIME created = toFileTime(entry.creationTime);
    const FILETIME accessed = toFileTime(entry.accessTime);
    const FILETIME modified = toFileTime(entry.modificationTime);
    // A file whose times cannot be set still holds the right bytes; the failure is ignored.
    SetFileTime(file, &created, &accessed, &modified);
}

ZipResult writeToNamedFile(ZipItemStream& stream, const ZipEntry& entry, const std::wstring& root,
                           const std::wstring& name)
{
    if (!isSafeRelativePath(name)) return ResultBadArguments;
    const std::wstring folder = folderPart(name);
    if (!folder.empty() && !createFolderChain(root, folder)) return ResultCannotOpen;
    const std::wstring path = root + name;
    ZipResult result = ResultOk;
    {
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return ResultCannotOpen;
        result = copyStream(stream, file.get());
        if (result == ResultOk) setEntryTimes(file.get(), entry);
    }
    // A partial file would pass for the entry: remove it.
    if (result != ResultOk) {
        DeleteFileW(path.c_str());
        return result;
    }
    // Applied last so a read-only entry does not stop the writing.
    SetFileAttributesW(path.c_str(), fileAttributesOf(entry));
    return ResultOk;
}

}  // namespace

ZipResult openFileSource(const void* source, uint32_t kind, std::unique_ptr<ZipSource>& out)
{
    if (kind == ZipFileHandle) return openHandleSource(const_cast<HANDLE>(source), out);
    if (kind == ZipFileName) return openNamedSource(static_cast<const wchar_t*>(source), out);
    return ResultBadArguments;
}

std::wstring currentFolder()
{
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length == 0) return L".\\";
    std::wstring folder(length, L'\0');
    const DWORD written = GetCurrentDirectoryW(length, folder.data());
    folder.resize(written);
    if (folder.empty() || folder.back() != L'\\') folder.push_back(L'\\');
    return folder;
}

ZipResult createEntryFolder(const std::wstring& rootFolder, const void* destination, uint32_t kind)
{
    if (kind != ZipFileName) return ResultOk;
    const std::wstring name(static_cast<const wchar_t*>(destination));
    if (!isSafeRelativePath(name)) return ResultBadArguments;
    return createFolderChain(rootFolder, name) ? ResultOk : ResultCannotOpen;
}

ZipResult writeEntryToFile(ZipItemStream& stream, const ZipEntry& entry,
                           const std::wstring& rootFolder, const void* destination, uint32_t kind)
{
    if (kind == ZipFileName) {
        return writeToNamedFile(stream, entry, rootFolder,
                                static_cast<const wchar_t*>(destination));
    }
    const HANDLE file = const_cast<HANDLE>(destination);
    if (file == INVALID_HANDLE_VALUE) return ResultBadArguments;
    const ZipResult result = copyStream(stream, file);
    if (result == ResultOk) setEntryTimes(file, entry);
    return result;
}

#else  // file sources and destinations exist only on Windows

#include "archive/zip_source.h"

ZipResult openFileSource(const void*, uint32_t, std::unique_ptr<ZipSource>&)
{
    return ResultBadArguments;
}

std::wstring currentFolder()
{
    return {};
}

ZipResult createEntryFolder(const std::wstring&, const void*, uint32_t)
{
    return ResultBadArguments;
}

ZipResult writeEntryToFile(ZipItemStream&, const ZipEntry&, const std::wstring&, const void*,
                           uint32_t)
{
    return ResultBadArguments;
}

#endif
