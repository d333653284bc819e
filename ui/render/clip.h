// Clip regions that a control sets while it paints its children: a rectangle or a rounded
// rectangle intersected with the clip already in force, put back when the record goes away.
#pragma once

#include "ui/render/gdi_handles.h"

namespace SkinUI {

class ClipRegion {
public:
    ClipRegion() = default;
    // Restores the clip that was in force before this one.
    ~ClipRegion();
    ClipRegion(ClipRegion&& other) noexcept;
    ClipRegion& operator=(ClipRegion&& other) noexcept;
    ClipRegion(const ClipRegion&) = delete;
    ClipRegion& operator=(const ClipRegion&) = delete;

    // Switch to the previous clip for a while (floating children outside the inset) and back.
    void UsePrevious() const;
    void UseNew() const;

private:
    friend ClipRegion RectClip(HDC dc, const RECT& rc);
    friend ClipRegion RoundClip(HDC dc, const RECT& rc, const RECT& item, int ellipseWidth,
                                int ellipseHeight);
    ClipRegion(HDC dc, Region clip);
    void Restore();

    HDC m_dc = nullptr;
    Region m_new;
    Region m_previous;  // null: there was no clip region
};

// Clips `dc` to `rc` within its current clip until the returned record goes away.
ClipRegion RectClip(HDC dc, const RECT& rc);

// Clips `dc` to `rc` and the rounded rectangle around `item` (right and bottom included)
// with the given ellipse, within its current clip, until the returned record goes away.
ClipRegion RoundClip(HDC dc, const RECT& rc, const RECT& item, int ellipseWidth, int ellipseHeight);

}  // namespace SkinUI
