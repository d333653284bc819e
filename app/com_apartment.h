// ComApartment: COM initialised on the calling thread for the object's lifetime.
#pragma once

#include <windows.h>

#include <objbase.h>

class ComApartment {
public:
    // Apartment-threaded by default, as the main thread and its shell calls want; the
    // worker adds COINIT_DISABLE_OLE1DDE, as the shell asks of threads that call ShellExecute.
    explicit ComApartment(DWORD flags = COINIT_APARTMENTTHREADED)
        : ok_(SUCCEEDED(CoInitializeEx(nullptr, flags)))
    {
    }
    ~ComApartment()
    {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool ok() const { return ok_; }

private:
    bool ok_;
};
