// The installer's two skinned windows in a probe for options_window_e2e.py, with the real skins
// (the skin archive file named on the command line) and real input from the driver.
//
//   options_window_probe.exe LOG ARCHIVE options   the options window as start-up opens it,
//       logging every notification with the desktop box's state and the folder after it:
//       "notify TYPE SENDER desktop=0|1 path=FOLDER", and "window X Y" (its screen corner)
//       before "ready"
//   options_window_probe.exe LOG ARCHIVE splash    the options window hidden and the splash
//       window created hidden as the download window does; logs "splash visible=0|1", shows it
//       centred after a second ("shown"), then "splash gone" once it is destroyed and "options
//       alive" while the options window still exists, and exits with 5 a second later
//   options_window_probe.exe LOG ARCHIVE refused   the options window with the system refusing
//       every download window: logs "refused N" at the Nth refusal, then as in "options"
//   options_window_probe.exe LOG ARCHIVE bench     repaint times of the options window:
//       "bench open=MS first=MS full=MS hover=MS blit=MS" (see RunBench)
//
// Every line is flushed at once; the driver reads the log while the probe runs.
#include "app/options_window.h"
#include "app/splash_window.h"
#include "ui/controls/option_ui.h"
#include "ui/core/ui_manager.h"
#include "ui/render/gdi_handles.h"
#include "ui/render/resource_settings.h"

#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

FILE* g_log = nullptr;

void Log(const std::wstring& line)
{
    std::fprintf(g_log, "%ls\n", line.c_str());
    std::fflush(g_log);
}

// The archive stays for the life of the process, as the installer's own copy does.
bool LoadSkinArchive(const wchar_t* path)
{
    FILE* file = _wfopen(path, L"rb");
    if (!file) return false;
    static std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), file)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    SkinUI::SetSkinArchive(bytes.data(), static_cast<unsigned>(bytes.size()));
    return !bytes.empty();
}

// Logs the notifications the window's controls send, after the window has handled them.
class NotificationLog : public SkinUI::INotifyUI {
public:
    explicit NotificationLog(SkinUI::CUIManager& manager) : m_manager(manager) {}
    void OnNotify(SkinUI::NotifyMsg& msg) override
    {
        const std::wstring sender = msg.sender ? msg.sender->GetName() : L"-";
        Log(L"notify " + msg.type + L" " + (sender.empty() ? L"-" : sender) + L" desktop=" +
            (DesktopTicked() ? L"1" : L"0") + L" path=" + Folder());
    }

private:
    std::wstring Folder()
    {
        SkinUI::CControlUI* edit = m_manager.ControlByName(L"installpath");
        return edit ? edit->GetText() : L"-";
    }

    bool DesktopTicked()
    {
        SkinUI::CControlUI* box = m_manager.ControlByName(L"chkDesktopOption");
        return box && static_cast<SkinUI::COptionUI*>(box->QueryInterface(L"Option"))->IsSelected();
    }

    SkinUI::CUIManager& m_manager;
};

int RunOptions(VQUpdate_MainWindow& window)
{
    if (!window.Open()) return 3;
    NotificationLog log(window.Manager());
    window.Manager().AddReceiver(&log);
    UpdateWindow(window.NativeHandle());  // "ready" comes after the first paint
    RECT rect = {};
    GetWindowRect(window.NativeHandle(), &rect);
    Log(L"window " + std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top));
    Log(L"ready");
    return SkinUI::CUIManager::RunMessageLoop();
}

// The splash window, ending the probe's message loop when its native window is gone.
class WatchedSplash : public VQUpdate_AgreementDialg {
protected:
    void OnNativeDestroyed(HWND window) override
    {
        VQUpdate_AgreementDialg::OnNativeDestroyed(window);
        PostQuitMessage(0);
    }
};

void LogSplash(const VQUpdate_AgreementDialg& splash)
{
    Log(std::wstring(L"splash visible=") + (IsWindowVisible(splash.NativeHandle()) ? L"1" : L"0"));
}

