// The worker's seams: what tests replace to observe or break it without a real fault (the pause
// between attempts, the package file).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
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
    // Empties the file, so what is written next starts it: the answer was not the continuation
    // of what it held. False when it could not be emptied (nothing more can be written then).
    virtual bool restart() = 0;
    // Closes the file; true when everything written reached it. Called once at most.
    virtual bool close() = 0;
};

// Opens the package file at `path` with the wide file functions. With `keep` 0 it is created
// (or truncated); otherwise it is continued after its first `keep` bytes, which it must hold
// exactly. Null when it cannot be created, or does not hold exactly `keep` bytes.
std::unique_ptr<PackageSink> openPackageFile(const std::wstring& path, std::uint64_t keep);

struct WorkerSeams {
    // Blocks for the given time between attempts (Sleep by default).
    std::function<void(std::chrono::milliseconds)> pause;
    // Opens the package file for one download attempt, keeping its first `keep` bytes
    // (openPackageFile by default).
    std::function<std::unique_ptr<PackageSink>(const std::wstring& path, std::uint64_t keep)>
        openPackage;
};

// The seams of a real run: Sleep and openPackageFile.
WorkerSeams realWorkerSeams();
