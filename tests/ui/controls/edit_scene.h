// Test helpers for the edit control: a real window (TestWindow) whose root container holds
// edit controls, typing into an open box, and pumping until something happened.
#pragma once

#include "tests/ui/core/test_window.h"
#include "ui/controls/edit_ui.h"
#include "ui/layouts/container_ui.h"

#include <functional>
#include <string>

namespace SkinUI::Testing {

class EditScene {
public:
    // A window with its client area at (x, y), 400x200, and an empty root container.
    explicit EditScene(DWORD exStyle = 0, int x = 300, int y = 300);

    TestWindow& window() { return m_window; }
    CUIManager& manager() { return m_window.manager(); }
    CContainerUI& root() { return *m_root; }
    // An edit floating at `rect` in `parent` (the root when null), laid out at once.
    CEditUI& AddEdit(const RECT& rect, CContainerUI* parent = nullptr);
    // A container floating at `rect` in the root, to hold edits.
    CContainerUI& AddContainer(const RECT& rect);
    // A plain control that takes the focus (Tab stop), floating at `rect`.
    CControlUI& AddFocusTaker(const RECT& rect);
    // Lays out and paints what is pending.
    void Settle();
    // Focuses `edit` through the manager and returns its box (null when none opened).
    HWND Open(CEditUI& edit);

    NotifyRecorder notifications;

private:
    TestWindow m_window;
    CContainerUI* m_root;
};

// Sends each character of `text` to `box` as the keyboard would (WM_CHAR).
void Type(HWND box, const std::wstring& text);
// Presses and releases Enter in `box`.
void PressEnter(HWND box);
// Pumps messages until `done` holds or `milliseconds` have passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 2000);
// The text of a native window.
std::wstring WindowText(HWND window);
// Where `window` lies in the client coordinates of its parent.
RECT RectInParent(HWND window);
// How many notifications of `type` the recorder saw.
int CountOf(const NotifyRecorder& recorder, const std::wstring& type);

}  // namespace SkinUI::Testing
