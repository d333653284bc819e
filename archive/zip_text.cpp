// Name conversion between the ANSI code page (Latin-1 outside Windows) and wide strings.
#include "archive/zip_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef _WIN32

bool wideToNarrowName(const std::wstring& wide, std::string& narrow)
{
    narrow.clear();
    if (wide.empty()) return true;
    const int wideLength = static_cast<int>(wide.size());
    // A UTF-8 code page takes neither the best-fit flag nor the default-character report;
    // there, characters that do not convert fail the call instead.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultReport = utf8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength, nullptr, 0,
                                           nullptr, usedDefaultReport);
    if (length <= 0 || usedDefault) return false;
    narrow.resize(static_cast<size_t>(length));
    WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength, narrow.data(), length, nullptr,
                        nullptr);
    return true;
}

std::wstring narrowToWideName(const std::string& narrow)
{
    if (narrow.empty()) return {};
    const int narrowLength = static_cast<int>(narrow.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, narrow.data(), narrowLength, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), narrowLength, wide.data(), length);
    return wide;
}

#else

bool wideToNarrowName(const std::wstring& wide, std::string& narrow)
{
    narrow.clear();
    narrow.reserve(wide.size());
    for (wchar_t c : wide) {
        if (c <= 0 || c > 0xFF) return false;
        narrow.push_back(static_cast<char>(c));
    }
    return true;
}

std::wstring narrowToWideName(const std::string& narrow)
{
    std::wstring wide;
    wide.reserve(narrow.size());
    for (char c : narrow) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

#endif
