// The package download over the service client's HTTP set-up, straight from the socket to the
// package file.
#include "app/package_download.h"

#include "app/progress_bands.h"
#include "app/worker_view.h"
#include "service/install_service.h"

#include <httplib.h>

namespace {

// Hands a new percentage to the view only when it changes: one update per percent, not one
// per block of the body.
class ProgressReporter {
public:
    explicit ProgressReporter(WorkerView& view) : view_(view) {}

    void update(std::uint64_t received, std::uint64_t total)
    {
        const auto percent = progressPercent(received, total);
        if (!percent || *percent == lastPercent_) return;
        lastPercent_ = *percent;
        view_.showProgress(progressFrame(*percent));
    }

private:
    WorkerView& view_;
    int lastPercent_ = -1;
};

// One GET of the package into `sink`. True for a 200 answer whose body was written whole.
bool fetchInto(const DownloadJob& job, PackageSink& sink)
{
    const auto client = makeServiceClient(job.origin);
    if (!client) return false;

    bool written = true;
    ProgressReporter progress(*job.view);
    const auto result = client->Get(
        job.remotePath, [](const httplib::Response&) { return true; },
        [&](const char* data, std::size_t size) { return written = sink.write(data, size); },
        [&](std::uint64_t received, std::uint64_t total) {
            progress.update(received, total);
            return true;
        });
    return result && result->status == 200 && written;
}

// One download attempt; never throws (a failure of any kind is a failed attempt).
bool attemptDownload(const DownloadJob& job, const WorkerSeams& seams) noexcept
{
    try {
        if (!job.usable()) return false;
        const auto sink = seams.openPackage(job.packagePath);
        if (!sink) return false;
        const bool fetched = fetchInto(job, *sink);
        return sink->close() && fetched;
    } catch (...) {
        return false;
    }
}

}  // namespace

bool downloadPackage(const DownloadJob& job, const WorkerSeams& seams)
{
    for (int attempt = 0; attempt < kDownloadAttempts; ++attempt) {
        if (attemptDownload(job, seams)) return true;
        seams.pause(kPauseAfterFailedDownload);
    }
    return false;
}
