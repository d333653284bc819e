// The skin markup parser: the small XML subset skins are written in, parsed in place into
// element records, and the attribute list of one parsed element read back on demand.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace SkinUI {

// One element of a parsed skin. Positions point into the parsed text, at terminated strings;
// indices point into the element array, where 0 (the empty record standing before the
// document's top level) means none.
struct SkinElement {
    std::size_t name;    // the element name
    std::size_t parent;  // 0 for the document's top-level elements
    std::size_t child;   // the first child
    std::size_t next;    // the next sibling
    std::size_t data;    // the text content: the decoded text up to the first child or end tag
};

// One attribute: positions of its name and decoded value in the parsed text.
struct SkinAttribute {
    std::size_t name;
    std::size_t value;
};

// An element's attributes beyond this many are parsed but not read back.
inline constexpr std::size_t kMaxSkinAttributes = 64;
using SkinAttributeTable = std::array<SkinAttribute, kMaxSkinAttributes>;

// How deeply elements may nest: far beyond any skin, shallow enough that the recursive parse
// and build of a hostile skin stay within a thread's stack.
inline constexpr int kMaxSkinDepth = 256;
// The parse error of elements nested deeper than that, also through included skins.
inline constexpr wchar_t kSkinNestedTooDeeply[] = L"Elements nested too deeply";

// Why and where a parse stopped: one of the parse error texts and a position in the text, at
// most its length (the end of the text).
struct SkinParseFailure {
    const wchar_t* message;
    std::size_t position;
};

// Parses `text` in place: cuts it at its first NUL, decodes attribute values and element data
// where they stand and writes terminators behind the parse position only, so the text ahead of
// a failure is still as written. Fills `elements` with record 0 first, then one record per
// element in document order. White space after a space is dropped from values and data unless
// `preserveWhitespace`. Returns nothing on success; on failure `elements` and `text` hold a
// partial parse that only the failure position may be read from.
std::optional<SkinParseFailure> ParseSkinMarkup(std::wstring& text, bool preserveWhitespace,
                                                std::vector<SkinElement>& elements);

// Fills `table` with the first kMaxSkinAttributes attributes of `element`, in document order
// (a repeated name occurs twice), from text parsed by ParseSkinMarkup; returns their count.
std::size_t ReadSkinAttributes(const std::wstring& text, const SkinElement& element,
                               SkinAttributeTable& table);

}  // namespace SkinUI
