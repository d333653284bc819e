// Process termination by executable name through the process snapshot.
#include "app/client_processes.h"

#include "app/kernel_handle.h"
#include "app/support_log.h"

#include <tlhelp32.h>

#include <string>
#include <vector>

namespace {

// The ids of the running processes whose file name contains `part`. The names are compared
// wide: for the ASCII names looked for this finds what comparing ANSI names would, without the
// trail byte of a double-byte character starting a false match.
std::vector<DWORD> processesNamedLike(const std::wstring& part)
{
    std::vector<DWORD> found;
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return found;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (std::wstring(entry.szExeFile).find(part) != std::wstring::npos)
            found.push_back(entry.th32ProcessID);
    }
    return found;
}

bool terminateProcess(DWORD id)
{
    const KernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, id));
    return process && TerminateProcess(process.get(), 0);
}

void logTermination(const std::wstring& part, DWORD id, bool ended)
{
    const std::string process = "process " + std::to_string(id) + " (" + logText(part) + ")";
    logLine(ended ? process + " ended"
                  : process + " could not be ended, error " + std::to_string(GetLastError()));
}

}  // namespace

int terminateProcessesNamedLike(const std::wstring& part, DWORD spared)
{
    int ended = 0;
    for (const DWORD id : processesNamedLike(part)) {
        if (id == spared) continue;
        const bool done = terminateProcess(id);
        logTermination(part, id, done);
        if (done) ++ended;
    }
    return ended;
}

void terminateClientProcesses()
{
    const DWORD self = GetCurrentProcessId();
    const int clients = terminateProcessesNamedLike(L"RADovaza_ZO.exe", self);
    const int updaters = terminateProcessesNamedLike(L"VOZezadev.exe", self);
    logLine("client processes ended: " + std::to_string(clients) +
            ", updaters ended: " + std::to_string(updaters));
}
