// CControlUI: the base of every element of a skin window. A rectangle inside a native window
// that owns no window handle, knows its paint manager and its parent, takes attributes by
// name from the skin builder, reacts to the events the paint manager routes to it and paints
// itself in a fixed order. Leaf controls and containers derive from it.
//
// Ownership: a control is owned by its parent container, the root by its paint manager, an
// overlay by the control it covers; every owner holds a ControlPtr, whose deleter calls
// Destroy. Everything here runs on the user interface thread: a setter called from a worker
// (progress, pictures, visibility) races with layout and painting, so workers post to the
// window and let its thread change the controls.
#pragma once

#include "ui/core/listener_list.h"
#include "ui/core/ui_events.h"
#include "ui/render/image_descriptor.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace SkinUI {

class CUIManager;
class CControlUI;

struct ControlDestroyer {
    void operator()(CControlUI* control) const;
};
// The owning pointer of a control: releasing it destroys the control (and its subtree).
using ControlPtr = std::unique_ptr<CControlUI, ControlDestroyer>;

// Makes a control of type T owned by a ControlPtr.
template <typename T, typename... Args>
ControlPtr MakeControl(Args&&... args)
{
    return ControlPtr(new T(std::forward<Args>(args)...));
}

// SearchTree flags.
constexpr UINT SearchVisible = 0x00000001;
constexpr UINT SearchEnabled = 0x00000002;
constexpr UINT SearchHitTest = 0x00000004;  // data is a POINT* in client coordinates
constexpr UINT SearchUpdateTest = 0x00000008;
constexpr UINT SearchTopFirst = 0x00000010;  // containers: children last to first
constexpr UINT SearchMeFirst = 0x80000000;

// GetFlags bits.
constexpr UINT ControlFlagTabStop = 0x00000001;
constexpr UINT ControlFlagSetsCursor = 0x00000002;

// A fraction of a length, truncated toward zero and held within a limit far beyond any
// screen: where a floating control's anchors put an edge.
LONG AnchorPart(double fraction, LONG length);

// The predicate of SearchTree: returns the control itself (or another one) to stop the
// search with that answer, or null to go on.
using SearchPredicate = CControlUI* (*)(CControlUI* control, void* data);

// Four fractions of the parent's size that a floating control's edges follow.
struct FloatAnchors {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

class CControlUI {
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // Removes the control from the manager's mouse-leave watchers and deletes it.
    virtual void Destroy();

    virtual std::wstring GetName() const;
    // A new name is stored and the manager's name map told.
    virtual void SetName(const std::wstring& name);
    virtual std::wstring GetClassName() const;
    // Itself when `name` is this class's name (subclasses test theirs, then ask the base).
    virtual CControlUI* QueryInterface(const std::wstring& name);
    virtual UINT GetFlags() const;
    // The native window a control hosts (an edit box, say), or null.
    virtual HWND NativeWindow() const;
    // What a shortcut key or a click does to the control; true when it is visible and enabled.
    virtual bool Activate();

    virtual CUIManager* GetWindowManager() const;
    // Stores manager and parent (also for the overlay, with this control as its parent) and,
    // with `init` and a parent, initialises the control.
    virtual void SetWindowManager(CUIManager* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* GetParent() const;
    virtual CControlUI* GetOverlay() const;
    // Replaces (and destroys) the overlay; the same control again changes nothing. A control
    // without a manager adopts nothing yet: adoption happens when it joins a manager.
    virtual void SetOverlay(ControlPtr overlay);

    virtual std::wstring GetText() const;
    virtual void SetText(const std::wstring& text);

    virtual RECT GetRect() const;
    virtual RECT GetPosInParent() const;
    virtual RECT GetContentRect() const;
    virtual void Place(RECT rect, bool invalidate = true);
    virtual void Offset(int dx, int dy, bool invalidate = true);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT padding);
    virtual SIZE GetFixedOffset() const;
    virtual void SetFixedOffset(int x, int y);
    virtual FloatAnchors GetFloatAnchors() const;
    virtual void SetFloatAnchors(const FloatAnchors& anchors);
    virtual int GetRequestedWidth() const;
    virtual void SetRequestedWidth(int cx);
    virtual int GetRequestedHeight() const;
    virtual void SetRequestedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);

