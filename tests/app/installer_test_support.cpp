// Scratch folders, files and started copies for the installer's tests.
#include "tests/app/installer_test_support.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdio>

namespace InstallerTesting {

ScratchFolder::ScratchFolder()
{
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    // Ids repeat between runs: a folder that exists already is not taken.
    const DWORD start = GetTickCount();
    for (DWORD attempt = start; attempt < start + 1000; ++attempt) {
        const std::wstring folder = std::wstring(base) + L"vq_app_test_" + std::to_wstring(attempt);
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            m_path = folder;
            return;
        }
    }
    ADD_FAILURE() << "no scratch folder under the temporary folder";
}

ScratchFolder::~ScratchFolder()
{
    if (m_path.empty()) return;
    // The shell's delete takes a list ending in two nulls and removes folders recursively.
    std::wstring from = m_path + L'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationW(&operation);
}

void writeTextFile(const std::wstring& path, const std::string& text)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr) << "cannot write a test file";
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

std::string readTextFile(const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return {};
    std::string text;
    char buffer[512];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), file)) > 0;)
        text.append(buffer, got);
    std::fclose(file);
    return text;
}

std::wstring missingDrive()
{
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Q'; letter <= L'Y'; ++letter) {
        if (!(drives & (1u << (letter - L'A')))) return std::wstring(1, letter) + L":";
    }
    ADD_FAILURE() << "every drive letter from Q to Y is in use";
    return L"Q:";
}

std::wstring programFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

RunningCopy::RunningCopy(const std::wstring& program, const std::wstring& path,
                         const std::wstring& arguments)
{
    if (!CopyFileW(program.c_str(), path.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy the test program";
        return;
    }
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start the copied test program";
        return;
    }
    CloseHandle(info.hThread);
    m_process.reset(info.hProcess);
}

RunningCopy::~RunningCopy()
{
    if (running()) {
        TerminateProcess(m_process.get(), 99);
        WaitForSingleObject(m_process.get(), 5000);
    }
}

bool RunningCopy::running() const
{
    return m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

long RunningCopy::exitCode(DWORD milliseconds) const
{
    if (!m_process || WaitForSingleObject(m_process.get(), milliseconds) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_process.get(), &code);
    return static_cast<long>(code);
}

}  // namespace InstallerTesting
