// CSkinMarkup: a skin document read from text or bytes, and CSkinMarkupNode, the handle of one
// of its elements with the element's attributes. Portable: file and archive access stay with
// the callers, which hand the bytes over and report their own failures through FailLoad.
//
// The markup is a small XML subset: elements with double-quoted attributes and text content
// before their first child; "<?" ... "?>" declarations and "<!" ... "->" comments; the
// entities amp, lt, gt, quot and apos. Element and attribute names are runs of ASCII letters,
// digits, ":" and "_". A top-level element may be left open at the end of the text; an element
// inside another may not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/markup/skin_markup_parser.h"
#include "ui/markup/skin_text.h"

namespace SkinUI {

// Why the bytes of a skin file could not be had; CSkinMarkup::FailLoad records the text.
enum class SkinLoadError {
    OpenFile,      // "Error opening file"
    EmptyFile,     // "File is empty"
    FileTooLarge,  // "File too large"
    ReadFile,      // "Could not read file"
    OpenZip,       // "Error opening zip file"
    FindZipEntry,  // "Could not find ziped file"
    UnzipEntry,    // "Could not unzip file"
};

// The largest skin file read, in bytes.
inline constexpr std::uint64_t kMaxSkinFileSize = 0x400000;

// EmptyFile or FileTooLarge for a skin file or archive entry of `size` bytes; nothing when it
// may be read. Callers check before reading the bytes.
std::optional<SkinLoadError> CheckSkinFileSize(std::uint64_t size);

class CSkinMarkupNode;

class CSkinMarkup {
public:
    CSkinMarkup() = default;
    // Nodes point at their document.
    CSkinMarkup(const CSkinMarkup&) = delete;
    CSkinMarkup& operator=(const CSkinMarkup&) = delete;

    // Every load releases the previous document and its error first, and returns whether a
    // document is held afterwards. A failed load leaves none; ParseError and
    // ParseErrorLocation say why. The text ends at its first NUL. Text without elements (empty,
    // or only declarations and comments) is a document without a root.

    // Parses `text`.
    bool LoadSkinText(std::wstring_view text);
    // Converts `length` bytes at `bytes` from `encoding` (see skin_text.h) and parses them.
    bool LoadSkinBytes(const unsigned char* bytes, std::size_t length, SkinEncoding encoding);
    // Records a failure to get a skin file's bytes: releases the document, stores the error's
    // text with an empty location, and returns false.
    bool FailLoad(SkinLoadError error);

    // Releases the document and the last error; nodes of the document become unusable.
    void Release();
    // Keep white space after a space in values and data; applies to the next load.
    void SetPreserveWhitespace(bool preserve) { m_preserveWhitespace = preserve; }

    bool IsValid() const { return !m_elements.empty(); }
    // The document's first top-level element; an invalid node when there is none.
    CSkinMarkupNode Root() const;

    // The message of the last failed load, empty after a successful one.
    const std::wstring& ParseError() const { return m_error; }
    // Up to 49 characters of the text where the last parse failed; empty after a load failure,
    // a success, or a failure at the end of the text.
    const std::wstring& ParseErrorLocation() const { return m_errorLocation; }

private:
    friend class CSkinMarkupNode;

    bool Parse();

    std::wstring m_text;  // parsed in place: decoded values and data, terminators
    std::vector<SkinElement> m_elements;
    std::wstring m_error;
    std::wstring m_errorLocation;
    bool m_preserveWhitespace = false;
};

// A handle of one element of a CSkinMarkup; valid while the document holds what it was made
// from (no later load or release). Strings returned point into the document's text and are
// terminated; a missing or out-of-range attribute, or any query of an invalid node, gives "".
// The attribute table is read once, on the first question about attributes.
class CSkinMarkupNode {
public:
    CSkinMarkupNode() = default;

    bool IsValid() const { return m_markup != nullptr; }
    CSkinMarkupNode Parent() const;
    CSkinMarkupNode FirstChild() const;
    CSkinMarkupNode NextSibling() const;
    bool HasChildren() const;

    const wchar_t* Name() const;
    // The element's text content, decoded.
    const wchar_t* Data() const;

    bool HasAttributes() const { return AttributeCount() > 0; }
    // At most kMaxSkinAttributes: later ones are not read.
    std::size_t AttributeCount() const;
    const wchar_t* AttributeName(std::size_t index) const;
    const wchar_t* AttributeValue(std::size_t index) const;
    // The value of the first attribute named exactly `name`.
    const wchar_t* AttributeValue(std::wstring_view name) const;

private:
    friend class CSkinMarkup;
    CSkinMarkupNode(const CSkinMarkup* markup, std::size_t element);

    const SkinElement& Element() const { return m_markup->m_elements[m_element]; }
    const wchar_t* TextAt(std::size_t pos) const { return m_markup->m_text.c_str() + pos; }
    void ReadAttributes() const;

    const CSkinMarkup* m_markup = nullptr;  // null: invalid
    std::size_t m_element = 0;
    mutable std::optional<std::size_t> m_attributeCount;  // read on demand
    mutable SkinAttributeTable m_attributes{};
};

}  // namespace SkinUI
