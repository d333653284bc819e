// Drawing laid-out markup; see text_markup.h.
#include "ui/render/text_markup.h"

#include "ui/render/clip.h"
#include "ui/render/fill_and_stroke.h"
#include "ui/render/gdi_values.h"
#include "ui/render/image_blit.h"
#include "ui/render/text_markup_layout.h"

#include <algorithm>

namespace SkinUI {
namespace {

constexpr UINT kAlignFlags = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM;

RECT PieceBox(const PlacedLine& line, const PlacedPiece& piece)
{
    return RECT{piece.left, line.top, piece.left + piece.width, line.top + line.height};
}

int PieceTop(const PlacedLine& line, const PlacedPiece& piece)
{
    int offset = line.height - piece.height;
    switch (piece.align) {
    case VerticalAlign::Top: return line.top;
    case VerticalAlign::Center: return line.top + offset / 2;
    case VerticalAlign::Bottom: break;
    }
    return line.top + offset;
}

// Moves the top-left of `rc` so that a block of the measured size is aligned as asked.
void AlignBlock(RECT& rc, const MarkupLayout& measured, UINT style)
{
    int spareWidth = (rc.right - rc.left) - measured.width;
    int spareHeight = (rc.bottom - rc.top) - measured.height;
    if (style & DT_CENTER)
        rc.left += spareWidth / 2;
    else if (style & DT_RIGHT)
        rc.left += spareWidth;
    if (style & DT_VCENTER)
        rc.top += spareHeight / 2;
    else if (style & DT_BOTTOM)
        rc.top += spareHeight;
}

// Which links the mouse is over, one flag per link.
std::vector<bool> HoveredLinks(const MarkupLayout& layout, POINT mouse)
{
    std::vector<bool> hovered(layout.linkTargets.size(), false);
    for (const PlacedLine& line : layout.lines) {
        for (const PlacedPiece& piece : line.pieces) {
            RECT box = PieceBox(line, piece);
            if (piece.link >= 0 && PtInRect(&box, mouse))
                hovered[static_cast<size_t>(piece.link)] = true;
        }
    }
    return hovered;
}

// One entry per link, up to the capacity, each with one rectangle per line it covers: the
// pieces of a link on one line (a bold word inside it, say) share that line's rectangle.
void RecordLinks(const MarkupLayout& layout, std::vector<MarkupLink>& links, size_t capacity)
{
    size_t count = std::min(capacity, layout.linkTargets.size());
    for (size_t i = 0; i < count; ++i) links.push_back(MarkupLink{{}, layout.linkTargets[i]});
    std::vector<const PlacedLine*> lineOfLastRect(count, nullptr);
    for (const PlacedLine& line : layout.lines) {
        for (const PlacedPiece& piece : line.pieces) {
            if (piece.link < 0 || static_cast<size_t>(piece.link) >= count) continue;
            size_t index = static_cast<size_t>(piece.link);
            std::vector<RECT>& rects = links[index].rects;
            RECT box = PieceBox(line, piece);
            if (lineOfLastRect[index] == &line) {
                UnionRect(&rects.back(), &rects.back(), &box);
                continue;
            }
            lineOfLastRect[index] = &line;
            rects.push_back(box);
        }
    }
}

void DrawPiece(HDC dc, const RECT& clip, const PlacedLine& line, const PlacedPiece& piece,
               COLORREF color, DWORD selectedBackground)
{
    if (piece.selected) FillColor(dc, PieceBox(line, piece), selectedBackground | 0xFF000000);
    int top = PieceTop(line, piece);
    if (piece.image) {
        BlitLayout layout;
        layout.source = piece.imageSource;
        layout.hasAlpha = piece.image->hasAlpha;
        BlitImage(dc, piece.image->bitmap(),
                  RECT{piece.left, top, piece.left + piece.width, top + piece.height}, clip,
                  layout);
        return;
    }
    SelectGuard select(dc, piece.font->font.get());
    SetTextColor(dc, color);
    ExtTextOutW(dc, piece.left, top, ETO_CLIPPED, &clip, piece.text.c_str(),
                static_cast<UINT>(piece.text.size()), nullptr);
}

// Draws every piece. A block taller or wider than `bounds` (aligned upwards or leftwards, or
// holding a tall inline image) is clipped to it rather than painting over its neighbours.
void DrawLayout(HDC dc, const IRenderContext& context, const MarkupLayout& layout,
                const RECT& bounds)
{
    std::vector<bool> hovered = HoveredLinks(layout, context.MousePosition());
    const DefaultColors& colors = context.Colors();
    SavedDCState saved(dc);
    ClipRegion clip = RectClip(dc, bounds);
    SetBkMode(dc, TRANSPARENT);
    for (const PlacedLine& line : layout.lines) {
        for (const PlacedPiece& piece : line.pieces) {
            COLORREF pieceColor = piece.color;
            if (piece.link >= 0)
                pieceColor = ArgbToColorRef(
                    hovered[static_cast<size_t>(piece.link)] ? colors.linkHover : colors.link);
            DrawPiece(dc, bounds, line, piece, pieceColor, colors.selectedBackground);
        }
    }
}

}  // namespace

int LinkAtPoint(const std::vector<MarkupLink>& links, POINT point)
{
    for (size_t i = 0; i < links.size(); ++i) {
        for (const RECT& rect : links[i].rects) {
            if (PtInRect(&rect, point)) return static_cast<int>(i);
        }
    }
    return -1;
}

void DrawMarkupText(HDC dc, IRenderContext& context, RECT& rc, const std::wstring& text, DWORD argb,
                    std::vector<MarkupLink>* links, size_t linkCapacity, int font, UINT style)
{
    if (links) links->clear();
    if (!dc) return;
    std::vector<MarkupToken> tokens = TokenizeMarkup(context.Strings().Substitute(text));
    COLORREF color = ArgbToColorRef(argb);
    if (style & DT_CALCRECT) {
        MarkupLayout measured = LayOutMarkup(dc, context, rc, tokens, color, font, style, true);
        rc.right = rc.left + measured.width;
        rc.bottom = rc.top + measured.height;
        return;
    }
    RECT bounds = rc;  // what the caller gave: nothing is drawn outside it
    if (style & kAlignFlags)
        AlignBlock(rc,
                   LayOutMarkup(dc, context, rc, tokens, color, font, style & ~kAlignFlags, true),
                   style);
    MarkupLayout layout =
        LayOutMarkup(dc, context, rc, tokens, color, font, style & ~kAlignFlags, false);
    if (links) RecordLinks(layout, *links, linkCapacity);
    DrawLayout(dc, context, layout, bounds);
}

}  // namespace SkinUI
