// Attribute value parsers; see attribute_values.h.
#include "ui/core/attribute_values.h"

#include <algorithm>
#include <cwchar>

namespace SkinUI {
namespace {

// Reads a decimal number at `cursor` (wcstol saturates at the limits of long, so the clamp
// also catches numbers that overflow).
long ReadClamped(const wchar_t* cursor, wchar_t** end)
{
    long value = std::wcstol(cursor, end, 10);
    return std::clamp<long>(value, -kSkinNumberLimit, kSkinNumberLimit);
}

}  // namespace

RECT ParseRect(const std::wstring& text)
{
    LONG values[4] = {0, 0, 0, 0};
    const wchar_t* cursor = text.c_str();
    for (LONG& value : values) {
        wchar_t* end = nullptr;
        value = ReadClamped(cursor, &end);
        if (end == cursor || *end == L'\0') break;
        cursor = end + 1;  // skip the one separator
    }
    return RECT{values[0], values[1], values[2], values[3]};
}

DWORD ParseColor(const std::wstring& text)
{
    const wchar_t* cursor = text.c_str();
    if (*cursor == L'#') ++cursor;
    return static_cast<DWORD>(std::wcstoul(cursor, nullptr, 16));
}

bool ParseBool(const std::wstring& text)
{
    return text == L"true";
}

int ParseInt(const std::wstring& text, int fallback)
{
    const wchar_t* cursor = text.c_str();
    wchar_t* end = nullptr;
    long value = ReadClamped(cursor, &end);
    return end == cursor ? fallback : static_cast<int>(value);
}

}  // namespace SkinUI
