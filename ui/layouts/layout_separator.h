// LayoutSeparator: the drag strip at one edge of a layout ("sepwidth" on a horizontal layout,
// "sepheight" on a vertical one) with which the user changes the layout's fixed width or
// height. A negative size puts the strip at the left (top) edge, a positive one at the right
// (bottom) edge. With "sepimm" the layout follows the pointer at once; otherwise a dark strip
// follows it and the layout takes the new size when the button goes up.
#pragma once

#include "ui/core/control_ui.h"
#include "ui/layouts/layout_axis.h"

namespace SkinUI {

class LayoutSeparator {
public:
    explicit LayoutSeparator(LayoutAxis axis) : m_axis(axis) {}

    int Size() const { return m_size; }
    void SetSize(int size) { m_size = size; }
    bool Immediate() const { return m_immediate; }
    void SetImmediate(bool immediate) { m_immediate = immediate; }

    // The strip inside `item`; empty without a separator.
    RECT Strip(const RECT& item) const;
    // ControlFlagSetsCursor while `layout` is enabled and has a separator, else 0.
    UINT Flags(const CControlUI& layout) const;
    // Set-cursor over the strip, button-down on it, and the moves and button-up of a drag;
    // false for every other event, which the layout handles as usual.
    bool HandleEvent(CControlUI& layout, const ControlEvent& event);
    // The strip where a drag that is not immediate has taken it.
    void DrawAfter(HDC dc) const;

    // The strip's fill while it is dragged.
    static constexpr DWORD kDragColor = 0xAA000000;

private:
    bool OnStrip(const CControlUI& layout, POINT point) const;
    void StartDrag(CControlUI& layout, POINT point);
    void Drag(CControlUI& layout, POINT point);
    void EndDrag(CControlUI& layout);
    void SetLength(CControlUI& layout, LONG length) const;

    LayoutAxis m_axis;
    int m_size = 0;
    bool m_immediate = false;
    bool m_dragging = false;
    POINT m_last = {0, 0};
    RECT m_dragRect = {0, 0, 0, 0};  // the layout's rectangle as the drag has made it
};

}  // namespace SkinUI
