// The worker's course from download to hand-over.
#include "app/download_worker.h"

#include "app/package_download.h"
#include "app/package_install.h"
#include "app/worker_view.h"

#include <windows.h>

#include <objbase.h>

#include <ctime>
#include <thread>

namespace {

// COM for the worker's thread while it runs, initialised the way the shell's documentation asks
// of threads that call ShellExecute (apartment-threaded, no OLE1 DDE).
class ShellThreadCom {
public:
    ShellThreadCom()
        : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    {
    }
    ~ShellThreadCom()
    {
        if (ok_) CoUninitialize();
    }
    ShellThreadCom(const ShellThreadCom&) = delete;
    ShellThreadCom& operator=(const ShellThreadCom&) = delete;

private:
    bool ok_;
};

std::int32_t now32()
{
    return static_cast<std::int32_t>(std::time(nullptr));
}

void runJob(const DownloadJob& job, const WorkerSeams& seams)
{
    // The shell starts the shortcut programs and the client from this thread.
    const ShellThreadCom com;
    if (!downloadPackage(job, seams)) return job.view->fail(WorkerFailure::Network);
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