    virtual std::wstring GetToolTip() const;
    // Every "<n>" becomes a line break.
    virtual void SetToolTip(const std::wstring& text);
    virtual void SetToolTipWidth(int width);
    virtual int GetToolTipWidth() const;
    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);
    virtual bool UsesContextMenu() const;
    virtual void SetUsesContextMenu(bool uses);
    virtual std::wstring GetUserData() const;
    virtual void SetUserData(const std::wstring& text);
    virtual std::uintptr_t GetTag() const;
    virtual void SetTag(std::uintptr_t tag);

    // Own visibility and the visibility the parent imposes, both.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    virtual void SetInnerVisible(bool visible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enabled = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enabled = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool floating = true);

    virtual CControlUI* SearchTree(SearchPredicate predicate, void* data, UINT flags);

    // InitializeSelf, then the init listeners.
    virtual void Initialize();
    virtual void InitializeSelf();
    // The event listeners, then HandleEvent unless one of them returned false.
    virtual void DispatchEvent(ControlEvent& event);
    virtual void HandleEvent(ControlEvent& event);

    virtual std::wstring GetAttribute(const std::wstring& name) const;
    // One skin attribute; names the control does not know become custom attributes.
    virtual void ApplyAttribute(const std::wstring& name, const std::wstring& value);
    virtual std::wstring GetAttributeList() const;
    // name="value" name="value"...; stops at the first pair not followed by exactly one space.
    virtual void ApplyAttributeList(const std::wstring& list);

    virtual SIZE PreferredSize(SIZE available);

    // Paints the control (and its overlay) into `dc`, limited to `paint`. False stops the
    // whole paint: `stop` was reached.
    virtual bool PaintTo(HDC dc, const RECT& paint, CControlUI* stop = nullptr);
    virtual bool DrawContent(HDC dc, const RECT& paint, CControlUI* stop);
    virtual void DrawBkColor(HDC dc);
    virtual void DrawBkImage(HDC dc);
    virtual void DrawStateImage(HDC dc);
    virtual void DrawCaption(HDC dc);
    virtual void DrawBorder(HDC dc);
    // Called by the paint manager after the whole paint for controls listed for it.
    virtual void DrawAfter(HDC dc, const RECT& paint);

    // Asks the manager to repaint the item rectangle, clipped by every ancestor.
    void Invalidate();
    bool NeedsUpdate() const { return m_updateNeeded; }
    void MarkNeedUpdate();
    void MarkParentNeedUpdate();
    DWORD GetAdjustedColor(DWORD argb) const;

    void SetBkColor(DWORD argb);
    void SetBkColor2(DWORD argb);
    void SetBkColor3(DWORD argb);
    void SetBorderColor(DWORD argb);
    void SetFocusBorderColor(DWORD argb);
    void SetBorderSize(int size);
    void SetBorderSize(RECT sizes);
    void SetBorderStyle(int penStyle);
    void SetBorderRound(SIZE round);
    void SetColorHSL(bool byWindowHsl);
    void SetBkImage(const std::wstring& descriptor);
    std::wstring GetVirtualWindow() const;
    void SetVirtualWindow(const std::wstring& name);

    // Custom attributes: a pair is kept only with a non-empty name and value; the first value
    // of a name stays. Find gives null for a name not stored.
    void AddCustomAttribute(const std::wstring& name, const std::wstring& value);
    const std::wstring* FindCustomAttribute(const std::wstring& name) const;
    void RemoveCustomAttribute(const std::wstring& name);
    void RemoveAllCustomAttributes();

    ListenerList OnInit;
    ListenerList OnDestroy;
    ListenerList OnSize;
    ListenerList OnEvent;
    ListenerList OnNotify;
    ListenerList OnPaint;
    ListenerList OnPostPaint;

protected:
    // Controls are destroyed through Destroy (a ControlPtr does that).
    virtual ~CControlUI();

    // What subclasses draw with: the manager as render context (null without a manager) and
    // the part of the item rectangle the current paint covers.
    IRenderContext* RenderContext() const;
    const RECT& PaintRect() const { return m_paintRect; }
    ImageDrawInfo& ForeImage() { return m_foreImage; }
    // The focused flag alone, for controls whose focus changes nothing they draw.
    void SetFocusedFlag(bool focused) { m_focused = focused; }

private:
    // Invalidates `area` clipped by every ancestor; false when the area vanished or an
    // ancestor is hidden (callers then end their operation).
    bool InvalidateThroughAncestors(RECT area);
    // The notification `type` with the event's parameters, delivered at once.
    void SendSynchronously(const wchar_t* type, const ControlEvent& event);
    void PlaceFloating(const RECT& rect);
    void PlaceOverlay();
    void FireSizeListeners();
    void DrawBorderSides(HDC dc, DWORD color);

    CUIManager* m_manager = nullptr;
    CControlUI* m_parent = nullptr;
    ControlPtr m_overlay;
    std::wstring m_virtualWindow;
    std::wstring m_name;
    bool m_updateNeeded = true;
    bool m_usesContextMenu = false;
    RECT m_item = {0, 0, 0, 0};
    RECT m_padding = {0, 0, 0, 0};
    SIZE m_fixedOffset = {0, 0};
    SIZE m_fixedSize = {0, 0};
    SIZE m_minSize = {0, 0};
    SIZE m_maxSize = {9999, 9999};
    bool m_visible = true;
    bool m_innerVisible = true;
    bool m_enabled = true;
    bool m_mouseEnabled = true;
    bool m_keyboardEnabled = true;
    bool m_focused = false;
    bool m_float = false;
    FloatAnchors m_anchors;
    bool m_firingSize = false;
    std::wstring m_text;
    std::wstring m_toolTip;
    wchar_t m_shortcut = 0;
    std::wstring m_userData;
    std::uintptr_t m_tag = 0;
    DWORD m_bkColor = 0;
    DWORD m_bkColor2 = 0;
    DWORD m_bkColor3 = 0;
    ImageDrawInfo m_bkImage;
    ImageDrawInfo m_foreImage;  // for subclasses; the base never sets it
    DWORD m_borderColor = 0;
    DWORD m_focusBorderColor = 0;
    bool m_colorByWindowHsl = false;
    int m_borderStyle = PS_SOLID;
    int m_toolTipWidth = 300;
    SIZE m_borderRound = {0, 0};
    RECT m_paintRect = {0, 0, 0, 0};
    RECT m_borderSizes = {0, 0, 0, 0};
    std::map<std::wstring, std::wstring> m_customAttributes;
};

}  // namespace SkinUI
