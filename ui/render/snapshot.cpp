// Window snapshots; see snapshot.h.
#include "ui/render/snapshot.h"

#include "ui/render/fill_and_stroke.h"

namespace SkinUI {

DibSection Snapshot(HDC source, const RECT& rc, DWORD overlay)
{
    int width = rc.right - rc.left;
    int height = rc.bottom - rc.top;
    DibSection copy = CreateDibSection32(width, height);
    if (!copy || !source) return DibSection();
    MemoryDC dc(source);
    if (!dc) return DibSection();
    SelectGuard select(dc.get(), copy.bitmap.get());
    BitBlt(dc.get(), 0, 0, width, height, source, rc.left, rc.top, SRCCOPY);
    FillColor(dc.get(), RECT{0, 0, width, height}, overlay);
    GdiFlush();  // the caller may read the pixels at once
    return copy;
}

}  // namespace SkinUI
