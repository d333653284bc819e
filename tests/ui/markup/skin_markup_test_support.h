// Helpers of the skin markup tests: a node's children and attributes as plain lists.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/markup/skin_markup.h"

namespace SkinUI::test {

using Names = std::vector<std::wstring>;
using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;

inline std::vector<CSkinMarkupNode> ChildrenOf(const CSkinMarkupNode& node)
{
    std::vector<CSkinMarkupNode> children;
    for (CSkinMarkupNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        children.push_back(child);
    }
    return children;
}

inline Names ChildNamesOf(const CSkinMarkupNode& node)
{
    Names names;
    for (const CSkinMarkupNode& child : ChildrenOf(node)) names.emplace_back(child.Name());
    return names;
}

inline Attributes AttributesOf(const CSkinMarkupNode& node)
{
    Attributes attributes;
    for (std::size_t i = 0; i < node.AttributeCount(); ++i) {
        attributes.emplace_back(node.AttributeName(i), node.AttributeValue(i));
    }
    return attributes;
}

// The element and its descendants as one line of text: name, attributes, data, children.
inline std::wstring TreeOf(const CSkinMarkupNode& node)
{
    std::wstring tree = L"<" + std::wstring(node.Name());
    for (const auto& [name, value] : AttributesOf(node)) tree += L" " + name + L"=[" + value + L"]";
    tree += L">" + std::wstring(node.Data());
    for (const CSkinMarkupNode& child : ChildrenOf(node)) tree += TreeOf(child);
    return tree + L"</>";
}

}  // namespace SkinUI::test
