// Window attributes of the skin's Window element: one table from name to effect, each value
// read by the shared parsers of skin values.
#include "ui/core/ui_manager.h"

#include "ui/core/attribute_values.h"

#include <algorithm>
#include <cwctype>

namespace SkinUI {

namespace {

bool EqualsIgnoringCase(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != 0; ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return i == a.size() && b[i] == 0;
}

}  // namespace

// Names marked exact compare case-sensitively as skins have always been read; the others
// ignore case.
void CUIManager::ApplyWindowAttribute(const std::wstring& name, const std::wstring& value)
{
    struct Entry {
        const wchar_t* name;
        bool exact;
        void (*apply)(CUIManager& manager, const std::wstring& value);
    };
    static const Entry kTable[] = {
        {L"size", false,
         [](CUIManager& m, const std::wstring& v) { m.ApplyInitialSize(ParseSize(v)); }},
        {L"sizebox", false,
         [](CUIManager& m, const std::wstring& v) { m.m_sizeBox = ParseRect(v); }},
        {L"caption", false,
         [](CUIManager& m, const std::wstring& v) { m.m_caption = ParseRect(v); }},
        {L"roundcorner", false,
         [](CUIManager& m, const std::wstring& v) { m.m_roundCorner = ParseSize(v); }},
        {L"mininfo", false,
         [](CUIManager& m, const std::wstring& v) { m.m_minInfo = ParseSize(v); }},
        {L"maxinfo", false,
         [](CUIManager& m, const std::wstring& v) { m.m_maxInfo = ParseSize(v); }},
        {L"showdirty", false,
         [](CUIManager& m, const std::wstring& v) { m.m_showDirty = ParseBool(v); }},
        {L"noactivate", true,
         [](CUIManager& m, const std::wstring& v) { m.m_noActivate = ParseBool(v); }},
        {L"opacity", false,
         [](CUIManager& m, const std::wstring& v) { m.SetWindowOpacity(ClampByte(ParseInt(v))); }},
        {L"layeredopacity", true,
         [](CUIManager& m, const std::wstring& v) {
             m.ApplyLayeredOpacity(ClampByte(ParseInt(v)));
         }},
        {L"layeredimage", true,
         [](CUIManager& m, const std::wstring& v) { m.ApplyLayeredImage(v); }},
        {L"disabledfontcolor", false,
         [](CUIManager& m, const std::wstring& v) { m.m_colors.disabledText = ParseColor(v); }},
        {L"defaultfontcolor", false,
         [](CUIManager& m, const std::wstring& v) { m.m_colors.text = ParseColor(v); }},
        {L"linkfontcolor", false,
         [](CUIManager& m, const std::wstring& v) { m.m_colors.link = ParseColor(v); }},
        {L"linkhoverfontcolor", false,
         [](CUIManager& m, const std::wstring& v) { m.m_colors.linkHover = ParseColor(v); }},
        {L"selectedcolor", false,
         [](CUIManager& m, const std::wstring& v) {
             m.m_colors.selectedBackground = ParseColor(v);
         }},
    };
    for (const Entry& entry : kTable) {
        if (entry.exact ? name == entry.name : EqualsIgnoringCase(name, entry.name)) {
            entry.apply(*this, value);
            return;
        }
    }
    if (!name.empty() && !value.empty()) m_customAttributes.emplace(name, value);  // first wins
}

BYTE CUIManager::ClampByte(int value)
{
    return static_cast<BYTE>(std::clamp(value, 0, 255));
}

void CUIManager::ApplyInitialSize(SIZE size)
{
    m_initialSize = size;
    if (!m_root && m_window != nullptr && size.cx >= 0 && size.cy >= 0)
        SetWindowPos(m_window, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CUIManager::ApplyLayeredOpacity(BYTE opacity)
{
    m_opacity = opacity;
    m_layeredUpdate = true;
    InvalidateAll();
}

// Layered mode comes with the attribute, even with an empty descriptor.
void CUIManager::ApplyLayeredImage(const std::wstring& descriptor)
{
    SetLayered(true);
    m_layeredImage.SetDescriptor(descriptor);
    RECT none = {};
    DrawImageDescriptor(nullptr, *this, none, none, m_layeredImage);  // loads it now
    m_layeredUpdate = true;
    InvalidateAll();
}

void CUIManager::ApplyWindowAttributeList(const std::wstring& list)
{
    ForEachAttributePair(list, [this](const std::wstring& name, const std::wstring& value) {
        ApplyWindowAttribute(name, value);
    });
}

const std::wstring* CUIManager::FindWindowCustomAttribute(const std::wstring& name) const
{
    auto it = m_customAttributes.find(name);
    return it != m_customAttributes.end() ? &it->second : nullptr;
}

SIZE CUIManager::InitialSize() const
{
    return m_initialSize;
}

RECT CUIManager::SizeBox() const
{
    return m_sizeBox;
}

RECT CUIManager::CaptionRect() const
{
    return m_caption;
}

SIZE CUIManager::RoundCorner() const
{
    return m_roundCorner;
}

SIZE CUIManager::MinInfo() const
{
    return m_minInfo;
}

SIZE CUIManager::MaxInfo() const
{
    return m_maxInfo;
}

}  // namespace SkinUI
