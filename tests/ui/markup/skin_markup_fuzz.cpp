// libFuzzer entry point for the skin markup reader: any bytes, read in each encoding (and once
// keeping white space), either parse into a tree whose every part can be read back, or fail
// with one of the parse error texts and a location taken from the text as written.
#include "ui/markup/skin_markup.h"
#include "ui/markup/skin_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using SkinUI::CSkinMarkup;
using SkinUI::CSkinMarkupNode;

void Check(bool condition)
{
    if (!condition) std::abort();
}

bool IsParseError(const std::wstring& error)
{
    for (const wchar_t* known :
         {L"Expected start tag", L"Error parsing element name", L"Expected start-tag closing",
          L"Expected end-tag start", L"Unmatched closing tag", L"Error while parsing attributes",
          L"Expected attribute value", L"Error while parsing attribute string",
          L"Elements nested too deeply"}) {
        if (error == known) return true;
    }
    return false;
}

bool IsName(const std::wstring& name)
{
    if (name.empty()) return false;
    for (wchar_t c : name) {
        const bool letter = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
        if (!letter && !(c >= L'0' && c <= L'9') && c != L':' && c != L'_') return false;
    }
    return true;
}

// Folded text has no white space right after a space.
bool IsFolded(const std::wstring& text)
{
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i - 1] == L' ' && text[i] <= L' ') return false;
    }
    return true;
}

void CheckNode(const CSkinMarkupNode& node, int depth, bool folded)
{
    Check(depth <= SkinUI::kMaxSkinDepth);
    Check(IsName(node.Name()));
    Check(!folded || IsFolded(node.Data()));
    Check(node.AttributeCount() <= SkinUI::kMaxSkinAttributes);
    for (std::size_t i = 0; i < node.AttributeCount(); ++i) {
        const std::wstring name = node.AttributeName(i);
        const std::wstring value = node.AttributeValue(i);
        Check(IsName(name));
        Check(!folded || IsFolded(value));
        // By name, the first attribute of that name answers.
        std::size_t first = 0;
        while (name != node.AttributeName(first)) ++first;
        Check(node.AttributeValue(name) == std::wstring(node.AttributeValue(first)));
    }
    for (CSkinMarkupNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        Check(std::wstring(child.Parent().Name()) == node.Name());
        CheckNode(child, depth + 1, folded);
    }
}

void CheckLoad(const std::uint8_t* data, std::size_t size, SkinUI::SkinEncoding encoding,
               bool preserveWhitespace)
{
    CSkinMarkup markup;
    markup.SetPreserveWhitespace(preserveWhitespace);
    if (!markup.LoadSkinBytes(data, size, encoding)) {
        Check(!markup.IsValid());
        Check(IsParseError(markup.ParseError()));
        Check(markup.ParseErrorLocation().size() <= 49);
        const std::wstring text = SkinUI::DecodeSkinBytes(data, size, encoding);
        Check(text.find(markup.ParseErrorLocation()) != std::wstring::npos);
        return;
    }
    Check(markup.ParseError().empty() && markup.ParseErrorLocation().empty());
    for (CSkinMarkupNode node = markup.Root(); node.IsValid(); node = node.NextSibling()) {
        Check(!node.Parent().IsValid());
        CheckNode(node, 1, !preserveWhitespace);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckLoad(data, size, SkinUI::SkinEncoding::Utf8, false);
    CheckLoad(data, size, SkinUI::SkinEncoding::Utf8, true);
    CheckLoad(data, size, SkinUI::SkinEncoding::Utf16, false);
    CheckLoad(data, size, SkinUI::SkinEncoding::Ansi, false);
    return 0;
}
