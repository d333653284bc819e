// Markup layout; see text_markup_layout.h.
#include "ui/render/text_markup_layout.h"

#include "ui/core/attribute_values.h"
#include "ui/render/gdi_values.h"

#include <algorithm>
#include <cwctype>

namespace SkinUI {
namespace {

// The words of `text` between runs of white space (as the C locale classifies it). No string
// stream: it would pull the C++ runtime's locale machinery into the program.
std::vector<std::wstring> SplitWords(const std::wstring& text)
{
    const auto isSpace = [](wchar_t c) { return std::iswspace(c) != 0; };
    std::vector<std::wstring> words;
    for (auto end = text.begin(); end != text.end();) {
        const auto start = std::find_if_not(end, text.end(), isSpace);
        end = std::find_if(start, text.end(), isSpace);
        if (start != end) words.emplace_back(start, end);
    }
    return words;
}

bool IsNumber(const std::wstring& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

// A line may end after punctuation and after any character of the wide scripts (CJK and
// beyond), which have no spaces between words; never inside a surrogate pair.
bool BreaksAfter(wchar_t c)
{
    return (c >= 0x2E80 && !IS_HIGH_SURROGATE(c)) || (c < 0x80 && std::iswpunct(c));
}

// `cut` moved back to the start of a surrogate pair it would split.
size_t KeepPairs(const std::wstring& text, size_t cut)
{
    if (cut > 0 && cut < text.size() && IS_HIGH_SURROGATE(text[cut - 1]) &&
        IS_LOW_SURROGATE(text[cut]))
        return cut - 1;
    return cut;
}

// The length of the first character of `text`: two units for a surrogate pair.
size_t FirstCharLength(const std::wstring& text)
{
    return text.size() > 1 && IS_HIGH_SURROGATE(text[0]) && IS_LOW_SURROGATE(text[1]) ? 2 : 1;
}

int LineHeightOf(const FontInfo& font)
{
    return font.metrics.tmHeight + font.metrics.tmExternalLeading;
}

class LayoutBuilder {
public:
    LayoutBuilder(HDC dc, IRenderContext& context, const RECT& rc, COLORREF color, int font,
                  UINT style, bool measuring)
        : m_dc(dc), m_context(context), m_rc(rc), m_style(style), m_measuring(measuring),
          m_x(rc.left), m_top(rc.top)
    {
        m_fonts.push_back(&context.Fonts().FontInfoByNumber(font));
        m_colors.push_back(color);
    }

    MarkupLayout Run(const std::vector<MarkupToken>& tokens)
    {
        for (const MarkupToken& token : tokens) {
            if (m_stopped) {
                // Nothing more is placed, but later links keep their numbers as written.
                if (token.kind == MarkupToken::Kind::Open && token.tag == L'a')
                    m_layout.linkTargets.push_back(token.text);
                continue;
            }
            switch (token.kind) {
            case MarkupToken::Kind::Text: PlaceText(token.text); break;
            case MarkupToken::Kind::LineFeed: BreakLine(); break;
            case MarkupToken::Kind::Open: Open(token.tag, token.text); break;
            case MarkupToken::Kind::Close: Close(token.tag); break;
            }
        }
        if (!m_line.pieces.empty() || m_layout.lines.empty()) FinishLine();
        return std::move(m_layout);
    }

private:
    bool MultiLine() const { return (m_style & DT_SINGLELINE) == 0; }
    const FontInfo& CurrentFont() const { return *m_fonts.back(); }
    int Room() const { return m_rc.right - m_x; }

    template <typename Stack>
    static void Pop(Stack& stack, size_t keep)
    {
        if (stack.size() > keep) stack.pop_back();
    }

    void Open(wchar_t tag, const std::wstring& arguments)
    {
        switch (tag) {
        case L'a':
            m_links.push_back(static_cast<int>(m_layout.linkTargets.size()));
            m_layout.linkTargets.push_back(arguments);
            PushVariant(false, true, false);
            break;
        case L'b': PushVariant(true, false, false); break;
        case L'u': PushVariant(false, true, false); break;
        case L'i':
            // Without arguments italic, else an inline image, which has no closing tag.
            if (!arguments.empty()) {
                PlaceImage(arguments);
                break;
            }
            ++m_openItalics;
            PushVariant(false, false, true);
            break;
        case L'c': m_colors.push_back(ArgbToColorRef(ParseColor(arguments))); break;
        case L'f': PushFont(arguments); break;
        case L'n': BreakLine(); break;
        case L'p':
            if (!m_line.pieces.empty()) NewLine(false);
            m_spacing.push_back(ParseInt(arguments));
            break;
        case L's': ++m_selected; break;
        case L'v':
            m_aligns.push_back(arguments == L"top"      ? VerticalAlign::Top
                               : arguments == L"center" ? VerticalAlign::Center
                                                        : VerticalAlign::Bottom);
            break;
        case L'x':
            // Many advances add up: the position stays within a skin number of the box.
            m_x = std::clamp<int>(m_x + ParseInt(arguments), m_rc.left - kSkinNumberLimit,
                                  m_rc.right + kSkinNumberLimit);
            break;
        case L'y': m_fixedLineHeight = ParseInt(arguments); break;
        default: break;  // "r" is handled by the tokenizer; unknown letters do nothing
        }
    }

    void Close(wchar_t tag)
    {
        switch (tag) {
        case L'a':
            Pop(m_links, 0);
            Pop(m_fonts, 1);
            break;
        case L'i':
            // Only an italic opened before is closed; an image tag opened none.
            if (m_openItalics == 0) break;
            --m_openItalics;
            Pop(m_fonts, 1);
            break;
        case L'b':
        case L'u':
        case L'f': Pop(m_fonts, 1); break;
        case L'c': Pop(m_colors, 1); break;
        case L'p':
            if (!m_line.pieces.empty())
                NewLine(false);  // the paragraph's last line still has its spacing
            Pop(m_spacing, 0);
            break;
        case L's': m_selected = std::max(0, m_selected - 1); break;
        case L'v': Pop(m_aligns, 0); break;
        default: break;
        }
    }

    void PushVariant(bool bold, bool underline, bool italic)
    {
        const FontInfo& current = CurrentFont();
        const FontInfo* variant = m_context.Fonts().FindOrAddFont(
            current.face, current.size, current.bold || bold, current.underline || underline,
            current.italic || italic);
        m_fonts.push_back(variant ? variant : &current);
    }

    // "f 3" (a font number) or "f Face 14 bold underline italic".
    void PushFont(const std::wstring& arguments)
    {
        std::vector<std::wstring> words = SplitWords(arguments);
        if (words.empty()) {
            m_fonts.push_back(&CurrentFont());
            return;
        }
        if (IsNumber(words[0])) {
            m_fonts.push_back(&m_context.Fonts().FontInfoByNumber(ParseInt(words[0])));
            return;
        }
        int size = words.size() > 1 && IsNumber(words[1]) ? ParseInt(words[1]) : 10;
        auto has = [&](const wchar_t* word) {
            return std::find(words.begin() + 1, words.end(), word) != words.end();
        };
        const FontInfo* font = m_context.Fonts().FindOrAddFont(words[0], size, has(L"bold"),
                                                               has(L"underline"), has(L"italic"));
        m_fonts.push_back(font ? font : &CurrentFont());
    }

    // "i name count index": part `index` of the image cut into `count` equal columns.
    void PlaceImage(const std::wstring& arguments)
    {
        std::vector<std::wstring> words = SplitWords(arguments);
        if (words.empty()) return;
        const ImageInfo* image = m_context.Images().CachedImageOrLoad(words[0], nullptr, 0, false);
        if (!image) return;
        int count = std::max(1, words.size() > 1 ? ParseInt(words[1], 1) : 1);
        int index = std::clamp(words.size() > 2 ? ParseInt(words[2]) : 0, 0, count - 1);
        int width = image->width() / count;
        if (width <= 0) return;
        if (width > Room() && !m_line.pieces.empty() && MultiLine()) NewLine(false);
        PlacedPiece piece = NewPiece(width, image->height());
        piece.image = image;
        piece.imageSource = RECT{index * width, 0, (index + 1) * width, image->height()};
        Add(std::move(piece));
    }

    SIZE Measure(const std::wstring& text) const
    {
        SIZE size = {0, 0};
        SelectGuard select(m_dc, CurrentFont().font.get());
        GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }

    // How many units of `text` fit into `room` pixels, never ending inside a surrogate pair.
    size_t FitCount(const std::wstring& text, int room) const
    {
        if (room <= 0) return 0;
        SelectGuard select(m_dc, CurrentFont().font.get());
        INT fit = 0;
        SIZE size;
        GetTextExtentExPointW(m_dc, text.c_str(), static_cast<int>(text.size()), room, &fit,
                              nullptr, &size);
        size_t count = static_cast<size_t>(
            std::clamp(static_cast<int>(fit), 0, static_cast<int>(text.size())));
        return KeepPairs(text, count);
    }

    // The last position p <= fit where the line may end: before a space or after punctuation.
    static size_t WordBreak(const std::wstring& text, size_t fit)
    {
        for (size_t p = std::min(fit, text.size() - 1); p > 0; --p) {
            if (text[p] == L' ' || BreaksAfter(text[p - 1])) return p;
        }
        return 0;
    }

    bool OnLastLine() const
    {
        if (!MultiLine()) return true;
        return !m_measuring && m_top + 2 * LineHeightOf(CurrentFont()) > m_rc.bottom;
    }

    // Places a run of text, wrapping it over as many lines as it needs (and the style allows).
    void PlaceText(std::wstring text)
    {
        while (!text.empty() && !m_stopped) {
            if (m_wrapped && m_line.pieces.empty()) {
                size_t first = text.find_first_not_of(L' ');
                if (first == std::wstring::npos) return;
                text.erase(0, first);  // a wrapped line does not start with the spaces it broke at
            }
            SIZE size = Measure(text);
            if (size.cx <= Room()) {
                AddText(text, size.cx);
                return;
            }
            if ((m_style & DT_END_ELLIPSIS) && OnLastLine()) {
                int dots = Measure(L"...").cx;
                EndWith(text.substr(0, FitCount(text, Room() - dots)) + L"...");
                return;
            }
            size_t fit = FitCount(text, Room());
            if (!MultiLine()) {
                EndWith(text.substr(0, fit));
                return;
            }
            size_t cut = LineCut(text, fit);
            AddText(text.substr(0, cut));
            text.erase(0, cut);
            NewLine(true);
        }
    }

    // Places the last text there is room for; nothing after it is laid out.
    void EndWith(const std::wstring& text)
    {
        AddText(text);
        m_stopped = true;
    }

    // How much of `text` (of which `fit` characters fit) goes on the current line: up to the
    // last word break with DT_WORDBREAK, none when the line already holds something and no
    // break fits, and at least one character on an empty line so the layout always advances.
    size_t LineCut(const std::wstring& text, size_t fit) const
    {
        size_t cut = fit;
        if (m_style & DT_WORDBREAK) {
            size_t at = WordBreak(text, fit);
            cut = at > 0 ? at : (m_line.pieces.empty() ? fit : 0);
        }
        if (cut == 0 && m_line.pieces.empty()) cut = std::max(fit, FirstCharLength(text));
        return cut;
    }

    PlacedPiece NewPiece(int width, int height) const
    {
        PlacedPiece piece;
        piece.left = m_x;
        piece.width = width;
        piece.height = height;
        piece.font = &CurrentFont();
        piece.color = m_colors.back();
        piece.link = m_links.empty() ? -1 : m_links.back();
        piece.selected = m_selected > 0;
        piece.align = m_aligns.empty() ? VerticalAlign::Bottom : m_aligns.back();
        return piece;
    }

    void AddText(const std::wstring& text) { AddText(text, Measure(text).cx); }

    void AddText(const std::wstring& text, int width)
    {
        if (text.empty()) return;
        PlacedPiece piece = NewPiece(width, LineHeightOf(CurrentFont()));
        piece.text = text;
        Add(std::move(piece));
    }

    void Add(PlacedPiece piece)
    {
        m_x += piece.width;
        m_line.pieces.push_back(std::move(piece));
    }

    void BreakLine()
    {
        if (MultiLine()) NewLine(false);
    }

    void NewLine(bool wrapped)
    {
        FinishLine();
        m_wrapped = wrapped;
        if (!m_measuring && m_top >= m_rc.bottom)
            m_stopped = true;  // nothing more would be visible
    }

    void FinishLine()
    {
        int height = 0;
        for (const PlacedPiece& piece : m_line.pieces) height = std::max(height, piece.height);
        if (m_line.pieces.empty()) height = LineHeightOf(CurrentFont());
        height += m_spacing.empty() ? 0 : m_spacing.back();
        if (m_fixedLineHeight > 0) height = m_fixedLineHeight;
        m_line.top = m_top;
        m_line.height = height;
        m_line.width = m_x - m_rc.left;
        m_layout.width = std::max(m_layout.width, m_line.width);
        m_layout.height += height;
        m_top += height;
        m_layout.lines.push_back(std::move(m_line));
        m_line = PlacedLine();
        m_x = m_rc.left;
    }

    HDC m_dc;
    IRenderContext& m_context;
    RECT m_rc;
    UINT m_style;
    bool m_measuring;

    std::vector<const FontInfo*> m_fonts;
    std::vector<COLORREF> m_colors;
    std::vector<int> m_spacing;
    std::vector<VerticalAlign> m_aligns;
    std::vector<int> m_links;
    int m_fixedLineHeight = 0;  // set by the last "y" tag; 0: from the fonts
    int m_openItalics = 0;      // "i" tags without arguments not closed yet
    int m_selected = 0;

    int m_x;
    int m_top;
    bool m_wrapped = false;
    bool m_stopped = false;
    PlacedLine m_line;
    MarkupLayout m_layout;
};

}  // namespace

MarkupLayout LayOutMarkup(HDC dc, IRenderContext& context, const RECT& rc,
                          const std::vector<MarkupToken>& tokens, COLORREF color, int font,
                          UINT style, bool measuring)
{
    return LayoutBuilder(dc, context, rc, color, font, style, measuring).Run(tokens);
}

}  // namespace SkinUI
