// CProgressUI: a value between a minimum and a maximum shown as the foreground image drawn
// over the part of the control that the value fills: from the left (horizontal) or from the
// bottom (vertical). The background image is the control's own.
#pragma once

#include "ui/controls/label_ui.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override;
    void DrawStateImage(HDC dc) override;

    bool IsHorizontal() const { return m_horizontal; }
    void SetHorizontal(bool horizontal = true);
    int GetMinValue() const { return m_min; }
    void SetMinValue(int min);
    int GetMaxValue() const { return m_max; }
    void SetMaxValue(int max);
    int GetValue() const { return m_value; }
    // The value is clamped into the current minimum and maximum: a skin that writes "value"
    // before "max" gets it clamped to the old maximum.
    void SetValue(int value);
    void SetForeImage(const std::wstring& descriptor);

    // The filled part of a `width` x `height` control, relative to its top-left, for `value`
    // of min..max (a range with max <= min counts as min..min + 1, or INT_MAX - 1..INT_MAX;
    // the value is clamped).
    // Computed in 64 bits, so no value of int overflows it.
    static RECT FilledPart(int width, int height, bool horizontal, int min, int max, int value);

protected:
    ~CProgressUI() override;

private:
    bool m_horizontal = true;
    int m_max = 100;
    int m_min = 0;
    int m_value = 0;
    ImageDrawInfo m_foreImage;
};

}  // namespace SkinUI
