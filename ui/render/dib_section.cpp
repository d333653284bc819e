// 32-bit top-down DIB sections; see dib_section.h.
#include "ui/render/dib_section.h"

#include <cstring>

namespace SkinUI {

DibSection CreateDibSection32(int width, int height)
{
    DibSection dib;
    if (width <= 0 || height <= 0) return dib;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dib.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib.bitmap || !bits) {
        dib.bitmap.reset();
        return dib;
    }
    dib.pixels = static_cast<uint32_t*>(bits);
    dib.width = width;
    dib.height = height;
    std::memset(bits, 0, static_cast<size_t>(width) * height * 4);
    return dib;
}

}  // namespace SkinUI
