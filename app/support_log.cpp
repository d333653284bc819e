// The support log: one file handle behind a mutex, written line by line without buffering so
// the lines before a crash are on disk.
#include "app/support_log.h"

#include "app/kernel_handle.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

namespace {

struct SupportLog {
    std::mutex mutex;
    KernelHandle file;
};

// Never destroyed: the worker and the report threads may still write while the process ends.
// The system closes the file then; every line is already written through.
SupportLog& supportLog()
{
    static SupportLog* const log = new SupportLog;
    return *log;
}

std::wstring logPath()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    return std::wstring(folder, length) + L"VQUpdate.log";
}

// "2026-12-09 06:42:28.123 " in local time: what a user reads off the clock.
std::string timestamp()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char text[32] = {};
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

// One line: a line break inside `text` would split an event, so it becomes a space.
std::string formatLine(std::string_view text)
{
    std::string line = timestamp();
    line.reserve(line.size() + text.size() + 2);
    for (const char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
    line += "\r\n";
    return line;
}

}  // namespace

void openSupportLog()
{
    const std::wstring path = logPath();
    if (path.empty()) return;
    SupportLog& log = supportLog();
    const std::lock_guard<std::mutex> lock(log.mutex);
    log.file = KernelHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void logLine(std::string_view text) noexcept
{
    try {
        SupportLog& log = supportLog();
        const std::string line = formatLine(text);
        const std::lock_guard<std::mutex> lock(log.mutex);
        if (!log.file) return;
        DWORD written = 0;
        WriteFile(log.file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    } catch (...) {
        // No memory for a line: the log loses it, the installer goes on.
    }
}

std::string logText(std::wstring_view text)
{
    const int wideLength = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, out.data(), size, nullptr, nullptr);
    return out;
}
