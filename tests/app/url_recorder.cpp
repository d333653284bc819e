// Test helper registered as the browser for http and https in the test's Wine prefix: writes
// the address it was asked to open (its first argument, UTF-8) to the file named by the
// environment variable VQ_URL_RECORD, one line per start.
// Stand-alone program, built without the project include path.
#include "log_append.h"
#include "utf8_text.h"

#include <windows.h>

#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* record = _wgetenv(L"VQ_URL_RECORD");
    if (!record) return 1;
    const std::wstring address = argc > 1 ? argv[1] : L"<no argument>";
    return appendLine(record, utf8(address) + "\n") ? 0 : 1;
}
