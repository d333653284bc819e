// Clip regions; see clip.h.
#include "ui/render/clip.h"

#include <utility>

namespace SkinUI {
namespace {

// A copy of the DC's clip region, or null when it has none.
Region CurrentClip(HDC dc)
{
    Region copy(CreateRectRgn(0, 0, 0, 0));
    if (!copy || GetClipRgn(dc, copy.get()) != 1) return Region();
    return copy;
}

}  // namespace

ClipRegion::ClipRegion(HDC dc, Region clip)
    : m_dc(dc), m_new(std::move(clip)), m_previous(CurrentClip(dc))
{
    if (!m_new)
        return;  // no region could be made: the clip stays as it was rather than being lifted
    if (m_previous) CombineRgn(m_new.get(), m_new.get(), m_previous.get(), RGN_AND);
    SelectClipRgn(m_dc, m_new.get());  // the DC keeps its own copy
}

ClipRegion::~ClipRegion()
{
    Restore();
}

ClipRegion::ClipRegion(ClipRegion&& other) noexcept
    : m_dc(std::exchange(other.m_dc, nullptr)), m_new(std::move(other.m_new)),
      m_previous(std::move(other.m_previous))
{
}

ClipRegion& ClipRegion::operator=(ClipRegion&& other) noexcept
{
    if (this != &other) {
        Restore();
        m_dc = std::exchange(other.m_dc, nullptr);
        m_new = std::move(other.m_new);
        m_previous = std::move(other.m_previous);
    }
    return *this;
}

ClipRegion RectClip(HDC dc, const RECT& rc)
{
    return ClipRegion(dc, Region(CreateRectRgnIndirect(&rc)));
}

ClipRegion RoundClip(HDC dc, const RECT& rc, const RECT& item, int ellipseWidth, int ellipseHeight)
{
    Region clip(CreateRectRgnIndirect(&rc));
    Region round(CreateRoundRectRgn(item.left, item.top, item.right + 1, item.bottom + 1,
                                    ellipseWidth, ellipseHeight));
    // Without the rounded part the clip would be too wide: then no region is made at all.
    if (!clip || !round) return ClipRegion(dc, Region());
    CombineRgn(clip.get(), clip.get(), round.get(), RGN_AND);
    return ClipRegion(dc, std::move(clip));
}

void ClipRegion::UsePrevious() const
{
    if (m_dc) SelectClipRgn(m_dc, m_previous.get());
}

void ClipRegion::UseNew() const
{
    if (m_dc && m_new) SelectClipRgn(m_dc, m_new.get());
}

void ClipRegion::Restore()
{
    if (!m_dc) return;
    SelectClipRgn(m_dc, m_previous.get());  // null removes the clip, as before
    m_dc = nullptr;
    m_new.reset();
    m_previous.reset();
}

}  // namespace SkinUI
