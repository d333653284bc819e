// DrawMarkupText: text with the one-letter markup of skins (links, bold, colours, fonts,
// inline images, line breaks, paragraphs, raw text, selection, alignment), laid out in lines
// inside a rectangle, wrapped or cut with an ellipsis as the style flags ask.
#pragma once

#include "ui/render/render_context.h"

#include <string>
#include <vector>

namespace SkinUI {

// One link of the text. Links keep the order of their "a" tags, so a link's index is the
// same however the text wraps.
struct MarkupLink {
    std::vector<RECT> rects;  // where it was drawn: one per line it covers, none when cut off
    std::wstring target;      // the argument of its "a" tag
};

// The index in `links` of the link drawn under `point`, or -1.
int LinkAtPoint(const std::vector<MarkupLink>& links, POINT point);

// Draws `text` into `rc` starting with font `font` and colour `argb` (alpha ignored).
// `style` takes the native text flags: DT_CENTER, DT_RIGHT, DT_VCENTER and DT_BOTTOM align
// the whole block, DT_SINGLELINE ignores line breaks, DT_WORDBREAK wraps at word ends,
// DT_END_ELLIPSIS ends cut text with "...", and DT_CALCRECT only measures: `rc` then gets the
// width and height used. The first `linkCapacity` links are written to `links` (when not null;
// cleared first), one entry per link.
void DrawMarkupText(HDC dc, IRenderContext& context, RECT& rc, const std::wstring& text, DWORD argb,
                    std::vector<MarkupLink>* links, size_t linkCapacity, int font, UINT style);

}  // namespace SkinUI