// The worker's part after a download: the splash shown; then a watch for its end.
int RunSplash(VQUpdate_MainWindow& options)
{
    if (!options.Open()) return 3;
    options.ShowNative(false, true);
    WatchedSplash splash;
    if (!splash.CreateHidden()) return 3;
    LogSplash(splash);
    Log(L"ready");
    Sleep(1000);
    splash.ShowCentred();
    LogSplash(splash);
    Log(L"shown");
    SkinUI::CUIManager::RunMessageLoop();
    Log(L"splash gone");
    if (IsWindow(options.NativeHandle())) Log(L"options alive");
    Sleep(1000);
    return 5;
}

int g_refusals = 0;

// Refuses the creation of every download window, as a system out of window resources would.
LRESULT CALLBACK RefuseDownloadWindows(int code, WPARAM wParam, LPARAM lParam)
{
    wchar_t className[64] = {};
    if (code == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(wParam), className, 64) &&
        std::wcscmp(className, L"VQUpdateDownloading") == 0) {
        Log(L"refused " + std::to_wstring(++g_refusals));
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int RunRefusingDownloadWindows(VQUpdate_MainWindow& window)
{
    if (!SetWindowsHookExW(WH_CBT, RefuseDownloadWindows, nullptr, GetCurrentThreadId())) return 3;
    return RunOptions(window);
}

double NowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Mean milliseconds of `count` calls of `step`.
template <typename Step>
double MeanMs(int count, Step step)
{
    const double start = NowMs();
    for (int i = 0; i < count; ++i) step(i);
    return (NowMs() - start) / count;
}

// The first opening and paint, then repaint figures: the whole window, the install button's hover
// (the pointer moving on and off it, each move repainting the button), and a plain copy of a
// window-sized bitmap.
int RunBench(VQUpdate_MainWindow& window)
{
    // The first opening (skin built, laid out) and first paint (images decoded) once each.
    const double open = MeanMs(1, [&](int) { window.Open(); });
    HWND hwnd = window.NativeHandle();
    if (!hwnd) return 3;
    const double firstPaint = MeanMs(1, [&](int) { UpdateWindow(hwnd); });
    Log(L"ready");
    const int runs = 200;
    const double full = MeanMs(runs, [&](int) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });
    const double hover = MeanMs(runs, [&](int i) {
        const LPARAM point = i % 2 ? MAKELPARAM(923, 468) : MAKELPARAM(300, 500);
        SendMessageW(hwnd, WM_MOUSEMOVE, 0, point);
        UpdateWindow(hwnd);
    });
    const SkinUI::WindowDC dc(hwnd);
    const SkinUI::MemoryDC memory(dc.get());
    const SkinUI::Bitmap bitmap(CreateCompatibleBitmap(dc.get(), 1124, 557));
    const SkinUI::SelectGuard selected(memory.get(), bitmap.get());
    const double blit = MeanMs(runs, [&](int) {
        BitBlt(dc.get(), 0, 0, 1124, 557, memory.get(), 0, 0, SRCCOPY);
        GdiFlush();
    });
    wchar_t line[200];
    std::swprintf(line, 200, L"bench open=%.1f first=%.1f full=%.3f hover=%.3f blit=%.3f", open,
                  firstPaint, full, hover, blit);
    Log(line);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) return 2;
    g_log = _wfopen(argv[1], L"w");
    if (!g_log || !LoadSkinArchive(argv[2])) return 2;
    if (FAILED(CoInitialize(nullptr))) return 2;
    // As start-up does; the links lead nowhere the driver would not see.
    VQUpdate_MainWindow window("1.2.3", "http://127.0.0.1:9/package.exe",
                               "http://127.0.0.1:9/privacy.html",
                               "http://127.0.0.1:9/agreement.html");
    if (std::wcscmp(argv[3], L"splash") == 0) return RunSplash(window);
    if (std::wcscmp(argv[3], L"bench") == 0) return RunBench(window);
    if (std::wcscmp(argv[3], L"refused") == 0) return RunRefusingDownloadWindows(window);
    return RunOptions(window);
}
