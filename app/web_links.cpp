// The agreement links: only web addresses go to the shell.
#include "app/web_links.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cctype>

namespace {

bool startsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool breaksOutOfAddress(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F || c == '"';
}

std::wstring fromUtf8(const std::string& text)
{
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

}  // namespace

bool isWebAddress(const std::string& address)
{
    const bool web =
        startsWithIgnoringCase(address, "http://") || startsWithIgnoringCase(address, "https://");
    return web && std::none_of(address.begin(), address.end(), breaksOutOfAddress);
}

void openWebAddress(const std::string& address)
{
    if (!isWebAddress(address)) return;
    // The result is not checked: there is nothing the user could do about a missing browser.
    ShellExecuteW(nullptr, L"open", fromUtf8(address).c_str(), nullptr, nullptr, SW_HIDE);
}
