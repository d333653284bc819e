// Ending the process from a thread while others still run.
#pragma once

#include <cstdio>
#include <cstdlib>

// Ends the process with `exitCode` at once. C streams are flushed, but no static destructor
// runs: another thread may still be inside the HTTP client (whose parsers keep static state)
// or painting from the skin archive, and must never meet that state torn down.
[[noreturn]] inline void endProcess(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}
