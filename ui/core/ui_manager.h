// CUIManager: the paint manager of one skinned window. It is the one place where the
// window's native messages become control events: it tracks the hot, pushed and focused
// controls, runs timers for controls, lays out and paints the control tree (double-buffered,
// or into a per-pixel-alpha layered window), shows tooltips and delivers notifications to the
// window's receivers at once or through a queue drained by the private message 0x8001. It
// keeps the window's look-up tables (controls by name, option groups, fonts, images, default
// attribute lists) over the process-wide ones, and is the render context its controls draw
// with.
//
// Ownership: the manager owns its root control (and so the tree). Everything here runs on the
// user interface thread; other threads may only post messages to the window.
#pragma once

#include "ui/core/control_ui.h"
#include "ui/core/ui_events.h"
#include "ui/render/render_context.h"

#include "ui/render/gdi_handles.h"
#include "ui/render/image_descriptor.h"

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI {

// The private message that drains the queued notifications and the delayed deletions.
constexpr UINT WM_SKIN_ASYNC_NOTIFY = 0x8001;
// The native timer id that repaints a layered window.
constexpr UINT_PTR LayeredRepaintTimer = 0x2000;
// A child window's WM_NOTIFY, WM_COMMAND and colour requests come back to it (reflection) as
// the message number plus this offset, so a hosted native control can answer them itself.
constexpr UINT ReflectedMessageOffset = 0x2000;

// What a plug-in library exports as "CreateControl": a new control for an element name the
// builder does not know, or null. The caller owns the result.
using PluginControlFactory = CControlUI* (*)(const wchar_t* elementName);

class CUIManager final : public IRenderContext {
public:
    CUIManager();
    ~CUIManager();
    CUIManager(const CUIManager&) = delete;
    CUIManager& operator=(const CUIManager&) = delete;

    // --- set-up and tree -------------------------------------------------------------------
    void AttachWindow(HWND window, const std::wstring& name);
    HWND PaintWindow() const;
    const std::wstring& Name() const;
    // Takes the tree; the old root goes to delayed deletion. Clears focus, hot, pushed.
    bool AttachRoot(ControlPtr root);
    CControlUI* Root() const;
    // Sets the manager of `control` and its subtree and lists their names (first name wins).
    void AdoptControls(CControlUI* control, CControlUI* parent = nullptr);
    // Drops every reference to `control`: hot, pushed, focused, key-down, tooltip control,
    // capture, timers, name, post-paint list, leave watchers, native child windows and the
    // queued notifications it sent. Controls call it from their destructor.
    void ForgetControl(CControlUI* control);
    // Keeps the name map in step when a control is renamed.
    void RenameControl(CControlUI* control, const std::wstring& oldName,
                       const std::wstring& newName);
    CControlUI* ControlByName(const std::wstring& name) const;
    CControlUI* ControlAtPoint(POINT point) const;

    bool JoinOptionGroup(const std::wstring& group, CControlUI* option);
    void LeaveOptionGroup(const std::wstring& group, CControlUI* option);
    const std::vector<CControlUI*>* OptionGroup(const std::wstring& group) const;
    // The focused control of the last key-down, the control under the mouse, the control the
    // left or right button went down on (null when none).
    CControlUI* KeyDownControl() const { return m_keyDown; }
    CControlUI* HotControl() const { return m_hot; }
    CControlUI* PushedControl() const { return m_pushed; }

    bool AddReceiver(INotifyUI* receiver);
    bool RemoveReceiver(INotifyUI* receiver);
    bool AddPreFilter(IMessageFilterUI* filter);
    bool RemovePreFilter(IMessageFilterUI* filter);
    bool AddFilter(IMessageFilterUI* filter);
    bool RemoveFilter(IMessageFilterUI* filter);
    bool AddAfterPaint(CControlUI* control);
    // Native child windows (edit boxes) of controls: printed into a layered frame, and their
    // control takes the focus when the native focus goes to them. Removing one that is not
    // listed changes nothing.
    bool AddChildWindow(CControlUI* control, HWND window);
    bool RemoveChildWindow(HWND window);
    void DeferDelete(ControlPtr control);
    bool AddLeaveWatcher(CControlUI* control);
    bool RemoveLeaveWatcher(CControlUI* control);
    bool AddAcceleratorTranslator(ITranslateAccelerator* translator);
    void SetUsesVirtualWindows(bool uses);

    // --- window attributes -----------------------------------------------------------------
    void ApplyWindowAttribute(const std::wstring& name, const std::wstring& value);
    void ApplyWindowAttributeList(const std::wstring& list);
    const std::wstring* FindWindowCustomAttribute(const std::wstring& name) const;
    SIZE InitialSize() const;
    RECT SizeBox() const;
    RECT CaptionRect() const;
    SIZE RoundCorner() const;
    SIZE MinInfo() const;
    SIZE MaxInfo() const;
    bool IsLayered() const;
    void SetLayered(bool layered);
    void SetWindowOpacity(BYTE opacity);
    BYTE WindowOpacity() const { return m_opacity; }
    bool ShowsDirty() const { return m_showDirty; }
    bool NoActivate() const { return m_noActivate; }
    // Borders of a layered window that its content leaves free (a drawn shadow, say).
    void SetLayeredInset(RECT inset);
    // The offscreen bitmap of the last paint (empty before the first one): what the window
    // shows, or, layered, the pixels handed to the system with their alpha.
    const DibSection& OffscreenPixels() const;

    // --- resources of this window over the process-wide ones --------------------------------
    FontTable& Fonts() override;
    ImageCache& Images() override;
    const DefaultColors& Colors() const override;
    const LanguageStrings& Strings() const override;
    POINT MousePosition() const override;
    void SetDefaultAttributes(const std::wstring& controlKind, const std::wstring& list,
                              bool shared = false);
    const std::wstring* DefaultAttributes(const std::wstring& controlKind) const;
    void ClearDefaultAttributes(bool shared = false);
    static void SetLanguageString(int number, const std::wstring& text);
    // Adds a plug-in library's "CreateControl" to the factories the builder asks.
    static bool LoadPlugin(const std::wstring& library);
    // The factories of the plug-ins loaded so far, in loading order.
    static const std::vector<PluginControlFactory>& PluginFactories();
    // Every live manager, in the order their windows were attached.
    static const std::vector<CUIManager*>& Managers();

    // --- events, notifications, timers and focus --------------------------------------------
    // User interface thread only, queued ones too: the queue is not locked. Another thread
    // hands a change over by posting a message of its own to the window.
    void SendNotification(NotifyMsg& msg, bool async = false, bool allowRepeat = false);
    void SendNotification(CControlUI* control, const std::wstring& type, WPARAM wParam = 0,
                          LPARAM lParam = 0, bool async = false, bool allowRepeat = false);
    bool StartTimer(CControlUI* control, UINT id, UINT elapse);
    bool StopTimer(CControlUI* control, UINT id);
    void StopTimers(CControlUI* control);
    void DropAllTimers();
    CControlUI* Focus() const;
    void FocusControl(CControlUI* control, bool takeNativeFocus = true);
    void FocusFirstTabStop(CControlUI* control = nullptr);
    bool MoveTabFocus(bool forward);
    void CaptureMouse();
    void ReleaseMouse();
    bool IsMouseCaptured() const;
    void InvalidateArea(RECT rect);
    void InvalidateAll();
    void RequestLayout();

    // --- messages ---------------------------------------------------------------------------
    bool PreTranslate(const MSG& msg, LRESULT& result);
    bool HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Offers `msg` to the managers of its window and that window's ancestors; true when one
    // of them took it (it is then not dispatched).
    static bool TranslateForManagers(MSG& msg);
    // Runs until WM_QUIT and returns its exit code.
    static int RunMessageLoop();

private:
    struct TimerEntry {
        CControlUI* control;
        UINT id;  // the control's own id
        HWND window;
        UINT_PTR nativeId;
        bool killed;
    };
    struct ChildWindow {
        CControlUI* control;
        HWND window;
    };
    // The offscreen bitmap selected into its memory DC for as long as both live.
    struct Surface;
    struct SurfaceDeleter {
        void operator()(Surface* surface) const;
    };
    using SurfacePtr = std::unique_ptr<Surface, SurfaceDeleter>;
    // A window this manager created and destroys (the tooltip).
    struct WindowDestroyer {
        void operator()(HWND window) const;
    };
    using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

    // ui_manager_process.cpp
    bool OfferMessage(MSG& msg, bool& translated);
    // ui_manager.cpp
    void ClearTransientControls();
    void RunDeferredDeletions();
    void ListNames(CControlUI* control);
    bool Owns(const CControlUI* control) const;
    ControlEvent MakeEvent(EventKind kind, CControlUI* target, WPARAM wParam = 0,
                           LPARAM lParam = 0) const;
    void Dispatch(CControlUI* target, EventKind kind, WPARAM wParam = 0, LPARAM lParam = 0);
    // ui_manager_attributes.cpp
    static BYTE ClampByte(int value);
    void ApplyInitialSize(SIZE size);
    void ApplyLayeredOpacity(BYTE opacity);
    void ApplyLayeredImage(const std::wstring& descriptor);
    // ui_manager_notify.cpp
    void Deliver(NotifyMsg& msg);
    void DrainQueuedNotifications();
    // ui_manager_timers.cpp
    bool NativeIdHeld(UINT_PTR nativeId) const;
    UINT_PTR NextNativeTimerId();
    void OnTimer(UINT_PTR nativeId);
    // ui_manager_focus.cpp
    std::vector<CControlUI*> TabStops() const;
    bool OnTabKey();
    bool OnShortcut(wchar_t ch);
    void ClearFocus(CControlUI* next);
    // ui_manager_input.cpp
    bool HandleLayeredFrameMessage(UINT message, WPARAM wParam, LRESULT& result);
    bool HandleInputMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleWindowStateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    void OnKey(UINT message, wchar_t key);
    void OnSize();
    void OnNativeKillFocus(HWND newFocus);
    void OnClose();
    bool OnSetCursor(UINT hitTest);
    void OnMouseMove(POINT point);
    void TrackMouse();
    void OnMouseLeave();
    void MoveHot(CControlUI* next);
    void OnButtonDown(POINT point, bool doubleClick);
    void OnButtonUp(POINT point);
    void OnRightButtonDown(POINT point);
    void OnContextMenu(POINT point);
    void OnWheel(POINT screenPoint, short delta);
    void OnHover(POINT point);
    void ShowToolTip(CControlUI* control, POINT point);
    void HideToolTip();
    // ui_manager_paint.cpp
    bool OnPaint();
    RECT AreaToPaint();
    bool UpdateLayout();
    void PlaceRoot();
    void PaintOffscreen(const RECT& area);
    void PaintNativeChildren(const RECT& area);
    void ComposeLayeredImage(const RECT& area);
    void PresentLayered();
    void PresentArea(const RECT& area);
    void OnPrintClient(HDC dc, LPARAM flags);
    void OnLayeredTimer();
    void ApplyLayeredStyle();
    RECT ClientRect() const;
    RECT ContentRect() const;
    Surface& OffscreenSurface();

    std::wstring m_name;
    HWND m_window = nullptr;
    HDC m_windowDC = nullptr;  // GetDC of m_window, released by the destructor
    SurfacePtr m_offscreen;
    SurfacePtr m_background;  // the layered image drawn at the window's size
    int m_lastToolTipWidth = -1;
    OwnedWindow m_toolTip;
    TOOLINFOW m_toolInfo = {};
    std::wstring m_toolTipText;  // what m_toolInfo points at
    UINT m_hoverTime = 1000;
    bool m_noActivate = false;
    bool m_showDirty = false;
    ControlPtr m_root;
    CControlUI* m_focus = nullptr;
    CControlUI* m_hot = nullptr;
    CControlUI* m_pushed = nullptr;
    CControlUI* m_keyDown = nullptr;
    CControlUI* m_lastToolTip = nullptr;
    POINT m_lastMouse = {-1, -1};
    SIZE m_minInfo = {};
    SIZE m_maxInfo = {};
    SIZE m_initialSize = {};
    RECT m_sizeBox = {};
    SIZE m_roundCorner = {};
    RECT m_caption = {};
    UINT m_timerCounter = 4096;
    bool m_firstLayout = true;
    bool m_updateNeeded = false;
    bool m_focusNeeded = false;
    BYTE m_opacity = 255;
    bool m_layered = false;
    RECT m_layeredInset = {};
    bool m_layeredUpdate = false;
    ImageDrawInfo m_layeredImage;
    RECT m_layeredDirty = {};
    bool m_mouseTracking = false;
    bool m_mouseCaptured = false;
    bool m_usesVirtualWindows = false;
    bool m_asyncPosted = false;
    std::vector<INotifyUI*> m_receivers;
    std::vector<TimerEntry> m_timers;
    std::vector<IMessageFilterUI*> m_preFilters;
    std::vector<IMessageFilterUI*> m_filters;
    std::vector<CControlUI*> m_afterPaint;
    std::vector<ChildWindow> m_childWindows;
    std::vector<ControlPtr> m_deferredDeletes;
    std::deque<NotifyMsg> m_queuedNotifications;
    std::vector<CControlUI*> m_leaveWatchers;
    std::vector<ITranslateAccelerator*> m_translators;
    std::map<std::wstring, CControlUI*> m_names;
    std::map<std::wstring, std::wstring> m_customAttributes;
    std::map<std::wstring, std::vector<CControlUI*>> m_optionGroups;
    DefaultColors m_colors;
    FontTable m_fonts;
    ImageCache m_images;
    std::map<std::wstring, std::wstring> m_defaultAttributes;
};

}  // namespace SkinUI
