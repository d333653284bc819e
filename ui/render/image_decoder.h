// DecodeImage: loads an image from a program resource, the skin archive, the resource folder
// or a plain file, or makes a one-pixel colour image, as a premultiplied 32-bit DIB section.
#pragma once

#include "ui/render/image_info.h"

#include <memory>
#include <string>

namespace SkinUI {

// The resource type that makes `name` a colour ("#AARRGGBB" or "AARRGGBB") instead of a file.
inline constexpr wchar_t kColorImageType[] = L"*COLOR*";

// Loads the image `name`:
//  - type kColorImageType: a 1x1 image of that colour;
//  - another non-null type: the program resource `name` of that type;
//  - null type: the skin archive's entry when an archive is configured, else the file in the
//    resource folder;
//  - when that yields nothing: the file at `name` itself.
// Pixels whose ARGB value equals `mask` become fully transparent. Returns the image (the
// caller owns it) or null when nothing could be read or decoded.
std::unique_ptr<ImageInfo> DecodeImage(const std::wstring& name, const wchar_t* type, DWORD mask);

// Decodes PNG, JPEG, BMP, GIF, PSD or PNM bytes; null when they are not a readable image.
std::unique_ptr<ImageInfo> DecodeImageBytes(const unsigned char* bytes, size_t length, DWORD mask);

}  // namespace SkinUI
