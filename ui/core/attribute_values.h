// Parsers for the values skins write in attributes and image descriptors: decimal integers,
// comma-separated rectangles and "#AARRGGBB" colours. They never fail hard: what cannot be
// read counts as 0. Numbers are clamped where they are read, so later arithmetic on
// coordinates and sizes cannot overflow and loops over them stay short.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
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

// Two integers separated by one character ("4,4"), read like the first two of ParseRect.
SIZE ParseSize(const std::wstring& text);

// Four decimal fractions separated by single characters ("0.5,0,1,0.25"); a number is an
// optional sign, digits and an optional point with digits (no exponent, no "inf" or "nan").
// Missing or unreadable ones are 0; each is clamped to +-kSkinNumberLimit.
using Fractions = std::array<double, 4>;
Fractions ParseFractions(const std::wstring& text);

// Walks an attribute list name="value" name="value"... and calls `apply` for each pair in
// order. It stops at the end of the text, at a name not followed by '="', at a value without
// a closing quote, and after any pair whose closing quote is not followed by exactly one
// space. Values cannot contain double quotes.
void ForEachAttributePair(
    const std::wstring& list,
    const std::function<void(const std::wstring& name, const std::wstring& value)>& apply);

// "0" to "9" only: the digits of other scripts ("²", "３") are not numbers in skins.
inline bool IsAsciiDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

}  // namespace SkinUI
