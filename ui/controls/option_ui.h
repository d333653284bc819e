// COptionUI: a button that stays selected. Options of one group (by name, per window) are
// exclusive: selecting one deselects the others silently; an option without a group toggles
// on each click. A click sends "click" and then, when the selection changed, "selectchanged".
#pragma once

#include "ui/controls/button_ui.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
public:
    COptionUI();

    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    // Joins its group in the new manager's option groups (leaving the old manager's).
    void SetWindowManager(CUIManager* manager, CControlUI* parent, bool init = true) override;
    // "click", then selects an option of a group and toggles one without a group.
    bool Activate() override;
    // Disabling keeps only the selected bit of the state.
    void SetEnabled(bool enabled = true) override;
    void ApplyAttribute(const std::wstring& name, const std::wstring& value) override;
    void DrawStateImage(HDC dc) override;
    void DrawCaption(HDC dc) override;

    bool IsSelected() const { return m_selected; }
    // Selecting an option of a group deselects the group's others (without notifications);
    // "selectchanged" goes out with `notify` when the selection changed and the option has a
    // manager, except for an option of a group being deselected.
    void Select(bool selected = true, bool notify = true);
    const std::wstring& GetGroup() const { return m_group; }
    void SetGroup(const std::wstring& group);

    // Image descriptors, as the button's.
    void SetSelectedImage(const std::wstring& descriptor);
    void SetSelectedHotImage(const std::wstring& descriptor);
    // Drawn over the option in every state.
    void SetOptionForeImage(const std::wstring& descriptor);
    // ARGB; 0: none (the text colour for the text).
    void SetSelectedBkColor(DWORD argb);
    void SetSelectedTextColor(DWORD argb);

protected:
    ~COptionUI() override;

private:
    void DeselectOthers(bool notify);
    void DrawSelectedImage(HDC dc, UINT state);

    bool m_selected = false;
    std::wstring m_group;
    DWORD m_selectedBkColor = 0;
    DWORD m_selectedTextColor = 0;
    ImageDrawInfo m_selectedImage;
    ImageDrawInfo m_selectedHotImage;
    ImageDrawInfo m_optionFore;
};

}  // namespace SkinUI
