// The worker's real seams: the package file through the wide C runtime functions, and Sleep.
#include "app/worker_seams.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <utility>

namespace {

// The body arrives in blocks of at most 4 KiB; gathering them spares the system one write each.
constexpr std::size_t kFileBufferBytes = 256 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Opens `path` with `mode` and the large write buffer; null when it cannot be opened.
std::FILE* openBuffered(const std::wstring& path, const wchar_t* mode)
{
    std::FILE* file = _wfopen(path.c_str(), mode);
    if (file) std::setvbuf(file, nullptr, _IOFBF, kFileBufferBytes);
    return file;
}

// The length of the file at `path`; nothing when it does not exist.
std::optional<std::uint64_t> fileLength(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class PackageFile final : public PackageSink {
public:
    PackageFile(std::FILE* file, std::wstring path) : file_(file), path_(std::move(path)) {}

    bool write(const char* data, std::size_t size) override
    {
        return file_ && std::fwrite(data, 1, size, file_.get()) == size;
    }
    bool restart() override
    {
        // Reopening truncates; on failure the runtime has closed the stream already.
        std::FILE* reopened = _wfreopen(path_.c_str(), L"wb", file_.release());
        if (!reopened) return false;
        file_.reset(reopened);
        std::setvbuf(reopened, nullptr, _IOFBF, kFileBufferBytes);
        return true;
    }
    bool close() override { return file_ && std::fclose(file_.release()) == 0; }

private:
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::wstring path_;
};

}  // namespace

std::unique_ptr<PackageSink> openPackageFile(const std::wstring& path, std::uint64_t keep)
{
    // Appending writes after the kept bytes whatever the stream's position.
    if (keep > 0 && fileLength(path) != keep) return nullptr;
    std::FILE* file = openBuffered(path, keep > 0 ? L"ab" : L"wb");
    if (!file) return nullptr;
    return std::make_unique<PackageFile>(file, path);
}

WorkerSeams realWorkerSeams()
{
    WorkerSeams seams;
    seams.pause = [](std::chrono::milliseconds time) { Sleep(static_cast<DWORD>(time.count())); };
    seams.openPackage = openPackageFile;
    return seams;
}
