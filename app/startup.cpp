// Start-up steps of the installer: support log, skin archive, COM, shadow class, options window.
#include "app/startup.h"

#include "app/options_window.h"
#include "app/support_log.h"
#include "ui/core/ui_manager.h"
#include "ui/render/resource_settings.h"
#include "ui/window/window_shadow.h"

#include <cstring>
#include <new>
#include <string>

namespace {

const int kSkinArchiveId = 101;
// The version the handshake announces ("v1.0") and the manifest carries.
const char kProgramVersion[] = "1.0";

// The version Windows really runs (GetVersionEx answers what the manifest declares).
std::string windowsVersion()
{
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto getVersion = reinterpret_cast<RtlGetVersion>(
        reinterpret_cast<void*>(ntdll ? GetProcAddress(ntdll, "RtlGetVersion") : nullptr));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!getVersion || getVersion(&info) != 0) return "unknown";
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
}

// Under Wine, its version: support then knows the system is not Windows itself.
std::string wineVersion()
{
    using WineGetVersion = const char*(CDECL*)();
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto getVersion = reinterpret_cast<WineGetVersion>(
        reinterpret_cast<void*>(ntdll ? GetProcAddress(ntdll, "wine_get_version") : nullptr));
    const char* version = getVersion ? getVersion() : nullptr;
    return version ? std::string(", Wine ") + version : std::string();
}

void logServiceCall(const ServiceCallResult& result) noexcept
{
    try {
        const std::string outcome = result.status != 0
                                        ? "status " + std::to_string(result.status)
                                        : std::string("no answer (") + result.error + ")";
        logLine(std::string(result.call) + ": " + outcome + ", " +
                std::to_string(result.milliseconds) + " ms");
        // The end report ends the process as soon as it returns.
        if (std::string(result.call) == "installEnd") logLine("end: installation complete, exit 0");
    } catch (...) {
        // No memory for the line: the log loses it.
    }
}

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

void startSupportLog()
{
    openSupportLog();
    logLine(std::string("start: VQUpdate ") + kProgramVersion + " (" +
            std::to_string(sizeof(void*) * 8) + "-bit), Windows " + windowsVersion() +
            wineVersion() + ", code page " + std::to_string(GetACP()) + ", OEM code page " +
            std::to_string(GetOEMCP()));
    setServiceCallObserver(logServiceCall);
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
