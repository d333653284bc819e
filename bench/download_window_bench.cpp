// Benchmark probes for the download window; figures only, no limits.
//
//   download_window_bench.exe replies CLASS SECONDS
//       Waits up to a minute for a visible window of CLASS (in any process), then sends it
//       WM_NULL every 10 ms with a one-second limit and times each reply, until the window is
//       hidden or gone or SECONDS have passed. Prints
//       "replies all n=N p50=MS p99=MS max=MS timeouts=T" (a message without a reply counts
//       as one second), then the same line "replies after-1s ..." of the messages sent after
//       the window's first second; exits with 1 when no window showed.
//   download_window_bench.exe idle ARCHIVE SECONDS download|bare|bare-timer
//       Opens the download window with the skins of the zip file ARCHIVE (or a bare popup
//       window; with a 10 ms timer, the one a layered skinned window keeps for its repaints),
//       hides it as the worker does before installing, lets it settle for a second, then runs
//       the message loop for SECONDS and prints "idle WHICH cpu=MS wall=MS": the process's CPU
//       time (kernel and user, GetProcessTimes) over that idle time.
#include "app/download_window.h"
#include "ui/render/resource_settings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr double kProbeIntervalMs = 10;
constexpr UINT kReplyLimitMs = 1000;
constexpr DWORD kSettleMs = 1000;

double nowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// --- Reply times ------------------------------------------------------------------------------

HWND waitForVisibleWindow(const wchar_t* windowClass)
{
    const double started = nowMs();
    for (;;) {
        HWND window = FindWindowW(windowClass, nullptr);
        if (window && IsWindowVisible(window)) return window;
        if (nowMs() - started > 60000) return nullptr;
        Sleep(1);
    }
}

// Sleeps until `deadline` (a nowMs value); returns at once when it has passed.
void sleepUntil(double deadline)
{
    const double left = deadline - nowMs();
    if (left > 0) Sleep(static_cast<DWORD>(left));
}

double percentile(const std::vector<double>& sorted, int percent)
{
    const std::size_t index = sorted.size() * static_cast<std::size_t>(percent) / 100;
    return sorted[std::min(index, sorted.size() - 1)];
}

struct Reply {
    double sentAt;  // ms since the window was found
    double ms;      // the reply time; the limit for a message without a reply
    bool answered;
};

// One summary line of the replies sent at or after `from` ms.
void printReplies(const char* name, const std::vector<Reply>& replies, double from)
{
    std::vector<double> times;
    int timeouts = 0;
    for (const Reply& reply : replies) {
        if (reply.sentAt < from) continue;
        times.push_back(reply.ms);
        timeouts += reply.answered ? 0 : 1;
    }
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    std::printf("replies %s n=%u p50=%.3f p99=%.3f max=%.3f timeouts=%d\n", name,
                static_cast<unsigned>(times.size()), percentile(times, 50), percentile(times, 99),
                times.back(), timeouts);
}

int runReplies(const wchar_t* windowClass, double seconds)
{
    HWND window = waitForVisibleWindow(windowClass);
    if (!window) return 1;
    std::vector<Reply> replies;
    const double found = nowMs();
    // A message that waited long is followed by the next one 10 ms later, not by a burst
    // making up for the ones that could not be sent meanwhile.
    for (double next = found; next < found + seconds * 1000 && IsWindowVisible(window);
         next = std::max(next + kProbeIntervalMs, nowMs())) {
        sleepUntil(next);
        const double sent = nowMs();
        DWORD_PTR result = 0;
        const bool answered =
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kReplyLimitMs, &result) != 0;
        replies.push_back({sent - found, answered ? nowMs() - sent : kReplyLimitMs, answered});
    }
    if (replies.empty()) return 1;
    printReplies("all", replies, 0);
    printReplies("after-1s", replies, 1000);
    return 0;
}

// --- Idle CPU ----------------------------------------------------------------------------------

double processCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
    const auto ticks = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10000.0;  // 100 ns ticks
}

// Dispatches this thread's messages until `duration` has passed.
void pumpFor(DWORD duration)
{
    const double end = nowMs() + duration;
    for (double left = duration; left > 0; left = end - nowMs()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// The download window opened and hidden, as during the installation. Never deleted, as in the
// installer (its close ends the process).
bool hideDownloadWindow(const std::wstring& archive)
{
    const auto slash = archive.find_last_of(L"\\/");
    SkinUI::SetResourceFolder(slash == std::wstring::npos ? L"" : archive.substr(0, slash));
    SkinUI::SetSkinArchive(archive.substr(slash + 1), true);
    auto* window = new VQUpdate_Downloading("9.8.7", true, true, true);
    if (!window->Open()) return false;
    pumpFor(kSettleMs);
    window->ShowNative(false, true);
    return true;
}

// The references: a plain popup of the download window's size, shown, then hidden; with
// `timer` it keeps a 10 ms timer running.
bool hideBareWindow(bool timer)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VQBareIdleWindow";
    if (!RegisterClassW(&windowClass)) return false;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"bare", WS_POPUP | WS_VISIBLE, 0,
                                  0, 1217, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window || (timer && !SetTimer(window, 1, 10, nullptr))) return false;
    pumpFor(kSettleMs);
    ShowWindow(window, SW_HIDE);
    return true;
}

int runIdle(const std::wstring& archive, double seconds, const std::wstring& which)
{
    const bool opened =
        which == L"download" ? hideDownloadWindow(archive) : hideBareWindow(which == L"bare-timer");
    if (!opened) return 1;
    pumpFor(kSettleMs);
    const double cpuBefore = processCpuMs();
    const double started = nowMs();
    pumpFor(static_cast<DWORD>(seconds * 1000));
    std::printf("idle %ls cpu=%.1f wall=%.0f\n", which.c_str(), processCpuMs() - cpuBefore,
                nowMs() - started);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"replies" && argc == 4) return runReplies(argv[2], std::wcstod(argv[3], nullptr));
    if (mode == L"idle" && argc == 5)
        return runIdle(argv[2], std::wcstod(argv[3], nullptr), argv[4]);
    std::fprintf(stderr,
                 "usage: download_window_bench replies CLASS SECONDS\n"
                 "       download_window_bench idle ARCHIVE SECONDS download|bare|bare-timer\n");
    return 2;
}
