// CTextUI: a label for longer text that wraps, with links when it shows markup ("a" tags): the
// cursor becomes a hand over a link, the hovered link takes the window's link hover colour,
// and a click on a link sends "link" with the link's index (in the order of the tags).
#pragma once

#include "ui/controls/label_ui.h"

#include <vector>

namespace SkinUI {

class CTextUI : public CLabelUI {
public:
    // How many links of a text are clickable.
    static constexpr size_t MaxLinks = 8;

    CTextUI();

    std::wstring GetClassName() const override;
    CControlUI* QueryInterface(const std::wstring& name) override;
    // ControlFlagSetsCursor when enabled and the last paint drew links.
    UINT GetFlags() const override;
    void HandleEvent(ControlEvent& event) override;
    void DrawCaption(HDC dc) override;

    // The links of the last paint (at most MaxLinks): none before it, and none for text
    // drawn without markup.
    const std::vector<MarkupLink>& Links() const { return m_links; }
    // The link under the mouse, -1 for none.
    int HoveredLink() const { return m_hoveredLink; }

protected:
    ~CTextUI() override;

private:
    bool HandleLinkEvent(ControlEvent& event);
    void Hover(int link);
    void OnMouseLeave(const ControlEvent& event);
    int LinkAt(POINT point) const;

    std::vector<MarkupLink> m_links;
    int m_hoveredLink = -1;
};

}  // namespace SkinUI
