// Plain text; see text_render.h.
#include "ui/render/text_render.h"

#include "ui/render/gdi_values.h"

namespace SkinUI {

void DrawPlainText(HDC dc, IRenderContext& context, RECT& rc, const std::wstring& text, DWORD argb,
                   int font, UINT style)
{
    if (!dc) return;
    std::wstring shown = context.Strings().Substitute(text);
    SelectGuard select(dc, context.Fonts().FontByNumber(font));
    if (style & DT_CALCRECT) {
        DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &rc, style | DT_NOPREFIX);
        return;
    }
    if (shown.empty()) return;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, ArgbToColorRef(argb));
    RECT box = rc;
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &box, style | DT_NOPREFIX);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

SIZE MeasureText(HDC dc, IRenderContext& context, const std::wstring& text, int font)
{
    SIZE size = {0, 0};
    if (!dc) return size;
    std::wstring shown = context.Strings().Substitute(text);
    SelectGuard select(dc, context.Fonts().FontByNumber(font));
    RECT box = {0, 0, 0, 0};
    if (shown.empty()) {
        TEXTMETRICW metrics;
        if (GetTextMetricsW(dc, &metrics)) size.cy = metrics.tmHeight;
        return size;
    }
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &box,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    size.cx = box.right - box.left;
    size.cy = box.bottom - box.top;
    return size;
}

}  // namespace SkinUI
