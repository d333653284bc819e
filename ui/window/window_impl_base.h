// WindowImplBase: the base of every skinned top-level window. On creation it strips the
// native frame, starts the window's paint manager, builds the skin the derived class names
// and attaches it; afterwards it answers the non-client messages itself, so the whole window
// is client area with a caption band, sizing borders and rounded corners described by the
// skin. Clicks on controls named "closebtn", "minbtn", "maxbtn" and "restorebtn" work the
// window; Escape closes it.
//
// Ownership: the window holds its paint manager, which owns the control tree. A skin that
// cannot be built ends the process (exit code 1) after telling the user. User interface
// thread only.
#pragma once

#include "ui/core/ui_events.h"
#include "ui/core/ui_manager.h"
#include "ui/markup/skin_builder.h"
#include "ui/window/notify_pump.h"
#include "ui/window/window_wnd.h"

#include <windows.h>

#include <string>

namespace SkinUI {

// Where a window's skin file comes from.
enum class SkinResourceKind {
    File = 1,         // the resource folder, or the skin archive already set for the process
    ZipFile = 2,      // the archive file SkinZipFileName() in the resource folder
    Resource = 3,     // the program resource of type "xml" numbered by SkinFile()
    ZipResource = 4,  // the "ZIPRES" program resource SkinResourceId() as the skin archive
};

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override;

    CUIManager& Manager() { return m_manager; }

    // Dispatches through the message maps (see notify_pump.h).
    void OnNotify(NotifyMsg& msg) override;
    // A key-down of Enter or Escape gets DefaultKeyResponse's result; never handled.
    LRESULT FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // None: only the builder's own kinds are made.
    ControlPtr CreateCustomControl(const std::wstring& elementName) override;

protected:
    UINT ClassStyle() const override { return CS_DBLCLKS; }
    LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Leaves the paint manager's filters and receivers and makes it forget the root; the
    // object and the tree stay.
    void OnNativeDestroyed(HWND window) override;
    const NotifyMap* MessageMap() const override;

    // Called once the skin is attached.
    virtual void OnSkinReady() {}
    // The system buttons by the sender's name.
    virtual void HandleClick(NotifyMsg& msg);
    // The folder (below the module's) skin files are read from when none is set yet.
    virtual std::wstring SkinFolder() const = 0;
    // The skin file (a resource number for SkinResourceKind::Resource; skin text works too).
    virtual std::wstring SkinFile() const = 0;
    // Escape posts the close message with 1 and gives 1; other keys give 0.
    virtual LRESULT DefaultKeyResponse(WPARAM key);
    virtual SkinResourceKind ResourceKind() const { return SkinResourceKind::File; }
    virtual std::wstring SkinZipFileName() const { return L""; }
    virtual std::wstring SkinResourceId() const { return L""; }

    // Message handlers: `handled` comes in true; clearing it passes the message on (to
    // HandleOtherMessage, the paint manager and the previous procedure, in that order).
    virtual LRESULT HandleClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleNcActivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleNcPaint(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleMouseHover(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleChar(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleCreate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleSetFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleMouseMove(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // The window's current style without the caption bits.
    virtual DWORD FramelessStyle() const;

private:
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void MakeFrameless();
    bool UseSkinArchive();
    ControlPtr BuildSkin();
    LRESULT HitTestSizeBox(POINT point, const RECT& client) const;
    bool InCaption(POINT point, const RECT& client) const;
    void SwapMaximizeButtons(bool wasMaximized);

    CUIManager m_manager;
};

}  // namespace SkinUI
