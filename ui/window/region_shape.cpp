// Window shapes from regions; see region_shape.h.
#include "ui/window/region_shape.h"

#include "ui/render/gdi_handles.h"

#include <algorithm>
#include <vector>

namespace SkinUI {

WindowShape ShapeFromRegion(HRGN region, int width, int height)
{
    WindowShape shape(width, height);
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    if (bytes < sizeof(RGNDATAHEADER)) return shape;
    // DWORD elements keep the header aligned.
    std::vector<DWORD> buffer((bytes + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(region, bytes, data) != bytes) return shape;
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    const DWORD count =
        std::min<DWORD>(data->rdh.nCount, (bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT));
    for (DWORD i = 0; i < count; ++i)
        shape.addRect(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    return shape;
}

WindowShape ShapeOfWindow(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    Region region(CreateRectRgn(0, 0, 0, 0));
    if (region && GetWindowRgn(window, region.get()) != ERROR)
        return ShapeFromRegion(region.get(), width, height);
    return WindowShape::Rectangle(width, height);
}

}  // namespace SkinUI
