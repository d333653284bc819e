// Helpers for the tests of the installer's steps: a scratch folder removed afterwards, small
// files, and programs started under a chosen file name.
#pragma once

#include "app/kernel_handle.h"
#include "tests/app/utf8_text.h"

#include <windows.h>

#include <string>

namespace InstallerTesting {

// A fresh empty folder under the temporary folder (no trailing backslash), removed with
// everything in it when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return m_path; }
    // path() + "\" + relative.
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

private:
    std::wstring m_path;
};

void writeTextFile(const std::wstring& path, const std::string& text);
// The whole file, or "" when it cannot be read.
std::string readTextFile(const std::wstring& path);

// A drive letter with nothing behind it, as "Q:".
std::wstring missingDrive();

// The folder of the running test program (ending in a backslash).
std::wstring programFolder();

// A copy of `program` started as `path` (the copy's file name is the process's name).
// Terminated with exit code 99 when the object goes, if still running.
class RunningCopy {
public:
    RunningCopy(const std::wstring& program, const std::wstring& path,
                const std::wstring& arguments = L"");
    ~RunningCopy();
    RunningCopy(const RunningCopy&) = delete;
    RunningCopy& operator=(const RunningCopy&) = delete;

    bool started() const { return static_cast<bool>(m_process); }
    bool running() const;
    // Waits up to `milliseconds` for the end; returns the exit code, or -1 while it runs.
    long exitCode(DWORD milliseconds) const;

private:
    KernelHandle m_process;
};

}  // namespace InstallerTesting
