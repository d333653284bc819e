// PaintTarget: a visible popup with a paint manager whose update region shows what the
// manager was asked to repaint. Its messages are never dispatched, so nothing paints and the
// region only grows until it is taken.
#pragma once

#include "ui/core/ui_manager.h"

#include <windows.h>

namespace SkinUI::Testing {

class PaintTarget {
public:
    PaintTarget()
        : m_hwnd(CreateWindowExW(WS_EX_NOACTIVATE, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                 300, nullptr, nullptr, nullptr, nullptr))
    {
        manager.AttachWindow(m_hwnd, L"placement");
        ValidateRect(m_hwnd, nullptr);
    }
    PaintTarget(const PaintTarget&) = delete;
    PaintTarget& operator=(const PaintTarget&) = delete;
    ~PaintTarget()
    {
        manager.AttachWindow(nullptr, L"");
        DestroyWindow(m_hwnd);
    }
    // The bounds of the update region, then cleared.
    RECT TakeInvalid()
    {
        RECT r = {0, 0, 0, 0};
        GetUpdateRect(m_hwnd, &r, FALSE);
        ValidateRect(m_hwnd, nullptr);
        return r;
    }

    HWND hwnd() const { return m_hwnd; }

    CUIManager manager;

private:
    HWND m_hwnd;
};

}  // namespace SkinUI::Testing
