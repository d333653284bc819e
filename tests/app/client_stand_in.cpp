// Test helper standing in for the client and its updater: copied under their names, it sleeps
// until it is terminated (or two minutes pass, so a failed test leaves nothing behind for
// long). With "--terminate-clients" it instead ends the client processes as the installer does
// and returns 42, which it can only do if it did not end itself.
#include "app/client_processes.h"

#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && std::wcscmp(argv[1], L"--terminate-clients") == 0) {
        terminateClientProcesses();
        return 42;
    }
    Sleep(120000);
    return 7;
}
