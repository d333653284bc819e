// Test program: runs the download-and-install worker in-process against a download address,
// with a view that records what the worker asks of the download window, and writes that record
// as one JSON object to REPORT:
//   {"events":["progress",...,"splash","finish"|"fail"],"percents":[...],"moves":N,
//    "pauses":[ms,...],"opens":[bytes kept,...],"openSeconds":[S,...],"failure":"box text",
//    "downloadSeconds":S,"peakWorkingSetMiB":M}
// (the package file's openings, one per attempt, with the bytes each kept and its time since
// the worker's start; the download's time from the worker's start to the splash, and the
// process's peak memory). With --copy-package the package is copied to COPY when the download
// is done; with --stop-after-download the probe then ends with 0 without installing. The
// worker's lines go to the support log in the temporary folder, as in the installer.
// A finished installation then sends the real installEnd report on its thread, which ends the
// process with 0; with --failure-box a failure shows the real message box and ends with 0.
//   worker_probe.exe ADDRESS INSTALL_DIR REPORT [--no-desktop] [--no-menu]
//                    [--fail-first-open] [--fail-first-write] [--failure-box]
//                    [--copy-package COPY] [--stop-after-download]
#include "app/download_job.h"
#include "app/download_worker.h"
#include "app/support_log.h"
#include "app/worker_view.h"
#include "service/install_service.h"

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string address;
    std::wstring installDir;
    std::wstring report;
    bool desktop = true;
    bool menu = true;
    bool failFirstOpen = false;
    bool failFirstWrite = false;
    bool failureBox = false;
    std::wstring packageCopy;  // empty: no copy
    bool stopAfterDownload = false;
};

