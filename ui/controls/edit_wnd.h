// CEditWnd: the native text box of an edit control while it is being edited. A child of the
// skin window, of the class "EditWnd" that superclasses the system "Edit" (registered once per
// process). It lies over the control's text, answers the colour requests the paint manager
// reflects to it, tells the control of typing and of Enter, and closes itself when it loses
// the focus. In a layered window, where the system never shows child windows, it asks the
// paint manager to print it into the frame at each of its paints and draws a blinking caret of
// its own there.
//
// Ownership: the edit control owns this object, which owns the window and the brushes it
// hands out. When the window goes (it closes itself, or its parent is destroyed), the control
// is told and deletes this object.
#pragma once

#include "ui/render/dib_section.h"
#include "ui/render/gdi_handles.h"

#include <windows.h>

#include <memory>
#include <string>

namespace SkinUI {

class CEditUI;
class CUIManager;

class CEditWnd {
public:
    // Opens a box over `owner` (which must have a manager with a paint window) with the
    // owner's text and settings, shown and focused. Null when the owner's native rectangle
    // is empty or the window cannot be made.
    static std::unique_ptr<CEditWnd> Open(CEditUI& owner);
    // Destroys the window if it still exists, without telling the owner. Inside a message of
    // a box the window is only hidden and closed from the queue: the system edit may still
    // be working on its state.
    ~CEditWnd();
    CEditWnd(const CEditWnd&) = delete;
    CEditWnd& operator=(const CEditWnd&) = delete;

    HWND Handle() const { return m_window.get(); }
    // Follows the owner's native rectangle; hidden while that is empty.
    void Reposition();
    // Shows `text` in the box; the owner stores it first, so it is not reported as typed.
    void SetText(const std::wstring& text);
    void SetMaxChar(int count);
    void SetReadOnly(bool readOnly);
    void SetPasswordChar(wchar_t ch);
    void SetNumberOnly(bool numberOnly);
    void SetEnabled(bool enabled);
    // Clears the selection and presses the left button in the box at `point` (client
    // coordinates of the skin window), mapped through where the box really lies.
    void PressAt(POINT point);
    // Hides the box and closes it from the message queue (once).
    void Close();
    // Closed but not yet destroyed: the control treats the box as gone.
    bool IsClosing() const { return m_closing; }

private:
    struct WindowDestroyer {
        void operator()(HWND window) const;
    };
    using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

    CEditWnd(CEditUI& owner, CUIManager& manager);
    // The system edit's procedure; null when the class could not be registered.
    static WNDPROC SystemProcedure();
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CallSystem(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool Create(const RECT& rc);
    void Configure();
    void ShowFocused();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM key, LPARAM lParam);
    LRESULT OnKillFocus(HWND next);
    LRESULT OnPaint();
    LRESULT OnPrint(HDC dc, LPARAM flags);
    void OnCaretTimer();
    void OnTextChanged();
    HBRUSH OnColorRequest(HDC dc);
    HBRUSH SolidBrush(DWORD argb);
    HBRUSH PatternBrush(DWORD argb);
    // Lists the box with the manager and repaints its part of the window (layered frames).
    void ListForPrinting();
    // Where the box lies in the skin window's client coordinates.
    RECT PlaceInWindow() const;
    std::wstring NativeText() const;

    CEditUI* m_owner;
    CUIManager& m_manager;
    OwnedWindow m_window;
    bool m_layered = false;
    bool m_closing = false;
    bool m_caretShown = true;
    Brush m_solidBrush;
    DWORD m_solidColor = 0;
    // The translucent background: what the window shows under the box, covered with the
    // colour; remade at every request, the previous one freed first.
    DibSection m_patternBitmap;
    Brush m_patternBrush;
};

}  // namespace SkinUI
