// Owners for the GDI objects the skin framework creates: move-only handles that delete their
// object (Bitmap, Font, Region, Pen, Brush), a memory device context, a borrowed window DC,
// and guards that select an object or clip region and put the previous one back.
#pragma once

#include <windows.h>

#include <utility>

namespace SkinUI {

// Owns one GDI object and deletes it; plain handles elsewhere only borrow.
template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : m_handle(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    // Gives up ownership; the caller deletes the object.
    Handle release() { return std::exchange(m_handle, nullptr); }
    void reset(Handle handle = nullptr)
    {
        if (m_handle) DeleteObject(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;

// A memory DC compatible with `reference` (null: the screen); deleted on destruction.
class MemoryDC {
public:
    explicit MemoryDC(HDC reference = nullptr) : m_dc(CreateCompatibleDC(reference)) {}
    ~MemoryDC()
    {
        if (m_dc) DeleteDC(m_dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    HDC get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc;
};

// The DC of a window (null: the screen), released on destruction.
class WindowDC {
public:
    explicit WindowDC(HWND window = nullptr) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDC()
    {
        if (m_dc) ReleaseDC(m_window, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects `object` into `dc` and selects the previous object back on destruction.
// The object must outlive the guard.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_old(object ? SelectObject(dc, object) : nullptr)
    {
    }
    ~SelectGuard()
    {
        if (m_old) SelectObject(m_dc, m_old);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Saves the whole DC state (text colour, modes, clip, selections) and restores it on destruction.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
    ~SavedDCState()
    {
        if (m_saved) RestoreDC(m_dc, m_saved);
    }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

}  // namespace SkinUI
