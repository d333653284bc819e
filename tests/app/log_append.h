// One line appended to a log that other test programs append to at the same moment.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

// The C runtime's append mode seeks to the end and then writes, so two programs started
// together (the shell starts the package's three programs without waiting) can write at the
// same offset: one line is lost or torn. An exclusive open, retried for a few seconds while
// another writer holds the file, keeps every line whole.
inline bool appendLine(const std::wstring& path, const std::string& line)
{
    using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;
    for (int attempt = 0; attempt < 500; ++attempt) {
        HANDLE opened = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (opened == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
            Sleep(10);
            continue;
        }
        const Handle file(opened, &CloseHandle);
        DWORD written = 0;
        return SetFilePointer(file.get(), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
               WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written,
                         nullptr) &&
               written == line.size();
    }
    return false;
}
