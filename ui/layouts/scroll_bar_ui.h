// CScrollBarUI: the scroll bar a container creates on demand ("vscrollbar", "hscrollbar"). It
// holds a range and a position and draws a thumb; the container decides when it shows (only
// while its content needs more room than it has) and moves its children by the position.
// The bar takes no input of its own: the container scrolls with the keyboard and the wheel.
#pragma once

#include "ui/core/control_ui.h"

namespace SkinUI {

class CScrollBarUI : public CControlUI {
public:
    // A vertical bar is 16 pixels wide, a horizontal one 16 high, until attributes say else.
    // It starts hidden: nothing needs scrolling yet.
    explicit CScrollBarUI(bool horizontal);

    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override;

    bool IsHorizontal() const { return m_horizontal; }
    int GetScrollRange() const { return m_range; }
    // A negative range counts as 0; the position is pulled back into the new range. The bar
    // shows exactly while the range is positive.
    void SetScrollRange(int range);
    int GetScrollPos() const { return m_pos; }
    // Clamped to 0..range.
    void SetScrollPos(int pos);
    // The step of one line (arrow keys, wheel notch); at least 1.
    int GetLineSize() const { return m_lineSize; }
    void SetLineSize(int size);
    void SetThumbColor(DWORD argb);

    // Where the thumb is drawn: along the bar in proportion to the position, as long as the
    // bar is to its length plus the range (at least kMinThumb).
    RECT ThumbRect() const;
    void DrawStateImage(HDC dc) override;

    static constexpr int kDefaultThickness = 16;
    static constexpr int kDefaultLineSize = 8;
    static constexpr int kMinThumb = 8;

protected:
    ~CScrollBarUI() override = default;

private:
    bool m_horizontal;
    int m_range = 0;
    int m_pos = 0;
    int m_lineSize = kDefaultLineSize;
    DWORD m_thumbColor = 0xFF888888;
};

}  // namespace SkinUI
