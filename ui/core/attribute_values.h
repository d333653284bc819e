// Parsers for the values skins write in attributes and image descriptors: decimal integers,
// comma-separated rectangles and "#AARRGGBB" colours. They never fail hard: what cannot be
// read counts as 0. Numbers are clamped where they are read, so later arithmetic on
// coordinates and sizes cannot overflow and loops over them stay short.
#pragma once

#include <windows.h>

#include <string>

namespace SkinUI {

// The largest magnitude a skin number keeps: far beyond any screen, far below int overflow.
inline constexpr int kSkinNumberLimit = 100000;

// Four integers separated by single characters such as commas ("1,2,3,4"); missing ones are
// 0; each is clamped to +-kSkinNumberLimit.
RECT ParseRect(const std::wstring& text);

// A hexadecimal ARGB value after an optional leading "#"; anything unreadable gives 0.
DWORD ParseColor(const std::wstring& text);

// True only for the exact text "true".
bool ParseBool(const std::wstring& text);

// A decimal integer clamped to +-kSkinNumberLimit; text that does not start with one gives
// `fallback`.
int ParseInt(const std::wstring& text, int fallback = 0);

// "0" to "9" only: the digits of other scripts ("²", "３") are not numbers in skins.
inline bool IsAsciiDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

}  // namespace SkinUI
