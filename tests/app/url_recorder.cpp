// Test helper registered as the browser for http and https in the test's Wine prefix: writes
// the address it was asked to open (its first argument, UTF-8) to the file named by the
// environment variable VQ_URL_RECORD, one line per start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* record = _wgetenv(L"VQ_URL_RECORD");
    if (!record) return 1;
    const std::wstring address = argc > 1 ? argv[1] : L"<no argument>";
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, address.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, address.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    FILE* file = _wfopen(record, L"ab");
    if (!file) return 1;
    std::fprintf(file, "%s\n", utf8.c_str());
    std::fclose(file);
    return 0;
}
