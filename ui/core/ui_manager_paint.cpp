// Painting: layout before the paint, the control tree drawn into an offscreen bitmap and
// copied to the window, or, in layered mode, composed with per-pixel alpha (native child
// windows, the layered image) and handed to the system with UpdateLayeredWindow on a 10 ms
// timer; invalidation, the print path and the show-dirty outline.
#include "ui/core/ui_manager.h"

#include "ui/core/ui_manager_process.h"
#include "ui/render/dib_section.h"
#include "ui/render/layered_window_functions.h"

#include <algorithm>

namespace SkinUI {

struct CUIManager::Surface {
    Surface(int width, int height)
        : dib(CreateDibSection32(width, height)), select(dc.get(), dib.bitmap.get())
    {
    }
    MemoryDC dc;
    DibSection dib;
    SelectGuard select;  // last member: puts the DC's own bitmap back before both die
};

void CUIManager::SurfaceDeleter::operator()(Surface* surface) const
{
    delete surface;
}

namespace {

// BeginPaint and EndPaint around one paint.
class PaintScope {
public:
    explicit PaintScope(HWND window) : m_window(window) { BeginPaint(window, &m_paint); }
    ~PaintScope() { EndPaint(m_window, &m_paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return m_paint.hdc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint = {};
};

RECT Intersection(const RECT& a, const RECT& b)
{
    RECT out = {};
    IntersectRect(&out, &a, &b);
    return out;
}

void ClearPixels(DibSection& dib, const RECT& area)
{
    for (int y = std::max(0L, area.top); y < std::min<LONG>(dib.height, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(dib.width, area.right); ++x)
            dib.at(x, y) = 0;
}

}  // namespace

RECT CUIManager::ClientRect() const
{
    RECT rc = {};
    if (m_window != nullptr) GetClientRect(m_window, &rc);
    return rc;
}

RECT CUIManager::ContentRect() const
{
    RECT rc = ClientRect();
    if (m_layered) {
        rc.left += m_layeredInset.left;
        rc.top += m_layeredInset.top;
        rc.right -= m_layeredInset.right;
        rc.bottom -= m_layeredInset.bottom;
    }
    return rc;
}

void CUIManager::SetLayeredInset(RECT inset)
{
    m_layeredInset = inset;
    RequestLayout();
    if (m_root) m_root->MarkNeedUpdate();
}

const DibSection& CUIManager::OffscreenPixels() const
{
    static const DibSection none;
    return m_offscreen ? m_offscreen->dib : none;
}

CUIManager::Surface& CUIManager::OffscreenSurface()
{
    RECT client = ClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (!m_offscreen || m_offscreen->dib.width != width || m_offscreen->dib.height != height)
        m_offscreen.reset(new Surface(width, height));
    return *m_offscreen;
}

void CUIManager::InvalidateArea(RECT rect)
{
    rect.left = std::max(0L, rect.left);
    rect.top = std::max(0L, rect.top);
    rect.right = std::max(rect.left, rect.right);
    rect.bottom = std::max(rect.top, rect.bottom);
    if (m_layered) {
        UnionRect(&m_layeredDirty, &m_layeredDirty, &rect);
        return;
    }
    if (m_window != nullptr) InvalidateRect(m_window, &rect, FALSE);
}

void CUIManager::InvalidateAll()
{
    InvalidateArea(ClientRect());
}

void CUIManager::RequestLayout()
{
    m_updateNeeded = true;
}

void CUIManager::PlaceRoot()
{
    m_root->Place(ContentRect(), true);
}

// Places what needs it; false when the paint ends here (the first layered paint repaints
// once the layered image is ready).
bool CUIManager::UpdateLayout()
{
    if (m_updateNeeded) {
        m_updateNeeded = false;
        if (m_root->NeedsUpdate()) {
            m_offscreen.reset();
            m_background.reset();
            PlaceRoot();
        } else {
            std::vector<CControlUI*> flagged;
            auto collect = [](CControlUI* control, void* data) -> CControlUI* {
                if (control->NeedsUpdate())
                    static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
                return nullptr;
            };
            m_root->SearchTree(collect, &flagged, SearchVisible | SearchMeFirst);
            // A floating control is placed relative to its parent.
            for (CControlUI* control : flagged)
                control->Place(control->IsFloat() ? control->GetPosInParent() : control->GetRect(),
                               true);
        }
        if (m_firstLayout) {
            m_firstLayout = false;
            SendNotification(m_root.get(), L"windowinit", 0, 0, false, true);
            if (m_layered && m_layeredUpdate) {
                InvalidateAll();
                return false;
            }
        }
    } else if (m_layered && m_layeredUpdate) {
        if (m_offscreen) ClearPixels(m_offscreen->dib, ClientRect());
        PlaceRoot();
    }
    return true;
}

RECT CUIManager::AreaToPaint()
{
    RECT area = {};
    if (m_layered) {
        area = Intersection(m_layeredDirty, ClientRect());
        m_layeredDirty = {};
        return area;
    }
    GetUpdateRect(m_window, &area, FALSE);
    return area;
}

bool CUIManager::OnPaint()
{
    if (!m_root) {
        PaintScope paint(m_window);
        RECT all = ClientRect();
        FillRect(paint.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return true;
    }
    RECT area = AreaToPaint();
    if (IsRectEmpty(&area)) {
        ValidateRect(m_window, nullptr);
        return true;
    }
    if (m_focusNeeded) {
        m_focusNeeded = false;
        FocusFirstTabStop();
    }
    if (!UpdateLayout()) {
        ValidateRect(m_window, nullptr);
        return true;
    }
    PaintOffscreen(area);
    m_layeredUpdate = false;
    if (m_updateNeeded) InvalidateAll();
    return true;
}

void CUIManager::PaintOffscreen(const RECT& area)
{
    PaintScope paint(m_window);
    Surface& surface = OffscreenSurface();
    if (!surface.dib) return;  // a window of zero size shows nothing
    // Layered pixels start transparent every time, also under a layered image: what the
    // controls do not draw must not keep an older frame.
    if (m_layered) ClearPixels(surface.dib, area);
    m_root->PaintTo(surface.dc.get(), area);
    if (m_layered) PaintNativeChildren(area);
    const std::vector<CControlUI*> afterPaint = m_afterPaint;
    for (CControlUI* control : afterPaint)
        if (std::find(m_afterPaint.begin(), m_afterPaint.end(), control) != m_afterPaint.end())
            control->DrawAfter(surface.dc.get(), area);
    GdiFlush();
    if (m_layered) {
        ComposeLayeredImage(area);
        PresentLayered();
        return;
    }
    BitBlt(paint.dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
           surface.dc.get(), area.left, area.top, SRCCOPY);
    if (m_showDirty) {
        SelectGuard pen(paint.dc(), ManagerProcess().dirtyPen.get());
        SelectGuard brush(paint.dc(), GetStockObject(NULL_BRUSH));
        Rectangle(paint.dc(), area.left, area.top, area.right, area.bottom);
    }
}

// Native child windows (edit boxes) printed into the layered frame. Their whole visible
// rectangle is opaque: their own pixels carry no alpha, and black text is exactly 0.
void CUIManager::PaintNativeChildren(const RECT& area)
{
    m_childWindows.erase(std::remove_if(m_childWindows.begin(), m_childWindows.end(),
                                        [](const ChildWindow& c) { return !IsWindow(c.window); }),
                         m_childWindows.end());
    DibSection& frame = m_offscreen->dib;
    for (const ChildWindow& child : m_childWindows) {
        if (!IsWindowVisible(child.window)) continue;
        RECT rc;
        GetWindowRect(child.window, &rc);
        MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&rc), 2);
        RECT visible = Intersection(Intersection(rc, area), RECT{0, 0, frame.width, frame.height});
        if (IsRectEmpty(&visible)) continue;
        Surface print(rc.right - rc.left, rc.bottom - rc.top);
        if (!print.dib) continue;
        SendMessageW(child.window, WM_PRINT, reinterpret_cast<WPARAM>(print.dc.get()),
                     PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        GdiFlush();
        for (LONG y = visible.top; y < visible.bottom; ++y)
            for (LONG x = visible.left; x < visible.right; ++x)
                frame.at(x, y) = print.dib.at(x - rc.left, y - rc.top) | 0xFF000000u;
    }
}

// The frame takes the layered image's alpha: colours scaled by it, alpha replaced by it.
void CUIManager::ComposeLayeredImage(const RECT& area)
{
    if (m_layeredImage.descriptor.empty()) return;
    DibSection& frame = m_offscreen->dib;
    if (!m_background || m_layeredUpdate) {
        m_background.reset(new Surface(frame.width, frame.height));
        if (!m_background->dib) return;
        RECT content = ContentRect();
        DrawImageDescriptor(m_background->dc.get(), *this, content, content, m_layeredImage);
        GdiFlush();
    }
    if (m_layeredImage.image == nullptr || !m_layeredImage.image->hasAlpha) return;
    const DibSection& back = m_background->dib;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x) {
            const uint32_t alpha = back.pixels[size_t(y) * back.width + x] >> 24;
            uint32_t& pixel = frame.at(x, y);
            auto scale = [&](int shift) {
                return (((pixel >> shift) & 0xFF) * alpha / 255) << shift;
            };
            pixel = (alpha << 24) | scale(16) | scale(8) | scale(0);
        }
}

void CUIManager::PresentLayered()
{
    if (SystemUpdateLayeredWindow() == nullptr) return;
    RECT window;
    GetWindowRect(m_window, &window);
    POINT position = {window.left, window.top};
    SIZE size = {m_offscreen->dib.width, m_offscreen->dib.height};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_opacity, AC_SRC_ALPHA};
    SystemUpdateLayeredWindow()(m_window, m_windowDC, &position, &size, m_offscreen->dc.get(),
                                &origin, 0, &blend, ULW_ALPHA);
}

void CUIManager::OnPrintClient(HDC dc, LPARAM flags)
{
    if (!m_root || dc == nullptr) return;
    if (m_updateNeeded) UpdateLayout();
    m_root->PaintTo(dc, ClientRect());
    if ((flags & PRF_CHILDREN) == 0) return;
    for (const ChildWindow& child : m_childWindows) {
        if (!IsWindow(child.window)) continue;
        RECT rc;
        GetWindowRect(child.window, &rc);
        MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&rc), 2);
        POINT old;
        SetViewportOrgEx(dc, rc.left, rc.top, &old);
        SendMessageW(child.window, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                     PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
    }
}

void CUIManager::OnLayeredTimer()
{
    if (IsRectEmpty(&m_layeredDirty) || IsIconic(m_window)) return;
    OnPaint();
}

bool CUIManager::IsLayered() const
{
    return m_layered;
}

// The style is removed and added again: after SetLayeredWindowAttributes ("opacity")
// UpdateLayeredWindow fails until the window is made layered afresh.
void CUIManager::ApplyLayeredStyle()
{
    const LONG_PTR exStyle = GetWindowLongPtrW(m_window, GWL_EXSTYLE);
    SetWindowLongPtrW(m_window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    if (m_layered) {
        SetWindowLongPtrW(m_window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        SetTimer(m_window, LayeredRepaintTimer, 10, nullptr);
        m_offscreen.reset();
        m_layeredUpdate = true;
        InvalidateAll();
    } else {
        KillTimer(m_window, LayeredRepaintTimer);
        InvalidateRect(m_window, nullptr, FALSE);
    }
}

void CUIManager::SetLayered(bool layered)
{
    if (layered && (SystemUpdateLayeredWindow() == nullptr ||
                    (m_window != nullptr && (GetWindowLongPtrW(m_window, GWL_STYLE) & WS_CHILD))))
        return;  // a child window or a system without per-pixel layered output
    if (layered == m_layered) return;
    m_layered = layered;
    if (m_window != nullptr) ApplyLayeredStyle();
}

void CUIManager::SetWindowOpacity(BYTE opacity)
{
    m_opacity = opacity;
    if (m_window == nullptr || SystemSetLayeredWindowAttributes() == nullptr) return;
    if (m_layered) KillTimer(m_window, LayeredRepaintTimer);
    m_layered = false;
    SetWindowLongPtrW(m_window, GWL_EXSTYLE,
                      GetWindowLongPtrW(m_window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SystemSetLayeredWindowAttributes()(m_window, 0, opacity, LWA_ALPHA);
    InvalidateRect(m_window, nullptr, FALSE);
}

}  // namespace SkinUI
