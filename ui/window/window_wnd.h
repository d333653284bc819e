// CWindowWnd: one native window and the object behind it. It registers the window class (or a
// superclass of an existing one), creates the window with a back pointer to the object, routes
// every native message to the virtual ProcessMessage and tells the object when the native
// window is gone. It can also take over an existing native window (HookWindow).
//
// Ownership: the object does not own its native window's lifetime beyond its own: destroying
// the object detaches it (later messages go to the previous procedure), it does not destroy
// the window. The native window never deletes its object; a derived class may do so in
// OnNativeDestroyed. User interface thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace SkinUI {

class CWindowWnd {
public:
    CWindowWnd() = default;
    // Detaches from a native window that is still alive (see above).
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    // The native window; null before creation and after its destruction.
    HWND NativeHandle() const { return m_window; }

    // Registers the class (an existing class counts as registered) and creates the window with
    // this object as its creation parameter. Returns the handle, or null when the class cannot
    // be registered or the window not created. The rectangle form passes the rectangle's
    // position and size; the short form passes zero position and size.
    HWND CreateNative(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                      int width, int height, HMENU menu = nullptr);
    HWND CreateNative(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle,
                      const RECT& rect, HMENU menu = nullptr);
    HWND CreateNative(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle);

    // Shows (normally, or without activation unless `takeFocus`) or hides a live window.
    void ShowNative(bool show = true, bool takeFocus = true);
    // Shows the window, disables its owner and runs a message loop while the window lives.
    // Returns the first parameter of the last close message posted to the window (PostClose);
    // a quit message ends the loop early and is posted again for the outer loop.
    UINT RunModal();
    // Posts the close message with `result` as first parameter, if the window is alive.
    void PostClose(UINT result = IDOK);
    // Centres the window on its owner, or on the work area of the nearest monitor when it has
    // no owner or the owner is minimised, kept inside the work area. Only the position changes.
    void CenterOnOwner();
    // Loads icon resource `resourceId` of the module instance in the system's large and small
    // icon sizes (each rounded up to a multiple of 16) and gives them to the window, which must
    // exist. The icons live until the object dies or the next call.
    void AttachIcon(UINT resourceId);
    // Resizes the window so that its client area gets `width` x `height` (-1 keeps a value),
    // for its current style and menu; position, z-order and activation stay.
    void ResizeClientArea(int width, int height);

    // Routes the messages of the existing window `window` through this object (its previous
    // procedure handles what ProcessMessage passes on). False when this object already has a
    // window or `window` is not one.
    bool HookWindow(HWND window);
    // Gives a hooked window its previous procedure back and forgets it.
    void UnhookWindow();

    LRESULT SendToSelf(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostToSelf(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    // The class the window is created with (required).
    virtual const wchar_t* WindowClassName() const = 0;
    // A class to superclass: its procedure handles what ProcessMessage passes on. Null: none.
    virtual const wchar_t* SuperClassName() const { return nullptr; }
    virtual UINT ClassStyle() const { return 0; }
    // Every message but the last (non-client destroy); passes it to the previous procedure.
    virtual LRESULT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The native window `window` is gone; the object no longer has one.
    virtual void OnNativeDestroyed(HWND window);

    // The procedure that handled the window's messages before ours (the default procedure for
    // a class of our own).
    LRESULT CallPreviousProcedure(UINT message, WPARAM wParam, LPARAM lParam);
    // Lets go of the native window as the destructor does; for a derived destructor whose
    // members the window's messages would reach while they are destroyed.
    void ReleaseNativeWindow() { Detach(); }

private:
    struct IconDestroyer {
        void operator()(HICON icon) const { DestroyIcon(icon); }
    };
    using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    static CWindowWnd* AttachAtCreation(HWND window, LPARAM createStruct);
    bool RegisterWindowClass();
    bool RegisterSuperclass(HINSTANCE instance);
    LRESULT DetachAtLastMessage(WPARAM wParam, LPARAM lParam);
    void Detach();

    HWND m_window = nullptr;
    WNDPROC m_previousProcedure = DefWindowProcW;
    bool m_subclassed = false;  // true while an existing window is hooked
    OwnedIcon m_bigIcon;
    OwnedIcon m_smallIcon;
};

}  // namespace SkinUI
