// JsonRecord and JsonElement: flat token reader and member writer of the service's records.
#include "service/json_record.h"

#include <utility>

namespace {

bool isJsonSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The text strictly between the first "{" and the last "}", or all of it without both braces.
std::string innerText(const std::string& text)
{
    const std::size_t open = text.find('{');
    const std::size_t close = text.rfind('}');
    if (open == std::string::npos || close == std::string::npos) return text;
    if (close < open) return std::string();  // "}...{": nothing lies between them
    return text.substr(open + 1, close - open - 1);
}

// Index of the bracket that balances the one at `start`, or the last index when it never does.
// Brackets inside strings count too.
std::size_t blockEnd(const std::string& s, std::size_t start, char open, char close)
{
    int depth = 0;
    for (std::size_t i = start; i < s.size(); ++i) {
        if (s[i] == open)
            ++depth;
        else if (s[i] == close && --depth == 0)
            return i;
    }
    return s.size() - 1;
}

// Index of the "," or ":" that ends the quoted span starting at `start`, met while an even
// number of quotes has been seen; the last index when there is none. Backslashes are ordinary.
std::size_t quotedSpanEnd(const std::string& s, std::size_t start)
{
    int quotes = 0;
    for (std::size_t i = start; i < s.size(); ++i) {
        if (s[i] == '"')
            ++quotes;
        else if ((s[i] == ',' || s[i] == ':') && quotes % 2 == 0)
            return i;
    }
    return s.size() - 1;
}

// The part of s[start..end] strictly between its first quote (at start) and its last quote.
std::string betweenQuotes(const std::string& s, std::size_t start, std::size_t end)
{
    const std::size_t last = s.rfind('"', end);
    if (last <= start) return std::string();
    return s.substr(start + 1, last - start - 1);
}

bool followsColon(const std::string& s, std::size_t i)
{
    while (i > 0) {
        --i;
        if (!isJsonSpace(s[i])) return s[i] == ':';
    }
    return false;
}

}  // namespace

JsonElement::JsonElement(std::string key) : text_(std::move(key)), noKey_(text_.empty()) {}

void JsonElement::setString(const std::string& value)
{
    render('"' + value + '"');
}

void JsonElement::setInt(std::int32_t value)
{
    render(std::to_string(value));
}

void JsonElement::render(const std::string& valueText)
{
    text_ = noKey_ ? valueText : '"' + text_ + "\":" + valueText;
}

bool JsonRecord::parse(const std::string& text)
{
    tokens_.clear();
    const std::string inner = innerText(text);
    std::size_t i = 0;
    while (i < inner.size()) {
        const char c = inner[i];
        std::size_t end;  // the character that ended the token
        if (c == '{' || c == '[') {
            end = blockEnd(inner, i, c, c == '{' ? '}' : ']');
            tokens_.push_back(inner.substr(i, end - i + 1));
        } else if (c == '"') {
            end = quotedSpanEnd(inner, i);
            tokens_.push_back(betweenQuotes(inner, i, end));
        } else if (isDigit(c) && followsColon(inner, i)) {
            end = inner.find(',', i);
            if (end == std::string::npos) end = inner.size();
            tokens_.push_back(inner.substr(i, end - i));
        } else {
            ++i;  // whitespace, literals, signs and digits not after ":" give no token
            continue;
        }
        i = end + 1;
    }
    if (tokens_.empty()) tokens_.push_back(inner);
    return true;
}

std::string JsonRecord::get(const std::string& key, const std::string& fallback) const
{
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
        if (tokens_[i] == key) return i + 1 < tokens_.size() ? tokens_[i + 1] : fallback;
    }
    return fallback;
}

JsonElement& JsonRecord::add(const std::string& key)
{
    members_.emplace_back(key);
    return members_.back();
}

std::string JsonRecord::serialize(int kind) const
{
    const char* open = kind == 1 ? "{" : kind == 0 ? "" : "[";
    const char* close = kind == 1 ? "}" : kind == 0 ? "" : "]";
    std::string result = open;
    for (const JsonElement& member : members_) result += member.text() + ',';
    if (!result.empty() && result.back() == ',') result.pop_back();
    return result + close;
}
