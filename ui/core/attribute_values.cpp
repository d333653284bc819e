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

SIZE ParseSize(const std::wstring& text)
{
    const RECT values = ParseRect(text);
    return SIZE{values.left, values.top};
}

namespace {

// Reads one fraction at `cursor`; `end` is where reading stopped (`cursor` when nothing
// was read).
double ReadFraction(const wchar_t* cursor, const wchar_t** end)
{
    const wchar_t* at = cursor;
    const bool negative = *at == L'-';
    if (*at == L'-' || *at == L'+') ++at;
    double value = 0;
    bool digits = false;
    for (; IsAsciiDigit(*at); ++at, digits = true) {
        value = std::min(value * 10 + (*at - L'0'), static_cast<double>(kSkinNumberLimit));
    }
    if (*at == L'.') {
        double scale = 0.1;
        for (++at; IsAsciiDigit(*at); ++at, scale /= 10, digits = true) {
            value += (*at - L'0') * scale;
        }
    }
    *end = digits ? at : cursor;
    value = std::min(value, static_cast<double>(kSkinNumberLimit));
    return negative ? -value : value;
}

}  // namespace

Fractions ParseFractions(const std::wstring& text)
{
    Fractions values = {0, 0, 0, 0};
    const wchar_t* cursor = text.c_str();
    for (double& value : values) {
        const wchar_t* end = nullptr;
        value = ReadFraction(cursor, &end);
        if (end == cursor || *end == L'\0') break;
        cursor = end + 1;  // skip the one separator
    }
    return values;
}

void ForEachAttributePair(
    const std::wstring& list,
    const std::function<void(const std::wstring& name, const std::wstring& value)>& apply)
{
    size_t at = 0;
    while (at < list.size()) {
        const size_t equals = list.find(L'=', at);
        if (equals == std::wstring::npos || equals + 1 >= list.size() || list[equals + 1] != L'"') {
            return;
        }
        const size_t close = list.find(L'"', equals + 2);
        if (close == std::wstring::npos) return;
        apply(list.substr(at, equals - at), list.substr(equals + 2, close - equals - 2));
        // Exactly one space: a second one would begin the next name.
        if (close + 1 >= list.size() || list[close + 1] != L' ') return;
        at = close + 2;
        if (at < list.size() && list[at] == L' ') return;
    }
}

}  // namespace SkinUI
