// Markup tokens; see text_markup_parser.h.
#include "ui/render/text_markup_parser.h"

namespace SkinUI {
namespace {

wchar_t ClosingBracket(wchar_t open)
{
    return open == L'<' ? L'>' : L'}';
}

bool IsOpeningBracket(wchar_t c)
{
    return c == L'<' || c == L'{';
}

class Tokenizer {
public:
    explicit Tokenizer(const std::wstring& text) : m_text(text) {}

    std::vector<MarkupToken> Run()
    {
        while (m_pos < m_text.size()) {
            wchar_t c = m_text[m_pos];
            if (c == L'\r') {
                ++m_pos;
            } else if (c == L'\n') {
                m_tokens.push_back(MarkupToken{MarkupToken::Kind::LineFeed, 0, {}});
                ++m_pos;
            } else if (!(IsOpeningBracket(c) && (m_raw ? ReadRawEnd() : ReadBracket()))) {
                ReadText();
            }
        }
        return std::move(m_tokens);
    }

private:
    wchar_t At(size_t i) const { return i < m_text.size() ? m_text[i] : L'\0'; }

    void AppendText(const std::wstring& text)
    {
        if (!m_tokens.empty() && m_tokens.back().kind == MarkupToken::Kind::Text)
            m_tokens.back().text += text;
        else
            m_tokens.push_back(MarkupToken{MarkupToken::Kind::Text, 0, text});
    }

    // Text up to the next line feed or opening bracket (at least one character).
    void ReadText()
    {
        size_t end = m_pos + 1;
        while (end < m_text.size() && m_text[end] != L'\n' && m_text[end] != L'\r' &&
               !IsOpeningBracket(m_text[end]))
            ++end;
        AppendText(m_text.substr(m_pos, end - m_pos));
        m_pos = end;
    }

    // Inside raw text only the closing r tag counts.
    bool ReadRawEnd()
    {
        wchar_t open = m_text[m_pos];
        if (At(m_pos + 1) != L'/' || At(m_pos + 2) != L'r' || At(m_pos + 3) != ClosingBracket(open))
            return false;
        m_tokens.push_back(MarkupToken{MarkupToken::Kind::Close, L'r', {}});
        m_raw = false;
        m_pos += 4;
        return true;
    }

    bool ReadBracket()
    {
        wchar_t open = m_text[m_pos];
        wchar_t close = ClosingBracket(open);
        wchar_t next = At(m_pos + 1);
        // An escaped bracket: the other kind of bracket enclosed.
        bool otherKind =
            open == L'<' ? (next == L'{' || next == L'}') : (next == L'<' || next == L'>');
        if (otherKind && At(m_pos + 2) == close) {
            AppendText(std::wstring(1, next));
            m_pos += 3;
            return true;
        }
        if (next == L'/') {
            wchar_t letter = At(m_pos + 2);
            if (letter < L'a' || letter > L'z' || At(m_pos + 3) != close) return false;
            m_tokens.push_back(MarkupToken{MarkupToken::Kind::Close, letter, {}});
            m_pos += 4;
            return true;
        }
        if (next < L'a' || next > L'z' || (At(m_pos + 2) != L' ' && At(m_pos + 2) != close))
            return false;
        size_t end = m_text.find(close, m_pos + 2);
        if (end == std::wstring::npos) return false;
        std::wstring arguments = m_text.substr(m_pos + 2, end - m_pos - 2);
        size_t first = arguments.find_first_not_of(L' ');
        arguments = first == std::wstring::npos ? std::wstring() : arguments.substr(first);
        m_tokens.push_back(MarkupToken{MarkupToken::Kind::Open, next, arguments});
        m_raw = next == L'r';
        m_pos = end + 1;
        return true;
    }

    const std::wstring& m_text;
    size_t m_pos = 0;
    bool m_raw = false;
    std::vector<MarkupToken> m_tokens;
};

}  // namespace

std::vector<MarkupToken> TokenizeMarkup(const std::wstring& text)
{
    return Tokenizer(text).Run();
}

}  // namespace SkinUI
