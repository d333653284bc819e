// The start-up handshake with the install service: up to three attempts, 500 ms apart, and the
// network error message after the third failure.
#pragma once

#include "service/install_service.h"

#include <optional>

// Runs the handshake against the built-in service URL. Returns the install info of the first
// attempt that gets a 200 answer. After three failed attempts it shows the message box
// "网络异常，请检查后重试" / "错误" (no owner, OK button), waits for it to be dismissed and
// returns nothing. Blocks the calling thread throughout.
std::optional<InstallInfo> runHandshakeLoop();
