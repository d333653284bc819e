// The worker's real seams: the package file through the wide C runtime functions, and Sleep.
#include "app/worker_seams.h"

#include <windows.h>

#include <cstdio>

namespace {

// The body arrives in blocks of at most 4 KiB; gathering them spares the system one write each.
constexpr std::size_t kFileBufferBytes = 256 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

class PackageFile final : public PackageSink {
public:
    explicit PackageFile(std::FILE* file) : file_(file) {}

    bool write(const char* data, std::size_t size) override
    {
        return std::fwrite(data, 1, size, file_.get()) == size;
    }
    bool close() override { return std::fclose(file_.release()) == 0; }

private:
    std::unique_ptr<std::FILE, FileCloser> file_;
};

}  // namespace

std::unique_ptr<PackageSink> openPackageFile(const std::wstring& path)
{
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return nullptr;
    std::setvbuf(file, nullptr, _IOFBF, kFileBufferBytes);
    return std::make_unique<PackageFile>(file);
}

WorkerSeams realWorkerSeams()
{
    WorkerSeams seams;
    seams.pause = [](std::chrono::milliseconds time) { Sleep(static_cast<DWORD>(time.count())); };
    seams.openPackage = openPackageFile;
    return seams;
}
