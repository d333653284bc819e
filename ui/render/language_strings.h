// LanguageStrings: texts by number, substituted for "%{n}" tokens in every text before it is
// drawn or measured.
#pragma once

#include <map>
#include <string>

namespace SkinUI {

class LanguageStrings {
public:
    // Stores `text` under `number`, replacing an existing text.
    void Set(int number, const std::wstring& text);
    // The text of `number`, or null.
    const std::wstring* Find(int number) const;
    // `text` with every "%{n}" (n one to nine ASCII decimal digits) replaced by string n when
    // it exists; other tokens, and digits of other scripts, stay as written. Never throws.
    std::wstring Substitute(const std::wstring& text) const;

private:
    std::map<int, std::wstring> m_strings;
};

}  // namespace SkinUI
