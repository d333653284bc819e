// ImageCache: decoded images of a window by name, falling back to the shared images of the
// process. Images are decoded once per name; the cache owns them. The colour adjustment of
// images loaded as HSL-adjustable is one setting of the process, for every cache.
#pragma once

#include "ui/render/image_info.h"

#include <map>
#include <memory>
#include <string>

namespace SkinUI {

// The colour adjustment applied to images loaded as HSL-adjustable (and to the colours the
// controls adjust).
struct ColorAdjustment {
    bool enabled = false;
    short hue = 180;
    short saturation = 100;
    short lightness = 100;
};

class ImageCache {
public:
    // `shared` (may be null, must outlive this cache) is searched after this cache's images.
    explicit ImageCache(ImageCache* shared = nullptr);
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The image cached under `name` (own, then shared), or null. Owned by the cache.
    ImageInfo* CachedImage(const std::wstring& name);

    // The cached image, or else the image loaded now (see CacheImage) into this cache.
    ImageInfo* CachedImageOrLoad(const std::wstring& name, const wchar_t* type, DWORD mask,
                                 bool hsl);

    // Decodes the image (type null: from the skin files; see DecodeImage) and stores it under
    // `name` in this cache (or the shared one with `shared`), replacing an image of that name.
    // With `hsl` a copy of the pixels is kept and the colour adjustment applied.
    // Returns the image (owned by the cache) or null when it cannot be loaded; a failed load
    // leaves an existing image of that name in place, a replaced one keeps its address.
    ImageInfo* CacheImage(const std::wstring& name, const wchar_t* type, DWORD mask, bool hsl,
                          bool shared = false);

    // Removes the images of this cache (or of the shared one with `shared`).
    void ClearImages(bool shared = false);

private:
    friend void SetColorAdjustment(const ColorAdjustment& adjustment);
    // Rewrites the images loaded with `hsl` for the process's current colour adjustment.
    void Recolor();

    std::map<std::wstring, std::unique_ptr<ImageInfo>> m_images;
    ImageCache* m_shared;
};

// The process's colour adjustment (initially off and neutral). Setting it recolours the
// HSL-adjustable images of every image cache alive and applies to images loaded later.
// User interface thread only, like everything of the framework.
const ColorAdjustment& CurrentColorAdjustment();
void SetColorAdjustment(const ColorAdjustment& adjustment);

}  // namespace SkinUI
