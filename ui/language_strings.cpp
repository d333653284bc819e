// Language strings; see language_strings.h.
#include "ui/language_strings.h"

#include <cwctype>

namespace SkinUI {

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
        while (end < text.size() && end - digits < 9 && std::iswdigit(text[end])) ++end;
        const std::wstring* replacement = nullptr;
        if (end > digits && end < text.size() && text[end] == L'}')
            replacement = Find(std::stoi(text.substr(digits, end - digits)));
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
