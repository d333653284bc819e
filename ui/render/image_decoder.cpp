// Image decoding; see image_decoder.h.
#include "ui/render/image_decoder.h"

#include "ui/core/attribute_values.h"
#include "ui/render/resource_files.h"
#include "ui/render/resource_settings.h"

#include <stb/stb_image.h>

#include <climits>

namespace SkinUI {
namespace {

struct StbPixels {
    unsigned char* data = nullptr;
    ~StbPixels() { stbi_image_free(data); }
};

// Stores straight RGBA pixels as premultiplied BGRA words and applies the mask.
std::unique_ptr<ImageInfo> MakeImage(const unsigned char* rgba, int width, int height, DWORD mask)
{
    auto image = std::make_unique<ImageInfo>();
    image->dib = CreateDibSection32(width, height);
    if (!image->dib) return nullptr;
    image->mask = mask;
    size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < count; ++i, rgba += 4) {
        uint32_t alpha = rgba[3];
        uint32_t red = rgba[0], green = rgba[1], blue = rgba[2];
        if (alpha != 255) {
            red = red * alpha / 255;
            green = green * alpha / 255;
            blue = blue * alpha / 255;
            image->hasAlpha = true;
        }
        uint32_t pixel = (alpha << 24) | (red << 16) | (green << 8) | blue;
        if (pixel == mask) {
            pixel = 0;
            image->hasAlpha = true;
        }
        image->dib.pixels[i] = pixel;
    }
    return image;
}

std::unique_ptr<ImageInfo> MakeColorImage(const std::wstring& name, DWORD mask)
{
    DWORD argb = ParseColor(name);
    unsigned char rgba[4] = {
        static_cast<unsigned char>(argb >> 16), static_cast<unsigned char>(argb >> 8),
        static_cast<unsigned char>(argb), static_cast<unsigned char>(argb >> 24)};
    return MakeImage(rgba, 1, 1, mask);
}

std::optional<Bytes> ReadImageBytes(const std::wstring& name, const wchar_t* type)
{
    std::optional<Bytes> bytes;
    if (type)
        bytes = ReadProgramResource(name, type);
    else if (SkinArchiveName().empty())
        bytes = ReadFileBytes(ResourceFolder() + name).bytes;
    else
        bytes = ReadSkinArchiveEntry(name).bytes;
    if (!bytes || bytes->empty()) bytes = ReadFileBytes(name).bytes;  // an empty entry is no image
    return bytes;
}

}  // namespace

std::unique_ptr<ImageInfo> DecodeImageBytes(const unsigned char* bytes, size_t length, DWORD mask)
{
    if (!bytes || length == 0 || length > INT_MAX) return nullptr;
    int width = 0, height = 0, channels = 0;
    StbPixels pixels;
    pixels.data =
        stbi_load_from_memory(bytes, static_cast<int>(length), &width, &height, &channels, 4);
    if (!pixels.data || width <= 0 || height <= 0) return nullptr;
    return MakeImage(pixels.data, width, height, mask);
}

std::unique_ptr<ImageInfo> DecodeImage(const std::wstring& name, const wchar_t* type, DWORD mask)
{
    if (name.empty()) return nullptr;
    if (type && std::wstring(type) == kColorImageType) {
        std::unique_ptr<ImageInfo> image = MakeColorImage(name, mask);
        if (image) image->resourceType = type;
        return image;
    }
    std::optional<Bytes> bytes = ReadImageBytes(name, type);
    if (!bytes || bytes->empty()) return nullptr;
    std::unique_ptr<ImageInfo> image = DecodeImageBytes(bytes->data(), bytes->size(), mask);
    if (image && type) image->resourceType = type;
    return image;
}

}  // namespace SkinUI
