// The skin markup parser; see skin_markup_parser.h.
//
// What a successful parse leaves in the text, which ReadSkinAttributes relies on:
// - an element name is followed by a terminator, written over the white space, "/" or ">"
//   after it;
// - an attribute name is followed by a terminator; after it come only white space, "=" and the
//   value's opening quote, which stays;
// - an attribute value is decoded from just after its opening quote, and everything from the
//   end of the decoded value up to and including its closing quote becomes terminators;
// - the attribute list ends at a ">" that stays, or at the element's data position.
#include "ui/markup/skin_markup_parser.h"

#include <algorithm>
#include <string_view>

namespace SkinUI {
namespace {

const wchar_t kExpectedStartTag[] = L"Expected start tag";
const wchar_t kElementName[] = L"Error parsing element name";
const wchar_t kExpectedStartTagClosing[] = L"Expected start-tag closing";
const wchar_t kExpectedEndTagStart[] = L"Expected end-tag start";
const wchar_t kUnmatchedClosingTag[] = L"Unmatched closing tag";
const wchar_t kAttributes[] = L"Error while parsing attributes";
const wchar_t kExpectedAttributeValue[] = L"Expected attribute value";
const wchar_t kAttributeString[] = L"Error while parsing attribute string";

struct Entity {
    const wchar_t* name;  // between "&" and ";"
    wchar_t character;
};

const Entity kEntities[] = {
    {L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}, {L"quot", L'"'}, {L"apos", L'\''},
};

bool IsSpace(wchar_t c)
{
    return c <= L' ';
}

bool IsNameChar(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
           c == L':' || c == L'_';
}

// Element records grow by half plus 500, so a skin's few hundred elements take one step.
std::size_t AppendRecord(std::vector<SkinElement>& elements, const SkinElement& element)
{
    if (elements.size() == elements.capacity()) {
        elements.reserve(elements.capacity() / 2 + elements.capacity() + 500);
    }
    elements.push_back(element);
    return elements.size() - 1;
}

class Parser {
public:
    Parser(std::wstring& text, bool preserveWhitespace, std::vector<SkinElement>& elements)
        : m_text(text), m_preserveWhitespace(preserveWhitespace), m_elements(elements)
    {
    }

    std::optional<SkinParseFailure> Run()
    {
        m_text.resize(std::min(m_text.find(L'\0'), m_text.size()));
        m_elements.clear();
        AppendRecord(m_elements, {m_text.size(), 0, 0, 0, m_text.size()});
        // The top level ends at the end of the text; a "</" there closes nothing.
        if (ParseLevel(0, 1) && !AtEnd()) Fail(kUnmatchedClosingTag, m_pos + 2);
        return m_failure;
    }

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }

    // The character at `pos`, or NUL at and past the end of the text.
    wchar_t At(std::size_t pos) const { return pos < m_text.size() ? m_text[pos] : L'\0'; }

    void SkipWhitespace()
    {
        while (!AtEnd() && IsSpace(m_text[m_pos])) ++m_pos;
    }

    void SkipName()
    {
        while (!AtEnd() && IsNameChar(m_text[m_pos])) ++m_pos;
    }

    bool Fail(const wchar_t* message, std::size_t position)
    {
        m_failure = SkinParseFailure{message, position < m_text.size() ? position : m_text.size()};
        return false;
    }

    void Terminate(std::size_t pos)
    {
        if (pos < m_text.size()) m_text[pos] = L'\0';
    }

    // The elements of one level, children of `parent`, at nesting `depth`. Stops before "</",
    // which the caller checks, or at the end of the text, which only the top level may reach.
    bool ParseLevel(std::size_t parent, int depth)
    {
        std::size_t previous = 0;
        for (;;) {
            SkipWhitespace();
            if (AtEnd()) return parent == 0 || Fail(kExpectedStartTag, m_pos);
            if (m_text[m_pos] != L'<') return Fail(kExpectedStartTag, m_pos);
            const wchar_t next = At(m_pos + 1);
            if (next == L'/') return true;
            if (next == L'!' || next == L'?') {
                SkipSection(next == L'!' ? L"->" : L"?>");
                continue;
            }
            if (depth > kMaxSkinDepth) return Fail(kSkinNestedTooDeeply, m_pos);
            ++m_pos;
            const std::size_t element = AppendRecord(m_elements, {m_pos, parent, 0, 0, 0});
            if (previous != 0) {
                m_elements[previous].next = element;
            } else {
                m_elements[parent].child = element;
            }
            previous = element;
            if (!ParseElement(element, depth)) return false;
        }
    }

    // A declaration or comment: skipped up to and including `end`, or to the end of the text.
    void SkipSection(const wchar_t* end)
    {
        const std::size_t found = m_text.find(end, m_pos + 2);
        m_pos = found == std::wstring::npos ? m_text.size() : found + 2;
    }

