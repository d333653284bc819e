// Running the silent installer and the programs it leaves in the install folder.
#include "app/package_install.h"

#include "app/kernel_handle.h"
#include "app/support_log.h"
#include "app/worker_view.h"

#include <windows.h>

#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

std::string errorText(const char* what, unsigned long code)
{
    return std::string(what) + " " + std::to_string(code);
}

// The installer's exit code, for the log only: what it says changes nothing that follows.
void logInstallerExit(HANDLE process, ULONGLONG started)
{
    DWORD code = 0;
    const std::string after = " after " + std::to_string(GetTickCount64() - started) + " ms";
    logLine(GetExitCodeProcess(process, &code)
                ? "installer exited with code " + std::to_string(code) + after
                : "installer ended" + after +
                      errorText(", exit code unreadable, error", GetLastError()));
}

// One start of the installer, waited for. False when it could not be started.
bool startAndWait(const DownloadJob& job)
{
    std::wstring commandLine = installerCommandLine(job.packagePath, job.installDir);
    logLine("installer start: " + logText(commandLine));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(job.packagePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        logLine(errorText("installer start failed, error", GetLastError()));
        return false;
    }
    const KernelHandle processHandle(process.hProcess);
    const KernelHandle threadHandle(process.hThread);
    const ULONGLONG started = GetTickCount64();
    WaitForSingleObject(process.hProcess, INFINITE);
    logInstallerExit(process.hProcess, started);
    return true;
}

// Starts a program of the install folder hidden; its outcome only goes into the log.
void openInFolder(const DownloadJob& job, const wchar_t* program, const wchar_t* parameters)
{
    const std::wstring file = job.installDir + L"/" + program;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), parameters, nullptr, SW_HIDE));
    const std::string step = logText(program) + (parameters ? " " + logText(parameters) : "");
    // Above 32 is success; 32 and below are the shell's error codes.
    logLine(result > 32 ? step + " started" : step + errorText(" not started, error", result));
}

// "office" and a Windows line end. A folder where it cannot be written is only logged.
void writeChannelFile(const std::wstring& installDir)
{
    const std::wstring path = installDir + L"/channel.txt";
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return logLine(errorText("channel.txt not written, errno", errno));
    static const char kChannel[] = "office\r\n";
    const bool written = std::fwrite(kChannel, 1, sizeof kChannel - 1, file) == sizeof kChannel - 1;
    logLine(std::fclose(file) == 0 && written ? "channel.txt written" : "channel.txt not written");
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
    logLine(DeleteFileW(job.packagePath.c_str())
                ? "package deleted"
                : errorText("package not deleted, error", GetLastError()));
}
