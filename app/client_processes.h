// Stopping running copies of the client and of its updater before the installation writes
// over their files.
#pragma once

#include <windows.h>

#include <string>

// Terminates (exit code 0) every running process whose executable file name contains `part`,
// compared case-sensitively, except the process `spared` (the caller passes its own id: an
// installer whose own name contains `part` must not end itself). Failures to open or end a
// process are ignored. Returns how many processes were ended.
int terminateProcessesNamedLike(const std::wstring& part, DWORD spared);

// Terminates the running client ("RADovaza_ZO.exe") and then its updater ("VOZezadev.exe"),
// sparing the calling process.
void terminateClientProcesses();
