// The package download: up to four HTTP GETs of the package into the install folder, with a
// pause after each failure, reporting progress to the download window. An attempt that breaks
// off after a 200 answer offering byte ranges is continued by the next one from where the data
// ends, when the service confirms that it still serves the same file.
#pragma once

#include "app/download_job.h"
#include "app/worker_seams.h"

#include <chrono>
#include <cstdint>
#include <string>

constexpr int kDownloadAttempts = 4;
constexpr std::chrono::milliseconds kPauseAfterFailedDownload{3000};

// Downloads the package of `job` to its package path. An attempt succeeds only when the answer
// has status 200 (redirects are not followed, compressed answers are refused), or is the 206
// continuing the file as below, its whole body was written and the file closed cleanly; an
// unusable job, a file that cannot be created, a client that cannot be made or a lost
// connection fail it without (or after) the request. Each failure is followed by the pause,
// the last one too. Returns true once an attempt succeeds, false after four failures (the
// partial file then stays).
bool downloadPackage(const DownloadJob& job, const WorkerSeams& seams);

// What an interrupted download left for the next attempt: the package's first bytes on disk
// and the validator that asks the service for the rest of the same file.
struct PartialPackage {
    std::uint64_t received = 0;  // bytes of the package in the file
    std::uint64_t total = 0;     // the package's length, as its 200 answer announced it
    std::string validator;       // the If-Range value; empty when the answer cannot be continued

    // True when the next attempt asks for the rest ("Range: bytes=received-") instead of the
    // whole package.
    bool resumable() const { return !validator.empty() && received > 0 && received < total; }
};

// The If-Range value that lets a 200 answer with these headers be continued later: its ETag
// (unless weak, which If-Range cannot carry), else its Last-Modified. Empty unless the answer
// said "Accept-Ranges: bytes".
std::string resumeValidator(const std::string& acceptRanges, const std::string& etag,
                            const std::string& lastModified);

// True when a 206 answer's Content-Range ("bytes N-L/T") continues `partial` to its end: N is
// the bytes on disk, T the same total and L = T - 1.
bool continuesPackage(const std::string& contentRange, const PartialPackage& partial);

// The length a Content-Length header announces; 0 when absent or not a plain number.
std::uint64_t announcedLength(const std::string& contentLength);
