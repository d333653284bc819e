// The download-and-install worker: downloads the package, switches to the splash, runs the
// silent installer and the finishing steps, and hands the end over to its view.
#pragma once

#include "app/download_job.h"
#include "app/worker_seams.h"

// The worker's thread body. Every change to the windows, the end report and the failure boxes
// go through job.view. Returns after view->finish() or view->fail() (real views end the
// process there). Never throws.
void runDownloadJob(DownloadJob job, const WorkerSeams& seams = realWorkerSeams()) noexcept;

// Starts runDownloadJob on a detached thread that owns the job.
void startDownloadWorker(DownloadJob job);
