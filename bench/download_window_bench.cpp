// Benchmark probes for the download window; figures only, no limits.
//
//   download_window_bench.exe replies CLASS SECONDS
//       Waits up to a minute for a visible window of CLASS (in any process), then sends it
//       WM_NULL every 10 ms with a one-second limit and times each reply, until the window is
//       hidden or gone or SECONDS have passed. Prints
//       "replies all n=N p50=MS p99=MS max=MS timeouts=T" (a message without a reply counts
//       as one second), the same line "replies between ..." of the messages sent after the
//       first reply arrived, the last one left out, and "phases opening=MS last=MS": when the
//       first reply arrived, and the last message's reply time (for the download window, the
//       switch to the splash). Exits with 1 when no window showed.
//   download_window_bench.exe idle ARCHIVE SECONDS download|bare|bare-timer
//       Opens the download window with the skins of the zip file ARCHIVE (or a bare popup
//       window; with a 10 ms timer, the one a layered skinned window keeps for its repaints),
//       hides it as the worker does before installing, lets it settle for a second, then runs
//       the message loop for SECONDS and prints "idle WHICH cpu=MS wall=MS": the process's CPU
//       time (kernel and user, GetProcessTimes) over that idle time.
//   download_window_bench.exe progress ARCHIVE
//       Opens the download window and lets it settle for a second; then, every 25 ms (a 2.5 s
//       download without the download), either nothing ("idle") or one percentage step from 0
//       to 100 reaching it as the worker's do ("steps"), while another thread times the
//       window's replies as above. Prints for each "progress NAME cpu=MS" (the process CPU
//       time) and "replies NAME n=...".
#include "app/download_window.h"
#include "app/progress_bands.h"
#include "ui/render/resource_settings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
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

// One summary line of replies[first, last).
void printReplies(const char* name, const std::vector<Reply>& replies, std::size_t first,
                  std::size_t last)
{
    std::vector<double> times;
    int timeouts = 0;
    for (std::size_t i = first; i < last; ++i) {
        times.push_back(replies[i].ms);
        timeouts += replies[i].answered ? 0 : 1;
    }
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    std::printf("replies %s n=%u p50=%.3f p99=%.3f max=%.3f timeouts=%d\n", name,
                static_cast<unsigned>(times.size()), percentile(times, 50), percentile(times, 99),
                times.back(), timeouts);
}

// Every reply, then the window's phases: its opening (until its first reply arrived), the
// messages sent after it but the last (the download, for the download window), and the last
// message, which waits for whatever the window does as it hides (the switch to the splash).
void printPhases(const std::vector<Reply>& replies)
{
    printReplies("all", replies, 0, replies.size());
    std::size_t first = 0;
    while (first < replies.size() && !replies[first].answered) ++first;
    if (first == replies.size()) return;
    const double opened = replies[first].sentAt + replies[first].ms;
    while (first < replies.size() && replies[first].sentAt < opened) ++first;
    if (first + 1 >= replies.size()) return;
    printReplies("between", replies, first, replies.size() - 1);
    std::printf("phases opening=%.0f last=%.1f\n", opened, replies.back().ms);
}

// Sends `window` WM_NULL every 10 ms for `seconds` or until it is hidden, timing each reply.
std::vector<Reply> probeReplies(HWND window, double seconds)
{
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
    return replies;
}

int runReplies(const wchar_t* windowClass, double seconds)
{
    HWND window = waitForVisibleWindow(windowClass);
    if (!window) return 1;
    const std::vector<Reply> replies = probeReplies(window, seconds);
    if (replies.empty()) return 1;
    printPhases(replies);
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

// The download window with the skins of `archive`, opened and painted; null when it could not
// be opened. Never deleted, as in the installer (its close ends the process).
VQUpdate_Downloading* openDownloadWindow(const std::wstring& archive)
{
    const auto slash = archive.find_last_of(L"\\/");
    SkinUI::SetResourceFolder(slash == std::wstring::npos ? L"" : archive.substr(0, slash));
    SkinUI::SetSkinArchive(archive.substr(slash + 1), true);
    auto* window = new VQUpdate_Downloading("9.8.7", true, true, true);
    if (!window->Open()) return nullptr;
    pumpFor(kSettleMs);
    return window;
}

// The download window opened and hidden, as during the installation.
bool hideDownloadWindow(const std::wstring& archive)
{
    VQUpdate_Downloading* window = openDownloadWindow(archive);
    if (!window) return false;
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

// --- Progress steps ---------------------------------------------------------------------------

constexpr int kSteps = 101;
constexpr DWORD kStepIntervalMs = 25;

// kSteps slots of kStepIntervalMs on this thread, with `step(i)` at the start of each, while
// another thread times the window's replies. Prints "progress NAME cpu=MS" (the process CPU
// time of the slots) and the replies' summary as "replies NAME ...".
template <typename Step>
void runSlots(const char* name, HWND window, Step step)
{
    std::vector<Reply> replies;
    std::thread probe([&] { replies = probeReplies(window, kSteps * kStepIntervalMs / 1000.0); });
    const double before = processCpuMs();
    for (int i = 0; i < kSteps; ++i) {
        step(i);
        pumpFor(kStepIntervalMs);
    }
    const double cpu = processCpuMs() - before;
    probe.join();
    std::printf("progress %s cpu=%.1f\n", name, cpu);
    printReplies(name, replies, 0, replies.size());
}

int runProgress(const std::wstring& archive)
{
    VQUpdate_Downloading* window = openDownloadWindow(archive);
    if (!window) return 1;
    runSlots("idle", window->NativeHandle(), [](int) {});
    runSlots("steps", window->NativeHandle(),
             [window](int percent) { window->showProgress(progressFrame(percent)); });
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"replies" && argc == 4) return runReplies(argv[2], std::wcstod(argv[3], nullptr));
    if (mode == L"progress" && argc == 3) return runProgress(argv[2]);
    if (mode == L"idle" && argc == 5)
        return runIdle(argv[2], std::wcstod(argv[3], nullptr), argv[4]);
    std::fprintf(stderr,
                 "usage: download_window_bench replies CLASS SECONDS\n"
                 "       download_window_bench idle ARCHIVE SECONDS download|bare|bare-timer\n"
                 "       download_window_bench progress ARCHIVE\n");
    return 2;
}
