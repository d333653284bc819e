// Entry point of the installer: hardening, skin archive, COM, handshake, options window.
#include "app/com_apartment.h"
#include "app/dll_search.h"
#include "app/handshake_loop.h"
#include "app/startup.h"
#include "app/support_log.h"

#include <windows.h>

// Every way out returns 0; the command line is ignored.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    restrictDllSearchToSystem32();
    openSupportLog();
    if (!installSkinArchive()) return 0;
    const ComApartment com;
    if (!com.ok()) return 0;
    registerShadowWindowClass(instance);

    const auto info = runHandshakeLoop();
    if (info) runOptionsWindow(instance, *info);
    return 0;
}
