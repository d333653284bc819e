// Image descriptors; see image_descriptor.h.
#include "ui/render/image_descriptor.h"

#include "ui/core/attribute_values.h"
#include "ui/render/gdi_values.h"
#include "ui/render/image_blit.h"
#include "ui/render/image_decoder.h"

#include <algorithm>

namespace SkinUI {
namespace {

RECT WholeImage(const ImageInfo& image)
{
    return RECT{0, 0, image.width(), image.height()};
}

bool IsBlank(wchar_t c)
{
    return c != L'\0' && c <= L' ';
}

// Reads the next key='value' pair at `pos`; false when the text there is not one.
bool ReadPair(const std::wstring& text, size_t& pos, std::wstring& key, std::wstring& value)
{
    auto at = [&](size_t i) { return i < text.size() ? text[i] : L'\0'; };
    while (IsBlank(at(pos))) ++pos;
    size_t keyStart = pos;
    while (at(pos) != L'\0' && at(pos) != L'=' && !IsBlank(at(pos))) ++pos;
    key = text.substr(keyStart, pos - keyStart);
    while (IsBlank(at(pos))) ++pos;
    if (at(pos) != L'=') return false;
    ++pos;
    while (IsBlank(at(pos))) ++pos;
    if (at(pos) != L'\'') return false;
    size_t valueStart = ++pos;
    size_t quote = text.find(L'\'', valueStart);
    if (quote == std::wstring::npos) return false;
    value = text.substr(valueStart, quote - valueStart);
    pos = quote + 1;
    return true;
}

// Keys that name the image; the last one given decides where the image comes from.
enum class NameKey { None, File, Resource, Color };

struct ParseState {
    NameKey nameKey = NameKey::None;
    std::wstring resourceType;  // "restype"; empty when missing, which finds no resource
};

void ApplyKey(ImageDescriptor& d, ParseState& state, const std::wstring& key,
              const std::wstring& value)
{
    if (key == L"file") {
        d.name = value;
        state.nameKey = NameKey::File;
    } else if (key == L"res") {
        d.name = value;
        state.nameKey = NameKey::Resource;
    } else if (key == L"restype") {
        state.resourceType = value;
    } else if (key == L"color") {
        d.name = value;
        state.nameKey = NameKey::Color;
    } else if (key == L"dest") {
        d.dest = ParseRect(value);
    } else if (key == L"source") {
        d.source = ParseRect(value);
    } else if (key == L"corner" || key == L"scale9") {
        d.corner = ParseRect(value);
    } else if (key == L"mask") {
        d.mask = ParseColor(value);
    } else if (key == L"fade") {
        d.fade = static_cast<BYTE>(std::clamp(ParseInt(value), 0, 255));
    } else if (key == L"hole") {
        d.hole = ParseBool(value);
    } else if (key == L"xtiled") {
        d.xTiled = ParseBool(value);
    } else if (key == L"ytiled") {
        d.yTiled = ParseBool(value);
    } else if (key == L"hsl") {
        d.hsl = ParseBool(value);
    }
}

void Load(IRenderContext& context, ImageDrawInfo& info)
{
    info.loadAttempted = true;
    info.values = ParseImageDescriptor(info.descriptor);
    const ImageDescriptor& d = info.values;
    info.image = context.Images().CachedImageOrLoad(d.name, d.type ? d.type->c_str() : nullptr,
                                                    d.mask, d.hsl);
    if (info.image && IsZeroRect(info.values.source)) info.values.source = WholeImage(*info.image);
}

// The part of the image to draw: all 0 is the whole image, and it ends inside the image.
RECT SourceWithin(const ImageInfo& image, const RECT& source)
{
    if (IsZeroRect(source)) return WholeImage(image);
    return RECT{source.left, source.top, std::min<LONG>(source.right, image.width()),
                std::min<LONG>(source.bottom, image.height())};
}

RECT Destination(const RECT& control, const RECT& dest)
{
    if (IsZeroRect(dest)) return control;
    return RECT{control.left + dest.left, control.top + dest.top,
                std::min(control.right, control.left + dest.right),
                std::min(control.bottom, control.top + dest.bottom)};
}

}  // namespace

ImageDescriptor ParseImageDescriptor(const std::wstring& text)
{
    ImageDescriptor d;
    ParseState state;
    size_t pos = 0;
    std::wstring key, value;
    while (ReadPair(text, pos, key, value)) {
        if (!value.empty()) ApplyKey(d, state, key, value);
        // Another pair follows only after exactly one space that does not end the text.
        if (pos >= text.size() || text[pos] != L' ' || pos + 1 >= text.size()) break;
        ++pos;
    }
    if (state.nameKey == NameKey::None)
        d.name = text;
    else if (state.nameKey == NameKey::Resource)
        d.type = state.resourceType;
    else if (state.nameKey == NameKey::Color)
        d.type = std::wstring(kColorImageType);
    return d;
}

void ImageDrawInfo::Clear()
{
    *this = ImageDrawInfo();
}

bool ImageDrawInfo::SetDescriptor(const std::wstring& text)
{
    // A failed load is tried again when the attribute is applied again: the file may be
    // there now.
    if (text == descriptor && image) return false;
    Clear();
    descriptor = text;
    return true;
}

bool DrawImageDescriptor(HDC dc, IRenderContext& context, const RECT& control, const RECT& paint,
                         ImageDrawInfo& info, const ImageDrawOverrides& overrides)
{
    if (info.descriptor.empty()) return false;
    if (!info.loadAttempted) Load(context, info);
    if (!info.image) return false;
    if (!dc) return true;
    const ImageDescriptor& own = info.values;
    RECT dest = Destination(control, overrides.dest.value_or(own.dest));
    RECT common;
    if (!IntersectRect(&common, &dest, &control) || !IntersectRect(&common, &dest, &paint))
        return true;
    BlitLayout layout;
    layout.source = SourceWithin(*info.image, overrides.source.value_or(own.source));
    layout.corner = own.corner;
    layout.fade = overrides.fade.value_or(own.fade);
    layout.hasAlpha = info.image->hasAlpha;
    layout.hole = own.hole;
    layout.xTiled = own.xTiled;
    layout.yTiled = own.yTiled;
    BlitImage(dc, info.image->bitmap(), dest, paint, layout);
    return true;
}

}  // namespace SkinUI
