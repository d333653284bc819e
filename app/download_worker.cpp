// The worker's course from download to hand-over.
#include "app/download_worker.h"

#include "app/com_apartment.h"
#include "app/package_download.h"
#include "app/package_install.h"
#include "app/support_log.h"
#include "app/worker_view.h"

#include <windows.h>

#include <ctime>
#include <thread>

namespace {

std::int32_t now32()
{
    return static_cast<std::int32_t>(std::time(nullptr));
}

void runJob(const DownloadJob& job, const WorkerSeams& seams)
{
    // The shell starts the shortcut programs and the client from this thread.
    const ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (!downloadPackage(job, seams)) return job.view->fail(WorkerFailure::Network);
    logLine("package downloaded: " + logText(job.packagePath));
    job.view->switchToSplash();
    if (!runInstaller(job, seams)) return job.view->fail(WorkerFailure::Install);
    runFinishingSteps(job);
    job.view->finish(now32(), job.startTime);
}

}  // namespace

void runDownloadJob(DownloadJob job, const WorkerSeams& seams) noexcept
{
    try {
        runJob(job, seams);
    } catch (...) {
        // Only an allocation can throw here; the installation cannot go on without memory,
        // and the user learns it as a failed download.
        job.view->fail(WorkerFailure::Network);
    }
}

void startDownloadWorker(DownloadJob job)
{
    std::thread([job = std::move(job)] { runDownloadJob(job); }).detach();
}
