// The start-up handshake loop and its network error message.
#include "app/handshake_loop.h"

#include <windows.h>

namespace {

const int kMaxAttempts = 3;
const DWORD kPauseBetweenAttemptsMs = 500;

}  // namespace

std::optional<InstallInfo> runHandshakeLoop()
{
    for (int failures = 0;;) {
        if (auto info = attemptHandshake()) return info;
        if (++failures >= kMaxAttempts) {
            MessageBoxW(nullptr, L"网络异常，请检查后重试", L"错误", MB_OK);
            return std::nullopt;
        }
        Sleep(kPauseBetweenAttemptsMs);
    }
}
