// Started by the Wine session of the Windows tests (scripts/wine-run.sh --session-start): starts
// Wine's desktop process and keeps it up until the session stops. That process inherits the
// standard error of the program that starts it and lives while any program uses the desktop, so
// a test that started it held its own output pipe, and CTest waiting on that pipe, for as long
// as other tests kept windows open: minutes.
#include <windows.h>

#include <cstdio>

int main()
{
    GetDesktopWindow();  // returns once the desktop process is up
    std::puts("desktop ready");
    std::fflush(stdout);
    Sleep(INFINITE);
}
