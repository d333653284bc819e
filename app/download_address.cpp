// Splitting the download address and checking the package's file name.
#include "app/download_address.h"

namespace {

const char kScheme[] = "http://";
// Index 8: just past "https://", one character into the host of an "http://" address.
constexpr std::size_t kPathSearchStart = 8;

// The last segment of `path`, with the query and the fragment cut off first (a "/" inside a
// query does not start a segment).
std::string lastSegment(const std::string& path)
{
    const std::string bare = path.substr(0, path.find_first_of("?#"));
    return bare.substr(bare.rfind('/') + 1);
}

// True for the names the system reserves for devices (CON, PRN, AUX, NUL, COM1-9, LPT1-9), with
// or without an extension and in any case: in a folder they still name the device.
bool isDeviceName(std::wstring_view name)
{
    std::wstring stem(name.substr(0, name.find(L'.')));
    for (wchar_t& c : stem)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL") return true;
    return stem.size() == 4 &&
           (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'1' && stem[3] <= L'9';
}

}  // namespace

std::optional<DownloadAddress> splitDownloadAddress(const std::string& address)
{
    const std::size_t hostStart = sizeof kScheme - 1;
    if (address.compare(0, hostStart, kScheme) != 0) return std::nullopt;
    if (address.size() <= hostStart || address[hostStart] == '/') return std::nullopt;
    const std::size_t slash = address.find('/', kPathSearchStart);
    if (slash == std::string::npos) return std::nullopt;

    DownloadAddress parts{address.substr(0, slash), address.substr(slash), {}};
    parts.fileName = lastSegment(parts.remotePath);
    if (parts.fileName.empty()) return std::nullopt;
    return parts;
}

bool isPlainFileName(std::wstring_view name)
{
    if (name.empty() || name == L"." || name == L"..") return false;
    for (const wchar_t c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        if (std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
    }
    return !isDeviceName(name);
}
