// CScrollBarUI; see scroll_bar_ui.h.
#include "ui/layouts/scroll_bar_ui.h"

#include "ui/core/attribute_table.h"
#include "ui/core/attribute_values.h"
#include "ui/layouts/layout_axis.h"
#include "ui/render/fill_and_stroke.h"

#include <algorithm>

namespace SkinUI {
namespace {

const AttributeEntry<CScrollBarUI> kScrollBarAttributes[] = {
    {L"linesize", [](CScrollBarUI& c, const std::wstring& v) { c.SetLineSize(ParseInt(v)); }},
    {L"thumbcolor", [](CScrollBarUI& c, const std::wstring& v) { c.SetThumbColor(ParseColor(v)); }},
};

}  // namespace

CScrollBarUI::CScrollBarUI(bool horizontal) : m_horizontal(horizontal)
{
    if (horizontal) {
        SetRequestedHeight(kDefaultThickness);
    } else {
        SetRequestedWidth(kDefaultThickness);
    }
    SetVisible(false);
}

std::wstring CScrollBarUI::GetClassName() const
{
    return L"ScrollBar";
}

CControlUI* CScrollBarUI::QueryInterface(const std::wstring& name)
{
    return name == L"ScrollBar" ? this : CControlUI::QueryInterface(name);
}

void CScrollBarUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kScrollBarAttributes, *this, name, value))
        CControlUI::ApplyAttribute(name, value);
}

void CScrollBarUI::SetScrollRange(int range)
{
    m_range = std::max(0, range);
    m_pos = std::clamp(m_pos, 0, m_range);
    SetVisible(m_range > 0);
    Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos)
{
    pos = std::clamp(pos, 0, m_range);
    if (pos == m_pos) return;
    m_pos = pos;
    Invalidate();
}

void CScrollBarUI::SetLineSize(int size)
{
    m_lineSize = std::max(1, size);
}

void CScrollBarUI::SetThumbColor(DWORD argb)
{
    m_thumbColor = argb;
    Invalidate();
}

RECT CScrollBarUI::ThumbRect() const
{
    const LayoutAxis axis{!m_horizontal};
    const RECT bar = axis.Flow(GetRect());
    const LONG length = bar.right - bar.left;
    if (length <= 0) return RECT{0, 0, 0, 0};
    // 64 bits: a length times a range of a hundred thousand each overflows 32.
    const long long whole = static_cast<long long>(length) + m_range;
    const LONG thumb = std::clamp<LONG>(static_cast<LONG>(length * 1LL * length / whole),
                                        std::min<LONG>(kMinThumb, length), length);
    const LONG travel = length - thumb;
    const LONG offset = m_range > 0 ? static_cast<LONG>(travel * 1LL * m_pos / m_range) : 0;
    return axis.Flow(RECT{bar.left + offset, bar.top, bar.left + offset + thumb, bar.bottom});
}

void CScrollBarUI::DrawStateImage(HDC dc)
{
    if (m_thumbColor == 0) return;
    const RECT thumb = ThumbRect();
    if (!IsRectEmpty(&thumb)) FillColor(dc, thumb, GetAdjustedColor(m_thumbColor));
}

}  // namespace SkinUI
