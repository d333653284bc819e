// ControlScene: a test window whose root holds leaf controls floating at given places, with
// helpers that send a control events as the paint manager would and read back what the last
// paint drew. Images for state tests are solid colours ("color='#FFRRGGBB'").
#pragma once

#include "tests/ui/core/test_window.h"
#include "ui/layouts/container_ui.h"

#include <cstdint>
#include <string>

namespace SkinUI::Testing {

// An image descriptor of one solid colour.
std::wstring ColorImage(uint32_t argb);

class ControlScene {
public:
    explicit ControlScene(int width = 400, int height = 200);

    // A control of type T floating at `rect`, adopted by the manager, then given `attributes`
    // (so attributes that notify find a manager), and laid out.
    template <typename T>
    T* Add(const RECT& rect, const std::wstring& attributes = L"")
    {
        ControlPtr control = MakeControl<T>();
        FloatAt(*control, rect);
        CControlUI* added = m_root->AddChild(std::move(control));
        added->ApplyAttributeList(attributes);
        window.PaintNow();
        return static_cast<T*>(added);
    }

    // Dispatches an event of `kind` at `mouse` to `control`.
    void Send(CControlUI& control, EventKind kind, POINT mouse = {0, 0}, WPARAM wParam = 0,
              wchar_t key = 0);
    // A press and release at `mouse`, as the manager sends them.
    void Click(CControlUI& control, POINT mouse);
    // The colour (0xRRGGBB) at (x, y) after painting what is invalid.
    uint32_t Pixel(int x, int y);

    TestWindow window;
    NotifyRecorder notes;
    CUIManager& manager() { return window.manager(); }

private:
    CContainerUI* m_root = nullptr;
};

}  // namespace SkinUI::Testing
