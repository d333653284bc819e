// KernelHandle: owns one kernel object handle (process, snapshot, file) and closes it.
#pragma once

#include <windows.h>

#include <utility>

class KernelHandle {
public:
    KernelHandle() = default;
    // Takes `handle` over; null and INVALID_HANDLE_VALUE (what the system's creators give
    // for failure) both mean none.
    explicit KernelHandle(HANDLE handle)
        : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle)
    {
    }
    ~KernelHandle() { reset(); }
    KernelHandle(KernelHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr))
    {
    }
    KernelHandle& operator=(KernelHandle&& other) noexcept
    {
        if (this != &other) reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void reset(HANDLE handle = nullptr)
    {
        if (m_handle) CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle = nullptr;
};
