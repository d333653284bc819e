// The worker's seams: what tests replace to observe or break it without a real fault (the pause
// between attempts, the package file).
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// Where the downloaded bytes go. Every result counts: a write that does not take all its bytes
// or a close that fails means the package on disk is not the one sent.
class PackageSink {
public:
    virtual ~PackageSink() = default;
    // True when all `size` bytes were written.
    virtual bool write(const char* data, std::size_t size) = 0;
    // Closes the file; true when everything written reached it. Called once at most.
    virtual bool close() = 0;
};

// Creates (or truncates) the package file at `path` with the wide file functions; null when it
// cannot be created.
std::unique_ptr<PackageSink> openPackageFile(const std::wstring& path);

struct WorkerSeams {
    // Blocks for the given time between attempts (Sleep by default).
    std::function<void(std::chrono::milliseconds)> pause;
    // Opens the package file for one download attempt (openPackageFile by default).
    std::function<std::unique_ptr<PackageSink>(const std::wstring&)> openPackage;
};

// The seams of a real run: Sleep and openPackageFile.
WorkerSeams realWorkerSeams();
