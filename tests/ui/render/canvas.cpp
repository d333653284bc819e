// Test helpers; see canvas.h.
#include "tests/ui/render/canvas.h"

#include "ui/render/image_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>

namespace SkinUITest {

Canvas::Canvas(int width, int height, uint32_t fill)
    : m_dib(SkinUI::CreateDibSection32(width, height)), m_dc(nullptr),
      m_select(std::make_unique<SkinUI::SelectGuard>(m_dc.get(), m_dib.bitmap.get()))
{
    this->fill(fill);
}

uint32_t Canvas::pixel(int x, int y) const
{
    GdiFlush();
    return m_dib.pixels[static_cast<size_t>(y) * m_dib.width + x];
}

void Canvas::fill(uint32_t argb)
{
    GdiFlush();
    for (int i = 0; i < m_dib.width * m_dib.height; ++i) m_dib.pixels[i] = argb;
}

bool sameColor(uint32_t actual, uint32_t expected, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(channel(actual, shift) - channel(expected, shift)) > tolerance) return false;
    }
    return true;
}

namespace {

void appendBigEndian(std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void appendChunk(std::vector<unsigned char>& out, const char* type,
                 const std::vector<unsigned char>& data)
{
    appendBigEndian(out, static_cast<uint32_t>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    appendBigEndian(out,
                    static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

}  // namespace

std::vector<unsigned char> encodePng(int width, int height, const PixelFunction& pixel)
{
    std::vector<unsigned char> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
            uint32_t argb = pixel(x, y);
            raw.insert(raw.end(),
                       {static_cast<unsigned char>(argb >> 16),
                        static_cast<unsigned char>(argb >> 8), static_cast<unsigned char>(argb),
                        static_cast<unsigned char>(argb >> 24)});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    appendBigEndian(header, static_cast<uint32_t>(width));
    appendBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", {});
    return png;
}

std::unique_ptr<SkinUI::ImageInfo> makeImage(int width, int height, const PixelFunction& pixel,
                                             uint32_t mask)
{
    std::vector<unsigned char> png = encodePng(width, height, pixel);
    return SkinUI::DecodeImageBytes(png.data(), png.size(), mask);
}

std::wstring makeTempFolder()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    // Process ids repeat between runs: a folder that exists already is not taken.
    unsigned start = GetTickCount();
    for (unsigned attempt = start; attempt < start + 1000; ++attempt) {
        std::wstring folder =
            std::wstring(base) + L"skinui_test_" + std::to_wstring(attempt) + L"\\";
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    }
    ADD_FAILURE() << "no temporary folder";
    return std::wstring(base);
}

void writeFile(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

}  // namespace SkinUITest
