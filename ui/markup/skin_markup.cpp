// CSkinMarkup and CSkinMarkupNode; see skin_markup.h.
#include "ui/markup/skin_markup.h"

#include <utility>

namespace SkinUI {
namespace {

// Texts a parse failure keeps of the text at its position.
constexpr std::size_t kErrorLocationLength = 49;

const wchar_t* LoadErrorText(SkinLoadError error)
{
    switch (error) {
    case SkinLoadError::OpenFile: return L"Error opening file";
    case SkinLoadError::EmptyFile: return L"File is empty";
    case SkinLoadError::FileTooLarge: return L"File too large";
    case SkinLoadError::ReadFile: return L"Could not read file";
    case SkinLoadError::OpenZip: return L"Error opening zip file";
    case SkinLoadError::FindZipEntry: return L"Could not find ziped file";
    case SkinLoadError::UnzipEntry: return L"Could not unzip file";
    }
    return L"";
}

}  // namespace

std::optional<SkinLoadError> CheckSkinFileSize(std::uint64_t size)
{
    if (size == 0) return SkinLoadError::EmptyFile;
    if (size > kMaxSkinFileSize) return SkinLoadError::FileTooLarge;
    return std::nullopt;
}

bool CSkinMarkup::LoadSkinText(std::wstring_view text)
{
    std::wstring copy(text);  // `text` may lie in the document released here
    Release();
    m_text = std::move(copy);
    return Parse();
}

bool CSkinMarkup::LoadSkinBytes(const unsigned char* bytes, std::size_t length,
                                SkinEncoding encoding)
{
    Release();
    m_text = DecodeSkinBytes(bytes, length, encoding);
    return Parse();
}

bool CSkinMarkup::FailLoad(SkinLoadError error)
{
    Release();
    m_error = LoadErrorText(error);
    return false;
}

void CSkinMarkup::Release()
{
    m_text.clear();
    m_text.shrink_to_fit();
    m_elements.clear();
    m_elements.shrink_to_fit();
    m_error.clear();
    m_errorLocation.clear();
}

bool CSkinMarkup::Parse()
{
    const std::optional<SkinParseFailure> failure =
        ParseSkinMarkup(m_text, m_preserveWhitespace, m_elements);
    if (!failure) return true;
    const std::wstring location = m_text.substr(failure->position, kErrorLocationLength);
    const std::wstring error = failure->message;
    Release();
    m_error = error;
    m_errorLocation = location.substr(0, location.find(L'\0'));
    return false;
}

CSkinMarkupNode CSkinMarkup::Root() const
{
    return IsValid() ? CSkinMarkupNode(this, m_elements[0].child) : CSkinMarkupNode();
}

CSkinMarkupNode::CSkinMarkupNode(const CSkinMarkup* markup, std::size_t element)
{
    if (element == 0 || element >= markup->m_elements.size()) return;
    m_markup = markup;
    m_element = element;
}

CSkinMarkupNode CSkinMarkupNode::Parent() const
{
    return IsValid() ? CSkinMarkupNode(m_markup, Element().parent) : CSkinMarkupNode();
}

CSkinMarkupNode CSkinMarkupNode::FirstChild() const
{
    return IsValid() ? CSkinMarkupNode(m_markup, Element().child) : CSkinMarkupNode();
}

CSkinMarkupNode CSkinMarkupNode::NextSibling() const
{
    return IsValid() ? CSkinMarkupNode(m_markup, Element().next) : CSkinMarkupNode();
}

bool CSkinMarkupNode::HasChildren() const
{
    return IsValid() && Element().child != 0;
}

const wchar_t* CSkinMarkupNode::Name() const
{
    return IsValid() ? TextAt(Element().name) : L"";
}

const wchar_t* CSkinMarkupNode::Data() const
{
    return IsValid() ? TextAt(Element().data) : L"";
}

std::size_t CSkinMarkupNode::AttributeCount() const
{
    ReadAttributes();
    return *m_attributeCount;
}

const wchar_t* CSkinMarkupNode::AttributeName(std::size_t index) const
{
    return index < AttributeCount() ? TextAt(m_attributes[index].name) : L"";
}

const wchar_t* CSkinMarkupNode::AttributeValue(std::size_t index) const
{
    return index < AttributeCount() ? TextAt(m_attributes[index].value) : L"";
}

const wchar_t* CSkinMarkupNode::AttributeValue(std::wstring_view name) const
{
    for (std::size_t i = 0; i < AttributeCount(); ++i) {
        if (name == TextAt(m_attributes[i].name)) return TextAt(m_attributes[i].value);
    }
    return L"";
}

void CSkinMarkupNode::ReadAttributes() const
{
    if (m_attributeCount) return;
    m_attributeCount =
        IsValid() ? ReadSkinAttributes(m_markup->m_text, Element(), m_attributes) : 0;
}

}  // namespace SkinUI
