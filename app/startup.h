// Start-up steps of the installer that run on the main thread before the first window: the
// embedded skin archive, COM, the shadow window class and the hand-over to the install options
// window.
#pragma once

#include "service/install_service.h"

#include <windows.h>

// Copies the "ZIPRES" resource 101 of the resource module into a heap buffer and hands it to
// the skin framework as the process-wide skin archive. The buffer is never freed: windows read
// it until the process ends. Returns false when the resource is missing, unloadable or empty
// (or the buffer cannot be allocated); the framework is then left untouched.
bool installSkinArchive();

// Opens the support log, writes the run's start (program version, Windows version, code
// pages) and has every call to the install service logged from here on. Nothing else depends
// on it: a log that cannot be written is skipped.
void startSupportLog();

// Registers the drop-shadow window class ("SkinShadowWnd") for `instance`. Start-up ignores
// its outcome because no installer window asks for a shadow.
void registerShadowWindowClass(HINSTANCE instance);

// Opens the install options window with the handshake's install info (created as "云帆更新",
// centred, shown with activation) and runs the message loop until it ends.
void runOptionsWindow(HINSTANCE instance, const InstallInfo& info);
