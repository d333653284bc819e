// Language strings; see language_strings.h.
#include "ui/render/language_strings.h"

#include "ui/core/attribute_values.h"

namespace SkinUI {
namespace {

// The value of a run of at most nine ASCII digits (so it fits an int).
int DigitsValue(const std::wstring& text, size_t begin, size_t end)
{
    int value = 0;
    for (size_t i = begin; i < end; ++i) value = value * 10 + (text[i] - L'0');
    return value;
}

}  // namespace

void LanguageStrings::Set(int number, const std::wstring& text)
{
    m_strings[number] = text;
}

const std::wstring* LanguageStrings::Find(int number) const
{
    auto found = m_strings.find(number);
    return found == m_strings.end() ? nullptr : &found->second;
}

std::wstring LanguageStrings::Substitute(const std::wstring& text) const
{
    if (m_strings.empty() || text.find(L"%{") == std::wstring::npos) return text;
    std::wstring result;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = text.find(L"%{", pos);
        if (start == std::wstring::npos) break;
        size_t digits = start + 2;
        size_t end = digits;
        // At most nine ASCII digits: the number fits an int. Other digits ("²", "３") are text.
        while (end < text.size() && end - digits < 9 && IsAsciiDigit(text[end])) ++end;
        const std::wstring* replacement = nullptr;
        if (end > digits && end < text.size() && text[end] == L'}')
            replacement = Find(DigitsValue(text, digits, end));
        if (!replacement) {
            result.append(text, pos, digits - pos);  // not a known token: keep "%{" and go on
            pos = digits;
            continue;
        }
        result.append(text, pos, start - pos);
        result += *replacement;
        pos = end + 1;
    }
    result.append(text, pos, std::wstring::npos);
    return result;
}

}  // namespace SkinUI