std::string narrow(const std::wstring& text, UINT codePage)
{
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::string jsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

template <typename T, typename Format>
std::string jsonList(const std::vector<T>& items, Format format)
{
    std::string out = "[";
    for (const T& item : items) out += (out.size() > 1 ? "," : "") + format(item);
    return out + "]";
}

class RecordingView final : public WorkerView {
public:
    explicit RecordingView(const Options& options) : options_(options) {}

    bool desktopShortcut() const override { return options_.desktop; }
    bool startMenuShortcut() const override { return options_.menu; }
    void showProgress(const ProgressFrame& frame) override
    {
        events_.push_back("progress");
        percents_.push_back(frame.percent);
        moves_ += frame.moveCount;
    }
    void switchToSplash() override
    {
        events_.push_back("splash");
        downloadSeconds_ = secondsSinceStart();
        if (!options_.packageCopy.empty())
            CopyFileW(packagePath_.c_str(), options_.packageCopy.c_str(), FALSE);
        if (!options_.stopAfterDownload) return;
        writeReport();
        ExitProcess(0);
    }
    void finish(std::int32_t endTime, std::int32_t startTime) override
    {
        events_.push_back("finish");
        writeReport();
        startInstallEndReport("9.8.7", endTime, startTime);
    }
    void fail(WorkerFailure failure) override
    {
        events_.push_back("fail");
        failure_ = narrow(workerFailureText(failure), CP_UTF8);
        writeReport();
        if (options_.failureBox) showFailureAndExit(failure);
    }
    void recordPause(std::chrono::milliseconds time) { pauses_.push_back(time.count()); }
    void recordOpen(std::uint64_t keep)
    {
        opens_.push_back(keep);
        openSeconds_.push_back(secondsSinceStart());
    }
    void setPackagePath(const std::wstring& path) { packagePath_ = path; }
    bool finished() const { return !events_.empty() && events_.back() == "finish"; }

private:
    void writeReport() const
    {
        const auto quoted = [](const std::string& text) { return jsonString(text); };
        const auto number = [](auto value) { return std::to_string(value); };
        const std::string json =
            "{\"events\":" + jsonList(events_, quoted) +
            ",\"percents\":" + jsonList(percents_, number) +
            ",\"moves\":" + std::to_string(moves_) + ",\"pauses\":" + jsonList(pauses_, number) +
            ",\"opens\":" + jsonList(opens_, number) +
            ",\"openSeconds\":" + jsonList(openSeconds_, number) +
            ",\"failure\":" + jsonString(failure_) +
            ",\"downloadSeconds\":" + std::to_string(downloadSeconds_) +
            ",\"peakWorkingSetMiB\":" + std::to_string(peakWorkingSetMiB()) + "}\n";
        if (std::FILE* file = _wfopen(options_.report.c_str(), L"wb")) {
            std::fwrite(json.data(), 1, json.size(), file);
            std::fclose(file);
        }
    }

    using Clock = std::chrono::steady_clock;

    double secondsSinceStart() const
    {
        return std::chrono::duration<double>(Clock::now() - start_).count();
    }

    static double peakWorkingSetMiB()
    {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
        return static_cast<double>(counters.PeakWorkingSetSize) / (1024 * 1024);
    }

    const Options& options_;
    const Clock::time_point start_ = Clock::now();
    double downloadSeconds_ = 0;
    std::vector<std::string> events_;
    std::vector<int> percents_;
    int moves_ = 0;
    std::vector<long long> pauses_;
    std::vector<std::uint64_t> opens_;
    std::vector<double> openSeconds_;
    std::wstring packagePath_;
    std::string failure_;
};

// A package file whose writes all fail: a full disk.
class FullDisk final : public PackageSink {
public:
    explicit FullDisk(std::unique_ptr<PackageSink> file) : file_(std::move(file)) {}
    bool write(const char*, std::size_t) override { return false; }
    bool restart() override { return file_->restart(); }
    bool close() override { return file_->close(); }

private:
    std::unique_ptr<PackageSink> file_;
};

WorkerSeams probeSeams(const Options& options, RecordingView& view)
{
    WorkerSeams seams = realWorkerSeams();
    seams.pause = [&view, sleep = seams.pause](std::chrono::milliseconds time) {
        view.recordPause(time);
        sleep(time);
    };
    auto opened = std::make_shared<std::atomic<int>>(0);
    seams.openPackage = [options, opened,
                         &view](const std::wstring& path,
                                std::uint64_t keep) -> std::unique_ptr<PackageSink> {
        view.recordOpen(keep);
        const bool first = (*opened)++ == 0;
        if (first && options.failFirstOpen) return nullptr;
        auto file = openPackageFile(path, keep);
        if (first && options.failFirstWrite && file)
            return std::make_unique<FullDisk>(std::move(file));
        return file;
    };
    return seams;
}

bool parseOptions(Options& options)
{
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return false;
    const std::unique_ptr<wchar_t*, decltype(&LocalFree)> owner(args, LocalFree);
    if (count < 4) return false;
    options.address = narrow(args[1], CP_ACP);
    options.installDir = args[2];
    options.report = args[3];
    for (int i = 4; i < count; ++i) {
        const std::wstring flag = args[i];
        if (flag == L"--no-desktop")
            options.desktop = false;
        else if (flag == L"--no-menu")
            options.menu = false;
        else if (flag == L"--fail-first-open")
            options.failFirstOpen = true;
        else if (flag == L"--fail-first-write")
            options.failFirstWrite = true;
        else if (flag == L"--failure-box")
            options.failureBox = true;
        else if (flag == L"--copy-package" && i + 1 < count)
            options.packageCopy = args[++i];
        else if (flag == L"--stop-after-download")
            options.stopAfterDownload = true;
        else
            return false;
    }
    return true;
}

}  // namespace

int main()
{
    Options options;
    if (!parseOptions(options)) {
        std::fprintf(stderr, "usage: worker_probe ADDRESS INSTALL_DIR REPORT [flags]\n");
        return 2;
    }
    // What start-up and the options and download windows do before the worker starts.
    openSupportLog();
    SHCreateDirectoryExW(nullptr, options.installDir.c_str(), nullptr);
    SetCurrentDirectoryW(options.installDir.c_str());

    RecordingView view(options);
    const auto startTime = static_cast<std::int32_t>(std::time(nullptr));
    DownloadJob job = makeDownloadJob(options.address, options.installDir, startTime, &view);
    view.setPackagePath(job.packagePath);
    runDownloadJob(std::move(job), probeSeams(options, view));
    if (!view.finished()) return 0;
    // The end report's thread ends the process; a report that does not is a failure.
    Sleep(60000);
    return 3;
}
