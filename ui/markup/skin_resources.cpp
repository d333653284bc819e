// The resource elements of a skin; see skin_resources.h.
#include "ui/markup/skin_resources.h"

#include "ui/core/attribute_values.h"
#include "ui/core/ui_manager.h"

#include <cwchar>
#include <string>

namespace SkinUI {
namespace {

bool Is(const wchar_t* text, const wchar_t* expected)
{
    return _wcsicmp(text, expected) == 0;
}

// Calls `read(name, value)` for each attribute of `node` in document order.
template <typename Read>
void ForEachAttribute(CSkinMarkupNode node, Read read)
{
    for (std::size_t i = 0; i < node.AttributeCount(); ++i)
        read(node.AttributeName(i), node.AttributeValue(i));
}

void CacheImageElement(CUIManager& manager, CSkinMarkupNode node)
{
    std::wstring name, type;
    DWORD mask = 0;
    bool shared = false;
    ForEachAttribute(node, [&](const wchar_t* attribute, const wchar_t* value) {
        if (Is(attribute, L"name"))
            name = value;
        else if (Is(attribute, L"restype"))
            type = value;
        else if (Is(attribute, L"mask"))
            mask = ParseColor(value);
        else if (Is(attribute, L"shared"))
            shared = Is(value, L"true");
    });
    if (name.empty()) return;
    manager.Images().CacheImage(name, type.empty() ? nullptr : type.c_str(), mask, false, shared);
}

void DefineFontElement(CUIManager& manager, CSkinMarkupNode node)
{
    int id = -1, size = 12;
    std::wstring face;
    bool bold = false, underline = false, italic = false, isDefault = false, shared = false;
    ForEachAttribute(node, [&](const wchar_t* attribute, const wchar_t* value) {
        if (Is(attribute, L"id"))
            id = ParseInt(value, -1);
        else if (Is(attribute, L"name"))
            face = value;
        else if (Is(attribute, L"size"))
            size = ParseInt(value, 12);
        else if (Is(attribute, L"bold"))
            bold = Is(value, L"true");
        else if (Is(attribute, L"underline"))
            underline = Is(value, L"true");
        else if (Is(attribute, L"italic"))
            italic = Is(value, L"true");
        else if (Is(attribute, L"default"))
            isDefault = Is(value, L"true");
        else if (Is(attribute, L"shared"))
            shared = Is(value, L"true");
    });
    if (id < 0 || face.empty()) return;
    manager.Fonts().DefineFont(id, face, size, bold, underline, italic, shared);
    if (isDefault) manager.Fonts().SetDefaultFont(face, size, bold, underline, italic);
}

void StoreDefaultElement(CUIManager& manager, CSkinMarkupNode node)
{
    std::wstring kind, list;
    bool shared = false;
    ForEachAttribute(node, [&](const wchar_t* attribute, const wchar_t* value) {
        if (Is(attribute, L"name"))
            kind = value;
        else if (Is(attribute, L"value"))
            list = value;
        else if (Is(attribute, L"shared"))
            shared = Is(value, L"true");
    });
    if (!kind.empty()) manager.SetDefaultAttributes(kind, list, shared);
}

void StoreLanguageElement(CSkinMarkupNode node)
{
    int id = -1;
    std::wstring text;
    ForEachAttribute(node, [&](const wchar_t* attribute, const wchar_t* value) {
        if (Is(attribute, L"id"))
            id = ParseInt(value, -1);
        else if (Is(attribute, L"value"))
            text = value;
    });
    if (id >= 0 && !text.empty()) CUIManager::SetLanguageString(id, text);
}

}  // namespace

void ApplySkinResources(CUIManager& manager, CSkinMarkupNode root)
{
    for (CSkinMarkupNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
        const wchar_t* name = node.Name();
        if (Is(name, L"Image"))
            CacheImageElement(manager, node);
        else if (Is(name, L"Font"))
            DefineFontElement(manager, node);
        else if (Is(name, L"Default"))
            StoreDefaultElement(manager, node);
        else if (Is(name, L"MultiLanguage"))
            StoreLanguageElement(node);
    }
}

}  // namespace SkinUI
