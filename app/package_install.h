// The install phase of the worker: the silent installer run and the finishing steps (shortcut
// programs, channel file, client start, package removal).
#pragma once

#include "app/download_job.h"
#include "app/worker_seams.h"

#include <chrono>
#include <string>

constexpr int kInstallerStartAttempts = 3;
constexpr std::chrono::milliseconds kPauseBetweenInstallerStarts{1000};

// The installer's command line: the package path, " /S /D=" and the install folder, unquoted
// (the installer takes everything after "/D=" as the folder, spaces included).
std::wstring installerCommandLine(const std::wstring& packagePath, const std::wstring& installDir);

// Starts the package as a silent installer, up to three times one pause apart, and waits for
// it. The package path is the application name, so an unquoted path with spaces can never
// start another program. Returns false when it could not be started; its exit code goes into
// the support log only.
bool runInstaller(const DownloadJob& job, const WorkerSeams& seams);

// The finishing steps, each fire-and-forget: the desktop shortcut program ("0" when chosen,
// "2" when not), the start-menu shortcut program when chosen, "channel.txt" holding
// "office\r\n", the client, and the package removed.
void runFinishingSteps(const DownloadJob& job);
