// Image descriptors of skin attributes ("bg.png" or "file='bg.png' corner='4,4,4,4' ..."):
// their parsed form, the per-control ImageDrawInfo, and drawing one.
#pragma once

#include "ui/render/render_context.h"

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

// One image attribute of one control: the descriptor and what loading it gave.
struct ImageDrawInfo {
    std::wstring descriptor;     // as written
    ImageDescriptor values;      // its own values, parsed on first use; a source of all 0
                                 // becomes the whole image once it is loaded
    bool loadAttempted = false;  // a failed load is not retried until the descriptor is set
    ImageInfo* image = nullptr;  // owned by the image cache

    // Empties the descriptor and resets everything else to its default.
    void Clear();
    // Sets a descriptor. One equal to the current descriptor and loaded is kept (false);
    // otherwise the draw info is reset so that the next use loads it (true: repaint).
    bool SetDescriptor(const std::wstring& text);
};

// What a control decides for one draw; each value given replaces the descriptor's own (a
// progress bar's destination, a five-state button's strip of the image, a fading alpha).
struct ImageDrawOverrides {
    std::optional<RECT> dest;  // relative to the control, like the descriptor's "dest"
    std::optional<RECT> source;
    std::optional<BYTE> fade;
};

// Loads the image of `info` on first use through the context's image cache and, when `dc`
// is given, draws it into `control` (or its dest part), limited to `paint`, with the
// descriptor's values where `overrides` gives none. Neither `info`'s values nor the
// overrides are changed by drawing.
// Returns true when the image is available (it may still have been clipped away), false
// when the descriptor is empty or its image could not be loaded, now or before.
bool DrawImageDescriptor(HDC dc, IRenderContext& context, const RECT& control, const RECT& paint,
                         ImageDrawInfo& info, const ImageDrawOverrides& overrides = {});

}  // namespace SkinUI
