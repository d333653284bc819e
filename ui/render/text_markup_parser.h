// Tokens of the small text markup: runs of text, line feeds, and one-letter tags written
// with "<" ">" or "{" "}" ("<b>bold</b>", "{c #FF0000}red{/c}", "<a http://x>link</a>").
#pragma once

#include <string>
#include <vector>

namespace SkinUI {

struct MarkupToken {
    enum class Kind { Text, LineFeed, Open, Close };
    Kind kind = Kind::Text;
    wchar_t tag = 0;    // Open and Close: the tag letter
    std::wstring text;  // Text: the characters; Open: the arguments after the letter
};

// Splits `text` into tokens. "<{>", "<}>", "{<}" and "{>}" give the bracket they hold; a
// bracket that starts no tag is text; inside "<r>" ... "</r>" no tag but the closing r is
// read. Never fails: unreadable markup comes out as text.
std::vector<MarkupToken> TokenizeMarkup(const std::wstring& text);

}  // namespace SkinUI
