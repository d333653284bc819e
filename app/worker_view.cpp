// The worker's failure texts and the real ends of an installation.
#include "app/worker_view.h"

#include "app/support_log.h"
#include "service/install_service.h"
#include "service/process_end.h"

#include <windows.h>

#include <thread>

const wchar_t* workerFailureText(WorkerFailure failure)
{
    switch (failure) {
    case WorkerFailure::Network: return L"请检查网络后重新下载";
    case WorkerFailure::Install: return L"程序安装出错请重新安装";
    }
    return L"";
}

const wchar_t* workerFailureTitle()
{
    return L"警告";
}

void startInstallEndReport(const std::string& version, std::int32_t endTime, std::int32_t startTime)
{
    std::thread([version, endTime, startTime] {
        reportInstallEnd(version, endTime, startTime);
    }).detach();
}

void showFailureAndExit(WorkerFailure failure)
{
    logLine("failure box shown: " + logText(workerFailureText(failure)));
    MessageBoxW(nullptr, workerFailureText(failure), workerFailureTitle(), MB_OK);
    logLine("end: failure box dismissed, exit 0");
    endProcess(0);
}
