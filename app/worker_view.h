// WorkerView: what the download-and-install worker asks of the window that started it. The
// worker runs on a thread of its own; an implementation owned by the user interface thread
// carries every change to its controls and windows over to that thread (the framework is
// single-threaded).
#pragma once

#include "app/progress_bands.h"

#include <cstdint>
#include <string>

// The two ways the worker gives up, each with its message box text.
enum class WorkerFailure {
    Network,  // four failed downloads
    Install,  // the package could not be started three times
};

// The message box text of a failure (its title is workerFailureTitle()).
const wchar_t* workerFailureText(WorkerFailure failure);
const wchar_t* workerFailureTitle();

class WorkerView {
public:
    // The window outlives the worker (it is never deleted while the process runs).
    virtual ~WorkerView() = default;

    // The shortcut choices made in the options window; they never change.
    virtual bool desktopShortcut() const = 0;
    virtual bool startMenuShortcut() const = 0;

    // A new percentage of the download: set the bar and move the pictures. Called only when
    // the percentage changes, so at most 101 times per download that stays within its length.
    virtual void showProgress(const ProgressFrame& frame) = 0;
    // The package has arrived: hide the download window, centre and show the splash.
    virtual void switchToSplash() = 0;
    // The installation is done: report its end (the latency is endTime - startTime) and end
    // the process with exit code 0 once the report is sent or has failed.
    virtual void finish(std::int32_t endTime, std::int32_t startTime) = 0;
    // The worker gives up: show the failure's message box and end the process with code 0.
    virtual void fail(WorkerFailure failure) = 0;
};

// The real endings, for windows to call from finish() and fail():
// Starts the installEnd report for `version` on a detached thread; it ends the process.
void startInstallEndReport(const std::string& version, std::int32_t endTime,
                           std::int32_t startTime);
// Shows the failure's box (no owner, OK only) on the calling thread, then ends the process.
[[noreturn]] void showFailureAndExit(WorkerFailure failure);
