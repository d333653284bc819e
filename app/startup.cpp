// Start-up steps of the installer: skin archive, COM, shadow class, options window.
#include "app/startup.h"

#include "app/options_window.h"
#include "ui/core/ui_manager.h"
#include "ui/render/resource_settings.h"
#include "ui/window/window_shadow.h"

#include <cstring>
#include <new>

namespace {

const int kSkinArchiveId = 101;

}  // namespace

bool installSkinArchive()
{
    const HMODULE module = SkinUI::ResourceModule();
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(kSkinArchiveId), L"ZIPRES");
    if (!resource) return false;
    const HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded) return false;
    const DWORD size = SizeofResource(module, resource);
    const void* bytes = LockResource(loaded);
    if (size == 0 || !bytes) return false;

    // Owned by the process, never freed: the framework borrows it for every window.
    auto* archive = new (std::nothrow) unsigned char[size];
    if (!archive) return false;
    std::memcpy(archive, bytes, size);
    SkinUI::SetSkinArchive(archive, size);
    return true;
}

void registerShadowWindowClass(HINSTANCE instance)
{
    // The outcome does not matter: no installer window asks for a shadow.
    SkinUI::CWndShadow::RegisterShadowClass(instance);
}

void runOptionsWindow(HINSTANCE, const InstallInfo& info)
{
    // Lives until the process ends: closing it ends the process, so the loop rarely returns.
    VQUpdate_MainWindow window(info.currVersion, info.downloadUrl, info.privacyUrl,
                               info.agreementUrl);
    if (window.Open()) SkinUI::CUIManager::RunMessageLoop();
}

