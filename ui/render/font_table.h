// FontTable: the fonts a window knows by number, with the parameters and text metrics of
// each, and its default font. A window's table falls back to the shared table of the process.
#pragma once

#include "ui/render/gdi_handles.h"

#include <map>
#include <memory>
#include <string>

namespace SkinUI {

struct FontInfo {
    Font font;
    std::wstring face;
    int size = 0;  // character height in pixels
    bool bold = false;
    bool underline = false;
    bool italic = false;
    TEXTMETRICW metrics = {};
    bool hasMetrics = false;
};

class FontTable {
public:
    // `shared` (may be null, must outlive this table) is searched after this table's own fonts.
    explicit FontTable(FontTable* shared = nullptr);
    FontTable(const FontTable&) = delete;
    FontTable& operator=(const FontTable&) = delete;

    // Creates a font from the system's default GUI font with the face (at most 31
    // characters), height `size` and the styles, and stores it under `number`, replacing a
    // font of that number. `shared` stores it in the shared table when there is one.
    // Returns the font (owned by the table) or null when it cannot be created.
    HFONT DefineFont(int number, const std::wstring& face, int size, bool bold, bool underline,
                     bool italic, bool shared = false);

    // Makes a font with these parameters this table's default font; false when it cannot be
    // created.
    bool SetDefaultFont(const std::wstring& face, int size, bool bold, bool underline, bool italic);

    // The font of `number` (own, then shared); the default font for a negative or unknown number.
    HFONT FontByNumber(int number);

    // Like FontByNumber with parameters and metrics; the metrics are measured on first use.
    // Never null; the record belongs to the table.
    const FontInfo& FontInfoByNumber(int number);

    // The first font with this face (letter case ignored), size and styles, own fonts first,
    // then shared ones; null when there is none.
    HFONT MatchFont(const std::wstring& face, int size, bool bold, bool underline, bool italic);

    // A font with these parameters: a matching one, or one defined now in this table under a
    // number free in this table and in the shared one (an own font hides a shared font of its
    // number). Null only when it cannot be created. The record belongs to the table and keeps
    // its address while the table lives.
    const FontInfo* FindOrAddFont(const std::wstring& face, int size, bool bold, bool underline,
                                  bool italic);

    // The number of `font` in this table (or the shared one with `shared`), -1 when absent.
    int FontNumberOf(HFONT font, bool shared = false) const;

    // Removes all fonts of this table (or of the shared one with `shared`).
    void ClearFonts(bool shared = false);

private:
    FontInfo* FindInfo(int number);
    FontInfo& DefaultInfo();
    FontInfo* Match(const std::wstring& face, int size, bool bold, bool underline, bool italic);
    // A non-negative number used neither here nor in the shared table: one past the highest,
    // or the first gap when the highest is the largest int; -1 when none is left.
    int FreeNumber() const;
    bool Uses(int number) const;

    std::map<int, std::unique_ptr<FontInfo>> m_fonts;
    std::unique_ptr<FontInfo> m_default;  // null: the shared table's default, else the system's
    FontTable* m_shared;
};

// Makes a FontInfo from the given parameters; its font is empty when it cannot be created.
std::unique_ptr<FontInfo> CreateFontInfo(const std::wstring& face, int size, bool bold,
                                         bool underline, bool italic);

}  // namespace SkinUI
