// CProgressUI; see progress_ui.h.
#include "ui/controls/progress_ui.h"

#include "ui/core/attribute_table.h"
#include "ui/core/attribute_values.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace SkinUI {
namespace {

constexpr int kDefaultHeight = 12;

using Entry = AttributeEntry<CProgressUI>;
const Entry kProgressAttributes[] = {
    {L"foreimage", [](CProgressUI& p, const std::wstring& v) { p.SetForeImage(v); }},
    {L"hor", [](CProgressUI& p, const std::wstring& v) { p.SetHorizontal(ParseBool(v)); }},
    {L"min", [](CProgressUI& p, const std::wstring& v) { p.SetMinValue(ParseInt(v)); }},
    {L"max", [](CProgressUI& p, const std::wstring& v) { p.SetMaxValue(ParseInt(v)); }},
    {L"value", [](CProgressUI& p, const std::wstring& v) { p.SetValue(ParseInt(v)); }},
};

// An empty range becomes min..min + 1 (at the top of int, INT_MAX - 1..INT_MAX) and the value
// is held inside it.
void NormaliseRange(int& min, int& max, int& value)
{
    if (min >= max) {
        if (min == INT_MAX) min = INT_MAX - 1;
        max = min + 1;
    }
    value = std::clamp(value, min, max);
}

}  // namespace

CProgressUI::CProgressUI()
{
    SetTextStyle(DT_CENTER | DT_SINGLELINE);
    SetRequestedHeight(kDefaultHeight);
}

CProgressUI::~CProgressUI() = default;

std::wstring CProgressUI::GetClassName() const
{
    return L"Progress";
}

CControlUI* CProgressUI::QueryInterface(const std::wstring& name)
{
    return name == L"Progress" ? this : CLabelUI::QueryInterface(name);
}

void CProgressUI::ApplyAttribute(const std::wstring& name, const std::wstring& value)
{
    if (!ApplyFromTable(kProgressAttributes, *this, name, value))
        CLabelUI::ApplyAttribute(name, value);
}

void CProgressUI::SetHorizontal(bool horizontal)
{
    if (m_horizontal == horizontal) return;
    m_horizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int min)
{
    m_min = min;
    Invalidate();
}

void CProgressUI::SetMaxValue(int max)
{
    m_max = max;
    Invalidate();
}

void CProgressUI::SetValue(int value)
{
    const int clamped = value > m_max ? m_max : value < m_min ? m_min : value;
    if (clamped == m_value) return;
    m_value = clamped;
    Invalidate();
}

void CProgressUI::SetForeImage(const std::wstring& descriptor)
{
    if (m_foreImage.SetDescriptor(descriptor)) Invalidate();
}

RECT CProgressUI::FilledPart(int width, int height, bool horizontal, int min, int max, int value)
{
    NormaliseRange(min, max, value);
    const int64_t low = min;
    const int64_t high = max;
    const int64_t at = value;
    if (horizontal) {
        const auto filled = static_cast<LONG>(int64_t(width) * (at - low) / (high - low));
        return RECT{0, 0, filled, height};
    }
    const auto empty = static_cast<LONG>(int64_t(height) * (high - at) / (high - low));
    return RECT{0, empty, width, height};
}

// The range and value are kept as drawn.
void CProgressUI::DrawStateImage(HDC dc)
{
    NormaliseRange(m_min, m_max, m_value);
    IRenderContext* context = RenderContext();
    if (context == nullptr || m_foreImage.descriptor.empty()) return;
    const RECT part = FilledPart(GetWidth(), GetHeight(), m_horizontal, m_min, m_max, m_value);
    if (IsRectEmpty(&part)) return;  // an all-zero destination would mean the whole control
    ImageDrawOverrides overrides;
    overrides.dest = part;
    DrawImageDescriptor(dc, *context, GetRect(), PaintRect(), m_foreImage, overrides);
}

}  // namespace SkinUI
