// Benchmark: from the start of a program to its window's first paint on the screen, for the
// installer (through its handshake with the running development service up to the options
// window) beside a bare Win32 window program started the same way.
//
//   first_paint_bench.exe RUNS NAME PROGRAM CLASS X Y [NAME PROGRAM CLASS X Y ...]
//
// Each run starts PROGRAM, waits for a visible window of CLASS and samples the screen pixel at
// (X, Y) of it until it has stayed the same for 1.5 s; the first paint is the last change
// before that (a window found painted counts from when it was found). The process is then
// terminated. Prints the median and the range of each
// program's runs in milliseconds, one line each ("NAME median=M min=A max=B"), and exits with
// 1 when a run saw no window within a minute.
#include "app/kernel_handle.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Subject {
    std::wstring name;
    std::wstring program;
    std::wstring windowClass;
    POINT sample;
};

double nowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

KernelHandle start(const std::wstring& program)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return KernelHandle();
    CloseHandle(info.hThread);
    return KernelHandle(info.hProcess);
}

COLORREF screenPixel(POINT point)
{
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return color;
}

// The window of the class once it is visible, or null after a minute.
HWND waitForWindow(const std::wstring& windowClass, double started)
{
    for (;;) {
        HWND window = FindWindowW(windowClass.c_str(), nullptr);
        if (window && IsWindowVisible(window)) return window;
        if (nowMs() - started > 60000) return nullptr;
        Sleep(1);
    }
}

// Milliseconds from `started` to the last change of the pixel before it settled (or to the
// window's appearance when it showed painted already).
std::optional<double> firstPaint(const Subject& subject, double started)
{
    HWND window = waitForWindow(subject.windowClass, started);
    if (!window) return std::nullopt;
    double changed = nowMs();
    RECT rect = {};
    GetWindowRect(window, &rect);
    const POINT point = {rect.left + subject.sample.x, rect.top + subject.sample.y};
    COLORREF last = screenPixel(point);
    while (nowMs() - changed < 1500) {
        const COLORREF color = screenPixel(point);
        if (color == last) continue;
        last = color;
        changed = nowMs();
    }
    return changed - started;
}

std::optional<double> measure(const Subject& subject)
{
    const double started = nowMs();
    KernelHandle process = start(subject.program);
    if (!process) return std::nullopt;
    const std::optional<double> result = firstPaint(subject, started);
    TerminateProcess(process.get(), 0);
    WaitForSingleObject(process.get(), 10000);
    Sleep(300);  // the window leaves the screen before the next run samples it
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 7 || (argc - 2) % 5 != 0) return 2;
    const int runs = std::max(1, _wtoi(argv[1]));
    std::vector<Subject> subjects;
    for (int i = 2; i + 4 < argc; i += 5)
        subjects.push_back(
            {argv[i], argv[i + 1], argv[i + 2], {_wtoi(argv[i + 3]), _wtoi(argv[i + 4])}});
    std::vector<std::vector<double>> times(subjects.size());
    // Alternating runs, so a slow moment of the machine falls on both.
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < subjects.size(); ++i) {
            const std::optional<double> ms = measure(subjects[i]);
            if (!ms) {
                std::printf("%ls: no window or no paint\n", subjects[i].name.c_str());
                return 1;
            }
            times[i].push_back(*ms);
        }
    }
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        std::sort(times[i].begin(), times[i].end());
        std::printf("%ls median=%.0f min=%.0f max=%.0f\n", subjects[i].name.c_str(),
                    times[i][times[i].size() / 2], times[i].front(), times[i].back());
    }
    return 0;
}
