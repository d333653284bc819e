// The start-up handshake loop and its network error message.
#include "app/handshake_loop.h"

#include "app/support_log.h"

#include <windows.h>

#include <string>

namespace {

const int kMaxAttempts = 3;
const DWORD kPauseBetweenAttemptsMs = 500;

}  // namespace

std::optional<InstallInfo> runHandshakeLoop()
{
    for (int failures = 0;;) {
        const std::string attempt = "handshake attempt " + std::to_string(failures + 1);
        if (auto info = attemptHandshake()) {
            logLine(attempt + " succeeded: current version \"" + info->currVersion + "\"");
            return info;
        }
        logLine(attempt + " failed");
        if (++failures >= kMaxAttempts) {
            logLine("network error box shown (handshake failed " + std::to_string(failures) +
                    " times)");
            MessageBoxW(nullptr, L"网络异常，请检查后重试", L"错误", MB_OK);
            logLine("end: network error box dismissed, exit 0");
            return std::nullopt;
        }
        Sleep(kPauseBetweenAttemptsMs);
    }
}
