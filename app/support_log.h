// The support log "VQUpdate.log" in the user's temporary folder, replaced on each run: one
// UTF-8 line per event, prefixed with a millisecond timestamp, for support to ask for after a
// failed install. Writing it never changes what the installer does: when the file cannot be
// created or written, every call does nothing.
#pragma once

#include <string>
#include <string_view>

// Creates (replacing) the log; once at start-up, before other threads start. A failure is
// ignored: the log then stays closed.
void openSupportLog();

// Appends one line, prefixed with the local time to the millisecond. Thread-safe (the worker
// and report threads write too); never throws; does nothing when the log is not open.
void logLine(std::string_view text) noexcept;

// `text` as UTF-8 for a log line (paths and names are wide); characters that do not convert
// are replaced.
std::string logText(std::wstring_view text);
