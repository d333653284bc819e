// Counting the process's GDI objects, for tests that check nothing is left behind.
#pragma once

#include <windows.h>

namespace SkinUITest {

// The process's GDI objects as the system counts them. Wine does not count (it answers 0);
// there every live object is found by its handle's low word, which Wine accepts alone.
inline DWORD GdiObjectCount()
{
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    DWORD live = 0;
    for (ULONG_PTR handle = 1; handle < 0x10000; ++handle)
        live += GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) != 0 ? 1 : 0;
    return live;
}

}  // namespace SkinUITest
