// CLineLayoutUI: what the horizontal and vertical layouts share. Their laid-out children
// (visible and not floating) stand in one line along the layout's axis: fixed ones at their
// estimated length within their limits, the others ("adjustable") sharing what is left, the
// last of them taking the remainder of the integer division; across the line each child
// takes its fixed or largest size within the room, aligned by the container's child
// alignment. Floating children are placed by their fixed place alone. A separator at one
// edge lets the user drag the layout's own length.
#pragma once

#include "ui/layouts/container_ui.h"
#include "ui/layouts/layout_axis.h"
#include "ui/layouts/layout_separator.h"

namespace SkinUI {

class CLineLayoutUI : public CContainerUI {
public:
    UINT GetFlags() const override;
    void Place(RECT rect, bool invalidate = true) override;
    void HandleEvent(ControlEvent& event) override;
    void DrawAfter(HDC dc, const RECT& paint) override;

    int GetSeparatorSize() const { return m_separator.Size(); }
    // Negative: a strip at the left (top) edge; positive: at the right (bottom) edge; 0 none.
    void SetSeparatorSize(int size);
    bool IsSeparatorImmediate() const { return m_separator.Immediate(); }
    void SetSeparatorImmediate(bool immediate) { m_separator.SetImmediate(immediate); }
    // Where the separator is (empty without one).
    RECT SeparatorStrip() const { return m_separator.Strip(GetRect()); }

protected:
    explicit CLineLayoutUI(LayoutAxis axis);
    ~CLineLayoutUI() override = default;

private:
    struct Line;
    struct Scroll;
    struct Cursor;
    Line Measure(SIZE available) const;
    Scroll ScrollAlong() const;
    LONG CrossStart(const RECT& line, const Scroll& scroll, const RECT& padding, LONG extent) const;
    LONG LayOut(const Line& line, const RECT& flowInner, const Scroll& scroll, SIZE available);
    void PlaceInLine(CControlUI& child, const Line& line, Cursor& cursor, const RECT& flowInner,
                     const Scroll& scroll, LONG crossRoom);

    LayoutAxis m_axis;
    LayoutSeparator m_separator;
};

}  // namespace SkinUI
