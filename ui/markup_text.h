// DrawMarkupText: text with the one-letter markup of skins (links, bold, colours, fonts,
// inline images, line breaks, paragraphs, raw text, selection, alignment), laid out in lines
// inside a rectangle, wrapped or cut with an ellipsis as the style flags ask.
#pragma once

#include "ui/render_context.h"

#include <string>
#include <vector>

namespace SkinUI {

// One drawn piece of a link: a link that wraps has one entry per line.
struct MarkupLink {
    RECT rect;
    std::wstring target;  // the argument of its "a" tag
};

// Draws `text` into `rc` starting with font `font` and colour `argb` (alpha ignored).
// `style` takes the native text flags: DT_CENTER, DT_RIGHT, DT_VCENTER and DT_BOTTOM align
// the whole block, DT_SINGLELINE ignores line breaks, DT_WORDBREAK wraps at word ends,
// DT_END_ELLIPSIS ends cut text with "...", and DT_CALCRECT only measures: `rc` then gets the
// width and height used. Links found are written to `links` (when not null; cleared first)
// up to `linkCapacity` entries.
void DrawMarkupText(HDC dc, IRenderContext& context, RECT& rc, const std::wstring& text, DWORD argb,
                    std::vector<MarkupLink>* links, size_t linkCapacity, int font, UINT style);

}  // namespace SkinUI
