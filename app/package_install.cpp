// Running the silent installer and the programs it leaves in the install folder.
#include "app/package_install.h"

#include "app/kernel_handle.h"
#include "app/worker_view.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

namespace {

// One start of the installer, waited for. False when it could not be started.
bool startAndWait(const DownloadJob& job)
{
    std::wstring commandLine = installerCommandLine(job.packagePath, job.installDir);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(job.packagePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return false;
    const KernelHandle processHandle(process.hProcess);
    const KernelHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    return true;
}

// Starts a program of the install folder hidden; its outcome is not ours to judge.
void openInFolder(const DownloadJob& job, const wchar_t* program, const wchar_t* parameters)
{
    const std::wstring file = job.installDir + L"/" + program;
    ShellExecuteW(nullptr, L"open", file.c_str(), parameters, nullptr, SW_HIDE);
}

// "office" and a Windows line end. A folder where it cannot be written is not reported.
void writeChannelFile(const std::wstring& installDir)
{
    const std::wstring path = installDir + L"/channel.txt";
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return;
    static const char kChannel[] = "office\r\n";
    std::fwrite(kChannel, 1, sizeof kChannel - 1, file);
    std::fclose(file);
}

}  // namespace

std::wstring installerCommandLine(const std::wstring& packagePath, const std::wstring& installDir)
{
    return packagePath + L" /S /D=" + installDir;
}

bool runInstaller(const DownloadJob& job, const WorkerSeams& seams)
{
    for (int attempt = 1; attempt <= kInstallerStartAttempts; ++attempt) {
        if (startAndWait(job)) return true;
        if (attempt < kInstallerStartAttempts) seams.pause(kPauseBetweenInstallerStarts);
    }
    return false;
}

void runFinishingSteps(const DownloadJob& job)
{
    openInFolder(job, L"desktoplinkpath.exe", job.view->desktopShortcut() ? L"0" : L"2");
    if (job.view->startMenuShortcut()) openInFolder(job, L"menupath.exe", nullptr);
    writeChannelFile(job.installDir);
    openInFolder(job, L"RADovaza_ZO.exe", nullptr);
    DeleteFileW(job.packagePath.c_str());
}
