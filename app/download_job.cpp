// Building the worker's job from the download address and the install folder.
#include "app/download_job.h"

#include "app/download_address.h"

#include <windows.h>

namespace {

// `text` from the system's ANSI code page; empty when it does not convert.
std::wstring fromAnsi(const std::string& text)
{
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), size);
    return wide;
}

}  // namespace

DownloadJob makeDownloadJob(const std::string& downloadAddress, const std::wstring& installDir,
                            std::int32_t startTime, WorkerView* view)
{
    DownloadJob job;
    job.view = view;
    job.installDir = installDir;
    job.startTime = startTime;
    const auto address = splitDownloadAddress(downloadAddress);
    if (!address) return job;
    const std::wstring fileName = fromAnsi(address->fileName);
    if (!isPlainFileName(fileName)) return job;
    job.origin = address->origin;
    job.remotePath = address->remotePath;
    job.packagePath = installDir + L"/" + fileName;
    return job;
}
