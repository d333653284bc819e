// CWndShadow; see window_shadow.h.
//
// The parent's messages reach the shadow through one window procedure installed on every
// parent, which finds its shadow in a process-wide list. The list also keeps each parent's
// previous procedure: when another subclass was installed on top of ours, ours cannot be taken
// out of the chain, so it must go on forwarding after the shadow object is gone.
#include "ui/window/window_shadow.h"

#include "ui/core/attribute_values.h"
#include "ui/render/image_blit.h"
#include "ui/render/image_decoder.h"
#include "ui/render/layered_window_functions.h"
#include "ui/window/region_shape.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace SkinUI {
namespace {

constexpr wchar_t kShadowClassName[] = L"SkinShadowWnd";

struct SubclassedParent {
    HWND parent;
    WNDPROC previous;    // the parent's procedure before ours; every message goes on to it
    CWndShadow* shadow;  // null once the shadow is destroyed while ours stays in the chain
};

struct ShadowProcess {
    HINSTANCE instance = nullptr;  // owns the shadow class once registered
    bool registered = false;
    LayeredWindowUpdater update = SystemUpdateLayeredWindow();
    std::vector<SubclassedParent> parents;
};

ShadowProcess& Process()
{
    // Never destroyed: a parent's messages may still arrive through our procedure while the
    // process ends (from another thread, or after static clean-up has begun).
    static ShadowProcess* process = new ShadowProcess;
    return *process;
}

SubclassedParent* FindParent(HWND parent)
{
    auto& parents = Process().parents;
    auto found = std::find_if(parents.begin(), parents.end(),
                              [parent](const SubclassedParent& p) { return p.parent == parent; });
    return found == parents.end() ? nullptr : &*found;
}

void Unlist(HWND parent)
{
    auto& parents = Process().parents;
    parents.erase(
        std::remove_if(parents.begin(), parents.end(),
                       [parent](const SubclassedParent& p) { return p.parent == parent; }),
        parents.end());
}

// The shadow window never takes the focus from its parent.
LRESULT CALLBACK ShadowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcW(window, message, wParam, lParam);
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// A zeroed bitmap for the shadow; empty when a dimension is 0 or less, or when it would pass
// 2 GiB (its byte count would overflow 32-bit size arithmetic).
DibSection CreateShadowBitmap(int width, int height)
{
    if (width > 0 && height > 0 && uint64_t(width) * uint64_t(height) * 4 > INT32_MAX) return {};
    return CreateDibSection32(width, height);
}

DibSection RenderComputedShadow(HWND parent, const ShadowLook& look)
{
    const WindowShape shape = ShapeOfWindow(parent);
    const ShadowBitmapSize size = ComputedShadowSize(shape.width(), shape.height(), look.size);
    DibSection bitmap = CreateShadowBitmap(size.width, size.height);
    if (bitmap) ComputeShadow(shape, look, bitmap.pixels);
    return bitmap;
}

// Hands `bitmap` to the layered shadow window, which moves to `place` and takes its size.
void PushBitmap(HWND window, const DibSection& bitmap, POINT place)
{
    const LayeredWindowUpdater update = Process().update;
    if (!update) return;
    MemoryDC source;
    SelectGuard selected(source.get(), bitmap.bitmap.get());
    WindowDC screen;
    SIZE size = {bitmap.width, bitmap.height};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // A refused update leaves the previous shadow; the next move or size tries again.
    update(window, screen.get(), &place, &size, source.get(), &origin, 0, &blend, ULW_ALPHA);
}

// Like every skin number, so that sizes and places computed from them cannot overflow.
RECT ClampedToSkinLimit(const RECT& rect)
{
    auto clamp = [](LONG value) {
        return std::clamp<LONG>(value, -kSkinNumberLimit, kSkinNumberLimit);
    };
    return {clamp(rect.left), clamp(rect.top), clamp(rect.right), clamp(rect.bottom)};
}

}  // namespace

LayeredWindowUpdater SetLayeredWindowUpdater(LayeredWindowUpdater updater)
{
    return std::exchange(Process().update, updater);
}

