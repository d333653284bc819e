// Entry point of the installer: hardening, skin archive, COM, handshake, options window.
#include "app/com_apartment.h"
#include "app/dll_search.h"
#include "app/handshake_loop.h"
#include "app/startup.h"
#include "app/support_log.h"

#include <windows.h>

#include <string>

namespace {

// Ends the run from the entry point with 0, saying how in the support log.
int endOfRun(const char* how)
{
    logLine(std::string("end: ") + how + ", exit 0");
    return 0;
}

}  // namespace

// Every way out returns 0; the command line is ignored.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    restrictDllSearchToSystem32();
    startSupportLog();
    if (!installSkinArchive()) return endOfRun("no skin archive");
    const ComApartment com;
    if (!com.ok()) return endOfRun("COM could not be initialised");
    registerShadowWindowClass(instance);

    const auto info = runHandshakeLoop();
    if (!info) return 0;
    runOptionsWindow(instance, *info);
    return endOfRun("the message loop ended");
}
