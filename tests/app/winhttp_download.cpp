// Reference for the worker's download throughput: the system's own HTTP stack (WinHTTP), which
// other Windows installers use, saving a body to a file. Prints the seconds from the request to
// the last byte written.
//   winhttp_download.exe PORT PATH OUTPUT     (host 127.0.0.1)
#include <windows.h>

#include <winhttp.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

namespace {

struct InternetCloser {
    void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using Internet = std::unique_ptr<void, InternetCloser>;

bool copyBody(HINTERNET request, std::FILE* out)
{
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        if (!WinHttpReadData(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read))
            return false;
        if (read == 0) return true;
        if (std::fwrite(buffer.data(), 1, read, out) != read) return false;
    }
}

bool download(INTERNET_PORT port, const wchar_t* path, std::FILE* out)
{
    const Internet session(WinHttpOpen(L"reference", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                       WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return false;
    const Internet connection(WinHttpConnect(session.get(), L"127.0.0.1", port, 0));
    if (!connection) return false;
    const Internet request(WinHttpOpenRequest(connection.get(), L"GET", path, nullptr,
                                              WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    if (!request) return false;
    return WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
           WinHttpReceiveResponse(request.get(), nullptr) && copyBody(request.get(), out);
}

}  // namespace

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: winhttp_download PORT PATH OUTPUT\n");
        return 2;
    }
    std::FILE* out = _wfopen(argv[3], L"wb");
    if (!out) return 1;
    const auto start = std::chrono::steady_clock::now();
    const bool ok =
        download(static_cast<INTERNET_PORT>(std::wcstol(argv[1], nullptr, 10)), argv[2], out);
    const bool closed = std::fclose(out) == 0;
    std::printf("%.3f\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return ok && closed ? 0 : 1;
}