bool CWndShadow::RegisterShadowClass(HINSTANCE instance)
{
    ShadowProcess& process = Process();
    if (process.registered || !process.update) return false;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = ShadowWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kShadowClassName;
    if (!RegisterClassExW(&windowClass)) return false;
    process.instance = instance;
    process.registered = true;
    return true;
}

CWndShadow::~CWndShadow()
{
    if (SubclassedParent* entry = m_parent ? FindParent(m_parent) : nullptr) {
        const auto ours = reinterpret_cast<LONG_PTR>(&CWndShadow::ParentProc);
        if (GetWindowLongPtrW(m_parent, GWLP_WNDPROC) == ours) {
            SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry->previous));
            Unlist(m_parent);
        } else {
            entry->shadow = nullptr;  // a later subclass still calls ours: keep forwarding
        }
    }
    if (m_window && IsWindow(m_window)) PostMessageW(m_window, WM_CLOSE, 0, 0);
}

bool CWndShadow::Attach(HWND parent)
{
    ShadowProcess& process = Process();
    if (!process.registered || m_parent || m_window || !IsWindow(parent) || FindParent(parent))
        return false;
    m_window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClassName, nullptr,
                               WS_POPUPWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, parent, nullptr,
                               process.instance, nullptr);
    if (!m_window) return false;
    const auto previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWndShadow::ParentProc)));
    if (!previous) {  // not ours to subclass (another process's window)
        DestroyWindow(std::exchange(m_window, nullptr));
        return false;
    }
    m_parent = parent;
    process.parents.push_back({parent, previous, this});

    const LONG_PTR style = GetWindowLongPtrW(parent, GWL_STYLE);
    if (!(style & WS_VISIBLE)) {
        m_status = kEnabled;
    } else if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        m_status = kEnabled | kParentVisible;
    } else {
        m_status = kEnabled | kVisible | kParentVisible;
        ShowWindow(m_window, SW_SHOWNOACTIVATE);
        Update();
    }
    return true;
}

bool CWndShadow::SetDarkness(int darkness)
{
    if (darkness < 0 || darkness > 255) return false;
    m_look.darkness = static_cast<uint8_t>(darkness);
    UpdateIfVisible();
    return true;
}

bool CWndShadow::SetSharpness(int sharpness)
{
    if (sharpness < 0 || sharpness > 20) return false;
    m_look.sharpness = static_cast<uint8_t>(sharpness);
    UpdateIfVisible();
    return true;
}

void CWndShadow::SetSize(int8_t size)
{
    m_look.size = size;
    UpdateIfVisible();
}

bool CWndShadow::SetPosition(int x, int y)
{
    if (x < -20 || x > 20 || y < -20 || y > 20) return false;
    m_look.xOffset = static_cast<int8_t>(x);
    m_look.yOffset = static_cast<int8_t>(y);
    UpdateIfVisible();
    return true;
}

void CWndShadow::SetColor(COLORREF color)
{
    m_look.color = color & 0x00FFFFFF;
    UpdateIfVisible();
}

bool CWndShadow::SetImage(const std::wstring& name, const RECT& padding, const RECT& corners)
{
    std::unique_ptr<ImageInfo> image = DecodeImage(name, nullptr, 0);
    if (!image) return false;
    m_image = std::move(image);
    m_imagePadding = ClampedToSkinLimit(padding);
    m_imageCorners = ClampedToSkinLimit(corners);
    UpdateIfVisible();
    return true;
}

LRESULT CALLBACK CWndShadow::ParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    const SubclassedParent* entry = FindParent(parent);
    // Listed for as long as this procedure can be called for the parent.
    if (!entry) return DefWindowProcW(parent, message, wParam, lParam);
    const WNDPROC previous = entry->previous;
    if (CWndShadow* shadow = entry->shadow) {
        shadow->OnParentMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) shadow->ForgetParent();
    }
    if (message == WM_NCDESTROY) Unlist(parent);  // the handle may name another window later
    return CallWindowProcW(previous, parent, message, wParam, lParam);
}

