// Attribute value parsers; see attribute_values.h.
#include "ui/attribute_values.h"

#include <cwchar>

namespace SkinUI {

RECT ParseRect(const std::wstring& text)
{
    LONG values[4] = {0, 0, 0, 0};
    const wchar_t* cursor = text.c_str();
    for (LONG& value : values) {
        wchar_t* end = nullptr;
        value = std::wcstol(cursor, &end, 10);
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
    long value = std::wcstol(cursor, &end, 10);
    return end == cursor ? fallback : static_cast<int>(value);
}

}  // namespace SkinUI
