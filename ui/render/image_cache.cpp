// Image cache; see image_cache.h.
#include "ui/render/image_cache.h"

#include "ui/render/color_hsl.h"
#include "ui/render/image_decoder.h"

#include <algorithm>
#include <vector>

namespace SkinUI {
namespace {

// The one adjustment of the process, and the caches it has to reach when it changes.
struct ProcessColorAdjustment {
    ColorAdjustment adjustment;
    std::vector<ImageCache*> caches;  // every cache alive; each one adds and removes itself
};

ProcessColorAdjustment& ProcessAdjustment()
{
    // Never destroyed: caches may unlist themselves during exit, and the process may end from
    // another thread while the user interface thread still paints.
    static ProcessColorAdjustment* state = new ProcessColorAdjustment;
    return *state;
}

void ApplyAdjustment(ImageInfo& image)
{
    const ColorAdjustment& adjustment = ProcessAdjustment().adjustment;
    ShiftImageHSL(adjustment.enabled, &image, adjustment.hue, adjustment.saturation,
                  adjustment.lightness);
}

}  // namespace

const ColorAdjustment& CurrentColorAdjustment()
{
    return ProcessAdjustment().adjustment;
}

void SetColorAdjustment(const ColorAdjustment& adjustment)
{
    ProcessColorAdjustment& state = ProcessAdjustment();
    state.adjustment = adjustment;
    for (ImageCache* cache : state.caches) cache->Recolor();
}

ImageCache::ImageCache(ImageCache* shared) : m_shared(shared)
{
    ProcessAdjustment().caches.push_back(this);
}

ImageCache::~ImageCache()
{
    std::vector<ImageCache*>& caches = ProcessAdjustment().caches;
    caches.erase(std::remove(caches.begin(), caches.end(), this), caches.end());
}

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
        ApplyAdjustment(*image);
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

void ImageCache::Recolor()
{
    for (auto& [name, image] : m_images) ApplyAdjustment(*image);
}

}  // namespace SkinUI
