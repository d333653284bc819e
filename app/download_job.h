// DownloadJob: everything the download-and-install worker needs, filled by the download window
// when the download starts and owned by the worker's thread.
#pragma once

#include <cstdint>
#include <string>

class WorkerView;

struct DownloadJob {
    std::string origin;          // "http://host[:port]"; empty when the address was refused
    std::wstring packagePath;    // installDir + "/" + the address's file name; empty when refused
    std::string remotePath;      // path and query requested from origin
    WorkerView* view = nullptr;  // the download window; outlives the worker
    std::wstring installDir;     // the install folder exactly as chosen
    std::int32_t startTime = 0;  // seconds since 1970 (low 32 bits) when the download started

    // False when the download address could not be used (not plain http://, no path, or a
    // file name that is not a plain name): every attempt then fails without a request.
    bool usable() const { return !origin.empty() && !packagePath.empty(); }
};

// The job for `downloadAddress` (narrow, as the service sent it) into `installDir`. The file
// name is taken in the system's ANSI code page and must be a plain name; otherwise the job is
// returned unusable.
DownloadJob makeDownloadJob(const std::string& downloadAddress, const std::wstring& installDir,
                            std::int32_t startTime, WorkerView* view);
