// Image descriptors of skin attributes ("bg.png" or "file='bg.png' corner='4,4,4,4' ..."):
// their parsed form, the per-control ImageDrawInfo, and drawing one.
#pragma once

#include "ui/render_context.h"

#include <optional>
#include <string>

namespace SkinUI {

// A descriptor as written, taken apart.
struct ImageDescriptor {
    std::wstring name;                 // file or resource name, or colour text
    std::optional<std::wstring> type;  // "res" (with "restype") or "color" give a type
    DWORD mask = 0;
    RECT dest = {};
    RECT source = {};
    RECT corner = {};
    BYTE fade = 255;
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
    bool hsl = false;
};

// Parses key='value' pairs; without a "file", "res" or "color" key the whole text is the name.
ImageDescriptor ParseImageDescriptor(const std::wstring& text);

// One image attribute of one control.
struct ImageDrawInfo {
    std::wstring descriptor;     // as written
    std::wstring imageName;      // resolved on first use
    bool loadAttempted = false;  // a failed load is not retried until the descriptor changes
    ImageInfo* image = nullptr;  // owned by the image cache
    RECT dest = {};              // relative to the control; all 0 = whole control
    RECT source = {};            // all 0 = whole image
    RECT corner = {};
    BYTE fade = 255;
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;

    // Empties both strings and resets everything else to its default.
    void Clear();
    // Sets a new descriptor; a different one clears the draw info so it is loaded again.
    void SetDescriptor(const std::wstring& text);
};

// Loads the image of `info` on first use through the context's image cache and, when `dc`
// is given, draws it into `control` (or its dest part), limited to `paint`.
// Returns true when the image is available (it may still have been clipped away), false
// when the descriptor is empty or its image could not be loaded, now or before.
bool DrawImageDescriptor(HDC dc, IRenderContext& context, const RECT& control, const RECT& paint,
                         ImageDrawInfo& info);

}  // namespace SkinUI