void CWndShadow::OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY: OnParentDestroy(); break;
    case WM_MOVE:
        if (m_status & kVisible) MoveToPlace();
        break;
    case WM_SIZE: OnParentSize(wParam, LOWORD(lParam), HIWORD(lParam)); break;
    case WM_PAINT:
        if (m_updatePending) Update();
        break;
    case WM_SHOWWINDOW: OnParentShow(wParam != FALSE); break;
    case WM_EXITSIZEMOVE: UpdateIfVisible(); break;
    default: break;
    }
}

void CWndShadow::OnParentDestroy()
{
    // The system may already have destroyed the owned shadow window.
    if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
    m_window = nullptr;
}

// Sizing while the parent grows is only marked: the parent's paint that follows pushes once.
void CWndShadow::OnParentSize(WPARAM kind, int width, int height)
{
    if (!(m_status & kEnabled)) return;
    if (kind == SIZE_MINIMIZED || kind == SIZE_MAXIMIZED) {
        Hide(kVisible);
    } else if (m_status & kParentVisible) {
        if (width > m_lastWidth || height > m_lastHeight)
            m_updatePending = true;
        else
            Update();
        if (!(m_status & kVisible)) Show();
    }
    m_lastWidth = width;
    m_lastHeight = height;
}

void CWndShadow::OnParentShow(bool shown)
{
    if (!shown) {
        Hide(kVisible | kParentVisible);
        return;
    }
    m_updatePending = true;
    Show();
    m_status = kEnabled | kVisible | kParentVisible;
}

void CWndShadow::ForgetParent()
{
    m_parent = nullptr;
    m_window = nullptr;
    m_status = 0;
    m_updatePending = false;
}

void CWndShadow::Show()
{
    ShowWindow(m_window, SW_SHOWNOACTIVATE);
    m_status |= kVisible;
}

void CWndShadow::Hide(unsigned clearedStatus)
{
    ShowWindow(m_window, SW_HIDE);
    m_status &= ~clearedStatus;
}

void CWndShadow::UpdateIfVisible()
{
    if (m_status & kVisible) Update();
}

void CWndShadow::Update()
{
    m_updatePending = false;
    const RECT parentRect = WindowRect(m_parent);
    const DibSection bitmap = m_image ? RenderImageShadow(parentRect.right - parentRect.left,
                                                          parentRect.bottom - parentRect.top)
                                      : RenderComputedShadow(m_parent, m_look);
    if (!bitmap) return;  // nothing to show (a dimension of 0 or less), or far too large
    MoveToPlace();
    PushBitmap(m_window, bitmap, Place(parentRect));
}

void CWndShadow::MoveToPlace()
{
    const POINT place = Place(WindowRect(m_parent));
    SetWindowPos(m_window, nullptr, place.x, place.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

POINT CWndShadow::Place(const RECT& parentRect) const
{
    if (m_image)
        return {parentRect.left - m_imagePadding.left, parentRect.top - m_imagePadding.top};
    return {parentRect.left + m_look.xOffset - m_look.size,
            parentRect.top + m_look.yOffset - m_look.size};
}

DibSection CWndShadow::RenderImageShadow(int parentWidth, int parentHeight) const
{
    const int width = parentWidth + m_imagePadding.left + m_imagePadding.right;
    const int height = parentHeight + m_imagePadding.top + m_imagePadding.bottom;
    DibSection bitmap = CreateShadowBitmap(width, height);
    if (!bitmap) return bitmap;
    MemoryDC dc;
    SelectGuard selected(dc.get(), bitmap.bitmap.get());
    BlitLayout layout;
    layout.source = {0, 0, m_image->width(), m_image->height()};
    layout.corner = m_imageCorners;
    layout.hasAlpha = true;
    layout.hole = true;
    const RECT whole = {0, 0, width, height};
    BlitImage(dc.get(), m_image->bitmap(), whole, whole, layout);
    return bitmap;
}

}  // namespace SkinUI
