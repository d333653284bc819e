// Fonts by number; see font_table.h.
#include "ui/render/font_table.h"

#include <algorithm>
#include <cwchar>
#include <limits>

namespace SkinUI {
namespace {

LOGFONTW SystemGuiFont()
{
    LOGFONTW logFont = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    logFont.lfCharSet = DEFAULT_CHARSET;
    return logFont;
}

// The face as a font stores it: at most LF_FACESIZE - 1 characters.
std::wstring StoredFace(const std::wstring& face)
{
    return face.substr(0, LF_FACESIZE - 1);
}

void MeasureMetrics(FontInfo& info)
{
    MemoryDC dc;
    if (!dc || !info.font) return;
    SelectGuard select(dc.get(), info.font.get());
    info.hasMetrics = GetTextMetricsW(dc.get(), &info.metrics) != FALSE;
}

// The default GUI font of the system, as a font of our own.
std::unique_ptr<FontInfo> CreateSystemFontInfo()
{
    LOGFONTW logFont = SystemGuiFont();
    auto info = std::make_unique<FontInfo>();
    info->font.reset(CreateFontIndirectW(&logFont));
    info->face = logFont.lfFaceName;
    info->size = logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
    info->bold = logFont.lfWeight >= FW_BOLD;
    info->underline = logFont.lfUnderline != 0;
    info->italic = logFont.lfItalic != 0;
    return info;
}

}  // namespace

std::unique_ptr<FontInfo> CreateFontInfo(const std::wstring& face, int size, bool bold,
                                         bool underline, bool italic)
{
    LOGFONTW logFont = SystemGuiFont();
    wcsncpy(logFont.lfFaceName, StoredFace(face).c_str(), LF_FACESIZE - 1);
    logFont.lfFaceName[LF_FACESIZE - 1] = L'\0';
    logFont.lfHeight = -size;
    // The weight stays within the valid range (bold is 700) whatever the base font's weight.
    if (bold) logFont.lfWeight = FW_BOLD;
    logFont.lfUnderline = underline ? TRUE : FALSE;
    logFont.lfItalic = italic ? TRUE : FALSE;
    auto info = std::make_unique<FontInfo>();
    info->font.reset(CreateFontIndirectW(&logFont));
    info->face = logFont.lfFaceName;
    info->size = size;
    info->bold = bold;
    info->underline = underline;
    info->italic = italic;
    return info;
}

FontTable::FontTable(FontTable* shared) : m_shared(shared) {}

HFONT FontTable::DefineFont(int number, const std::wstring& face, int size, bool bold,
                            bool underline, bool italic, bool shared)
{
    if (shared && m_shared)
        return m_shared->DefineFont(number, face, size, bold, underline, italic);
    std::unique_ptr<FontInfo> info = CreateFontInfo(face, size, bold, underline, italic);
    if (!info->font) return nullptr;
    // A replaced font's record keeps its address (its old font is deleted), so callers
    // holding the record see the new font.
    std::unique_ptr<FontInfo>& slot = m_fonts[number];
    if (slot)
        *slot = std::move(*info);
    else
        slot = std::move(info);
    return slot->font.get();
}

bool FontTable::SetDefaultFont(const std::wstring& face, int size, bool bold, bool underline,
                               bool italic)
{
    std::unique_ptr<FontInfo> info = CreateFontInfo(face, size, bold, underline, italic);
    if (!info->font) return false;
    m_default = std::move(info);
    return true;
}

FontInfo* FontTable::FindInfo(int number)
{
    if (number < 0) return nullptr;
    auto found = m_fonts.find(number);
    if (found != m_fonts.end()) return found->second.get();
    return m_shared ? m_shared->FindInfo(number) : nullptr;
}

FontInfo& FontTable::DefaultInfo()
{
    if (m_default) return *m_default;
    if (m_shared) return m_shared->DefaultInfo();
    m_default = CreateSystemFontInfo();
    return *m_default;
}

HFONT FontTable::FontByNumber(int number)
{
    return FontInfoByNumber(number).font.get();
}

const FontInfo& FontTable::FontInfoByNumber(int number)
{
    FontInfo* info = FindInfo(number);
    if (!info) info = &DefaultInfo();
    if (!info->hasMetrics) MeasureMetrics(*info);
    return *info;
}

FontInfo* FontTable::Match(const std::wstring& face, int size, bool bold, bool underline,
                           bool italic)
{
    // Fonts keep a shortened face; a long name must still find the font made for it.
    std::wstring stored = StoredFace(face);
    for (const auto& [number, info] : m_fonts) {
        if (info->size == size && info->bold == bold && info->underline == underline &&
            info->italic == italic && _wcsicmp(info->face.c_str(), stored.c_str()) == 0)
            return info.get();
    }
    return m_shared ? m_shared->Match(stored, size, bold, underline, italic) : nullptr;
}

HFONT FontTable::MatchFont(const std::wstring& face, int size, bool bold, bool underline,
                           bool italic)
{
    const FontInfo* info = Match(face, size, bold, underline, italic);
    return info ? info->font.get() : nullptr;
}

const FontInfo* FontTable::FindOrAddFont(const std::wstring& face, int size, bool bold,
                                         bool underline, bool italic)
{
    if (FontInfo* info = Match(face, size, bold, underline, italic)) {
        if (!info->hasMetrics) MeasureMetrics(*info);
        return info;
    }
    int number = FreeNumber();
    if (number < 0) return nullptr;
    if (!DefineFont(number, face, size, bold, underline, italic)) return nullptr;
    return &FontInfoByNumber(number);
}

bool FontTable::Uses(int number) const
{
    return m_fonts.count(number) != 0 || (m_shared && m_shared->m_fonts.count(number) != 0);
}

int FontTable::FreeNumber() const
{
    int highest = -1;
    if (!m_fonts.empty()) highest = std::max(highest, m_fonts.rbegin()->first);
    if (m_shared && !m_shared->m_fonts.empty())
        highest = std::max(highest, m_shared->m_fonts.rbegin()->first);
    if (highest < std::numeric_limits<int>::max()) return highest + 1;
    // A skin used the largest number: take the first gap instead of overflowing. The tables
    // hold fewer fonts than numbers, so a gap comes soon.
    for (int number = 0; number < std::numeric_limits<int>::max(); ++number) {
        if (!Uses(number)) return number;
    }
    return -1;
}

int FontTable::FontNumberOf(HFONT font, bool shared) const
{
    if (shared) return m_shared ? m_shared->FontNumberOf(font) : -1;
    for (const auto& [number, info] : m_fonts) {
        if (info->font.get() == font) return number;
    }
    return -1;
}

void FontTable::ClearFonts(bool shared)
{
    if (shared) {
        if (m_shared) m_shared->ClearFonts();
        return;
    }
    m_fonts.clear();
}

}  // namespace SkinUI
