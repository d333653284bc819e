// JsonRecord and JsonElement: the installer's small reader and writer of the flat JSON records
// exchanged with the install service. Not a general JSON parser: reading splits one object into
// a flat token list (names and values alike) and a lookup returns the token after a name;
// writing joins pre-rendered members. Portable; works on narrow byte strings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One member of a record being written. After construction `text` holds the key; after
// setString or setInt it holds the rendered member ("key":value, or just value without a key).
class JsonElement {
public:
    explicit JsonElement(std::string key);

    // Renders the member with a string value in double quotes, written exactly as given (as is
    // the key): the values come escaped as they were read from the service's answers, which the
    // reader never unescapes, so escaping them again would change what the service decodes.
    void setString(const std::string& value);
    // Renders the member with a decimal integer value ("-" when negative).
    void setInt(std::int32_t value);

    const std::string& text() const { return text_; }

private:
    void render(const std::string& valueText);

    std::string text_;
    bool noKey_;  // added with an empty key (an array item): rendered without a key part
};

class JsonRecord {
public:
    // Replaces the token list by the tokens of `text`. Scans the part between the first "{" and
    // the last "}" (the whole text when either is missing): quoted strings give their content
    // without unescaping, nested objects and arrays give their raw text, numbers give a token
    // only right after ":" (negative numbers and literals give none). When nothing gives a
    // token, the scanned part itself is the one token. Always returns true.
    bool parse(const std::string& text);

    // Returns a copy of the token after the first token equal to `key`, or `fallback` when no
    // token equals key or the equal one is the last. Values equal to key match too.
    std::string get(const std::string& key, const std::string& fallback) const;

    // Appends a member with `key` (empty for an array item). The reference stays valid until
    // the next add.
    JsonElement& add(const std::string& key);

    // Joins the members with "," and no whitespace: kind 1 inside "{" "}", kind 0 bare, any
    // other kind inside "[" "]".
    std::string serialize(int kind) const;

    // The tokens of the last parse, in order; valid until the next parse.
    const std::vector<std::string>& tokens() const { return tokens_; }

private:
    std::vector<std::string> tokens_;
    std::vector<JsonElement> members_;
};
