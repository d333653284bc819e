// The package download: up to four HTTP GETs of the package into the install folder, with a
// pause after each failure, reporting progress to the download window.
#pragma once

#include "app/download_job.h"
#include "app/worker_seams.h"

#include <chrono>

constexpr int kDownloadAttempts = 4;
constexpr std::chrono::milliseconds kPauseAfterFailedDownload{3000};

// Downloads the package of `job` to its package path. An attempt succeeds only when the answer
// has status 200 (redirects are not followed, compressed answers are refused), its whole body
// was written and the file closed cleanly; an unusable job, a file that cannot be created, a
// client that cannot be made or a lost connection fail it without (or after) the request.
// Each failure is followed by the pause, the last one too. Returns true once an attempt
// succeeds, false after four failures (the partial file then stays).
bool downloadPackage(const DownloadJob& job, const WorkerSeams& seams);