    // One element from its name on: attributes, then either "/>" or ">", data, children and
    // the end tag.
    bool ParseElement(std::size_t element, int depth)
    {
        const std::size_t name = m_pos;
        SkipName();
        const std::size_t nameEnd = m_pos;
        if (nameEnd == name) return Fail(kElementName, m_pos);
        if (!ParseAttributes()) return false;
        if (At(m_pos) == L'/' && At(m_pos + 1) == L'>') {
            m_elements[element].data = m_pos;
            m_text[nameEnd] = L'\0';
            m_text[m_pos] = L'\0';  // the empty data
            m_pos += 2;
            return true;
        }
        if (At(m_pos) != L'>') return Fail(kExpectedStartTagClosing, m_pos);
        m_text[nameEnd] = L'\0';
        m_elements[element].data = ++m_pos;
        const std::size_t dataEnd = DecodeUpTo(L'<');
        if (AtEnd()) {
            Terminate(dataEnd);
            return m_elements[element].parent == 0 || Fail(kExpectedEndTagStart, m_pos);
        }
        if (At(m_pos + 1) != L'/' && !ParseLevel(element, depth + 1)) return false;
        if (!ParseEndTag(name, nameEnd - name)) return false;
        // Only now: the data may end right at the "<" the children or the end tag began with.
        Terminate(dataEnd);
        return true;
    }

    // At "</": the element's name, optional white space and ">".
    bool ParseEndTag(std::size_t name, std::size_t nameLength)
    {
        m_pos += 2;
        const std::size_t closingName = m_pos;
        if (m_text.compare(closingName, nameLength, m_text, name, nameLength) != 0) {
            return Fail(kUnmatchedClosingTag, closingName);
        }
        m_pos += nameLength;
        SkipWhitespace();
        if (At(m_pos) != L'>') return Fail(kUnmatchedClosingTag, closingName);
        ++m_pos;
        return true;
    }

    // Name="value" pairs up to "/", ">" or the end of the text; no white space is needed
    // between a closing quote and the next name.
    bool ParseAttributes()
    {
        for (;;) {
            SkipWhitespace();
            if (AtEnd() || m_text[m_pos] == L'/' || m_text[m_pos] == L'>') return true;
            const std::size_t name = m_pos;
            SkipName();
            const std::size_t nameEnd = m_pos;
            if (nameEnd == name) return Fail(kAttributes, m_pos);
            SkipWhitespace();
            if (At(m_pos) != L'=') return Fail(kAttributes, m_pos);
            ++m_pos;
            SkipWhitespace();
            if (At(m_pos) != L'"') return Fail(kExpectedAttributeValue, m_pos);
            ++m_pos;
            if (m_text.find(L'"', m_pos) == std::wstring::npos) {
                return Fail(kAttributeString, m_pos);
            }
            m_text[nameEnd] = L'\0';
            const std::size_t valueEnd = DecodeUpTo(L'"');
            for (std::size_t pos = valueEnd; pos <= m_pos; ++pos) m_text[pos] = L'\0';
            ++m_pos;
        }
    }

    // Decodes the text from the parse position up to `stop` or the end of the text where it
    // stands, and leaves the parse position at `stop` (or the end). Returns where the decoded
    // text ends; nothing is terminated yet.
    std::size_t DecodeUpTo(wchar_t stop)
    {
        const std::size_t end = std::min(m_text.find(stop, m_pos), m_text.size());
        std::size_t out = m_pos;
        while (m_pos < end) {
            const wchar_t c = m_text[m_pos];
            if (c == L'&' && DecodeEntity(end, m_text[out])) {
                ++out;
                continue;
            }
            m_text[out++] = c;
            ++m_pos;
            if (c == L' ' && !m_preserveWhitespace) {
                while (m_pos < end && IsSpace(m_text[m_pos])) ++m_pos;
            }
        }
        return out;
    }

    // At "&": one of the predefined entities ending before `end` becomes `decoded` and is
    // passed. Any other "&" is left to be copied as it is.
    bool DecodeEntity(std::size_t end, wchar_t& decoded)
    {
        for (const Entity& entity : kEntities) {
            const std::wstring_view name(entity.name);
            const std::size_t semicolon = m_pos + 1 + name.size();
            if (semicolon >= end || m_text[semicolon] != L';' ||
                m_text.compare(m_pos + 1, name.size(), name) != 0) {
                continue;
            }
            decoded = entity.character;
            m_pos = semicolon + 1;
            return true;
        }
        return false;
    }

    std::wstring& m_text;
    const bool m_preserveWhitespace;
    std::vector<SkinElement>& m_elements;
    std::size_t m_pos = 0;
    std::optional<SkinParseFailure> m_failure;
};

}  // namespace

std::optional<SkinParseFailure> ParseSkinMarkup(std::wstring& text, bool preserveWhitespace,
                                                std::vector<SkinElement>& elements)
{
    return Parser(text, preserveWhitespace, elements).Run();
}

std::size_t ReadSkinAttributes(const std::wstring& text, const SkinElement& element,
                               SkinAttributeTable& table)
{
    std::size_t pos = element.name;
    while (pos < text.size() && IsNameChar(text[pos])) ++pos;
    ++pos;  // the name's terminator
    const std::size_t end = element.data;
    std::size_t count = 0;
    while (count < table.size()) {
        while (pos < end && text[pos] != L'\0' && IsSpace(text[pos])) ++pos;
        if (pos >= end || !IsNameChar(text[pos])) break;
        const std::size_t name = pos;
        const std::size_t quote = text.find(L'"', name);
        if (quote >= end) break;
        pos = quote + 1;
        table[count++] = {name, pos};
        while (text[pos] != L'\0') ++pos;
        while (pos < end && text[pos] == L'\0') ++pos;
    }
    return count;
}

}  // namespace SkinUI
