// Test helpers: a 32-bit DIB selected into a memory DC whose pixels can be read back, and
// images made from pixel functions (through a PNG, so they take the decoder's road).
#pragma once

#include "ui/render/dib_section.h"
#include "ui/render/image_info.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace SkinUITest {

class Canvas {
public:
    Canvas(int width, int height, uint32_t fill = 0xFF000000);
    HDC dc() const { return m_dc.get(); }
    RECT rect() const { return RECT{0, 0, m_dib.width, m_dib.height}; }
    uint32_t pixel(int x, int y) const;
    void fill(uint32_t argb);

private:
    SkinUI::DibSection m_dib;
    SkinUI::MemoryDC m_dc;
    std::unique_ptr<SkinUI::SelectGuard> m_select;
};

// Channel `shift` (16 red, 8 green, 0 blue, 24 alpha) of a pixel.
inline int channel(uint32_t pixel, int shift)
{
    return static_cast<int>((pixel >> shift) & 0xFF);
}
inline uint32_t rgb(uint32_t pixel)
{
    return pixel & 0x00FFFFFF;
}

// True when red, green and blue each differ by at most `tolerance`.
bool sameColor(uint32_t actual, uint32_t expected, int tolerance = 2);

// Straight (not premultiplied) ARGB for each pixel.
using PixelFunction = std::function<uint32_t(int x, int y)>;

// An RGBA PNG file's bytes.
std::vector<unsigned char> encodePng(int width, int height, const PixelFunction& pixel);

// The image the decoder makes of such a PNG.
std::unique_ptr<SkinUI::ImageInfo> makeImage(int width, int height, const PixelFunction& pixel,
                                             uint32_t mask = 0);

// A fresh empty folder under the temporary folder, ending in a backslash.
std::wstring makeTempFolder();
void writeFile(const std::wstring& path, const std::vector<unsigned char>& bytes);

}  // namespace SkinUITest
