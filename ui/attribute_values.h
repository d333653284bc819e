// Parsers for the values skins write in attributes and image descriptors: decimal integers,
// comma-separated rectangles and "#AARRGGBB" colours. They never fail hard: what cannot be
// read counts as 0.
#pragma once

#include <windows.h>

#include <string>

namespace SkinUI {

// Four integers separated by single characters such as commas ("1,2,3,4"); missing ones are 0.
RECT ParseRect(const std::wstring& text);

// A hexadecimal ARGB value after an optional leading "#"; anything unreadable gives 0.
DWORD ParseColor(const std::wstring& text);

// True only for the exact text "true".
bool ParseBool(const std::wstring& text);

// A decimal integer; text that does not start with one gives `fallback`.
int ParseInt(const std::wstring& text, int fallback = 0);

}  // namespace SkinUI
