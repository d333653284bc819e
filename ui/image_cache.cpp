// Image cache; see image_cache.h.
#include "ui/image_cache.h"

#include "ui/color_hsl.h"
#include "ui/image_decoder.h"

namespace SkinUI {
namespace {

void ApplyAdjustment(ImageInfo& image, const ColorAdjustment& adjustment)
{
    ShiftImageHSL(adjustment.enabled, &image, adjustment.hue, adjustment.saturation,
                  adjustment.lightness);
}

}  // namespace

ImageCache::ImageCache(ImageCache* shared) : m_shared(shared) {}

ImageInfo* ImageCache::CachedImage(const std::wstring& name)
{
    auto found = m_images.find(name);
    if (found != m_images.end()) return found->second.get();
    return m_shared ? m_shared->CachedImage(name) : nullptr;
}

ImageInfo* ImageCache::CachedImageOrLoad(const std::wstring& name, const wchar_t* type, DWORD mask,
                                         bool hsl)
{
    if (ImageInfo* image = CachedImage(name)) return image;
    return CacheImage(name, type, mask, hsl);
}

ImageInfo* ImageCache::CacheImage(const std::wstring& name, const wchar_t* type, DWORD mask,
                                  bool hsl, bool shared)
{
    if (shared && m_shared) return m_shared->CacheImage(name, type, mask, hsl);
    std::unique_ptr<ImageInfo> image = DecodeImage(name, type, mask);
    if (!image) return nullptr;
    if (hsl) {
        image->usesHSL = true;
        image->unadjusted.assign(image->dib.pixels,
                                 image->dib.pixels +
                                     static_cast<size_t>(image->width()) * image->height());
        ApplyAdjustment(*image, m_adjustment);
    }
    // A replaced image keeps its address: draw infos of controls may still point at it.
    std::unique_ptr<ImageInfo>& slot = m_images[name];
    if (slot)
        *slot = std::move(*image);
    else
        slot = std::move(image);
    return slot.get();
}

void ImageCache::ClearImages(bool shared)
{
    if (shared) {
        if (m_shared) m_shared->ClearImages();
        return;
    }
    m_images.clear();
}

void ImageCache::SetColorAdjustment(const ColorAdjustment& adjustment)
{
    m_adjustment = adjustment;
    for (auto& [name, image] : m_images) ApplyAdjustment(*image, m_adjustment);
}

}  // namespace SkinUI
