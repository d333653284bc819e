// Lays markup tokens out in lines: the placed pieces of text and images, each with its font,
// colour and link, before anything is drawn. DrawMarkupText draws the result.
#pragma once

#include "ui/render/text_markup_parser.h"
#include "ui/render/render_context.h"

#include <string>
#include <vector>

namespace SkinUI {

enum class VerticalAlign { Top, Center, Bottom };

struct PlacedPiece {
    int left = 0;
    int width = 0;
    int height = 0;     // font height plus external leading, or the image height
    std::wstring text;  // empty for an image
    const FontInfo* font = nullptr;
    COLORREF color = 0;
    int link = -1;  // index into MarkupLayout::linkTargets
    bool selected = false;
    VerticalAlign align = VerticalAlign::Bottom;
    const ImageInfo* image = nullptr;
    RECT imageSource = {};
};

struct PlacedLine {
    int top = 0;
    int height = 0;
    int width = 0;
    std::vector<PlacedPiece> pieces;
};

struct MarkupLayout {
    std::vector<PlacedLine> lines;
    std::vector<std::wstring> linkTargets;  // one per "a" tag, in order, placed or not
    int width = 0;                          // of the widest line
    int height = 0;                         // of all lines
};

// Lays `tokens` out from the top-left of `rc` with the given start font and colour. `dc` is
// used for measuring only. With `measuring` the bottom of `rc` does not stop the layout.
// The pieces borrow their fonts and images from the context's tables: draw them before
// those tables change.
MarkupLayout LayOutMarkup(HDC dc, IRenderContext& context, const RECT& rc,
                          const std::vector<MarkupToken>& tokens, COLORREF color, int font,
                          UINT style, bool measuring);

}  // namespace SkinUI
