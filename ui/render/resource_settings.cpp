// Process-wide resource settings; see resource_settings.h.
#include "ui/render/resource_settings.h"

#include "archive/zip_reader.h"

namespace SkinUI {
namespace {

struct ResourceSettings {
    HINSTANCE instance = nullptr;
    HINSTANCE resourceModule = nullptr;
    std::wstring folder;
    std::wstring archiveName;
    bool cacheArchive = true;
    ZipArchivePtr openArchive;
};

ResourceSettings& Settings()
{
    static ResourceSettings settings;
    return settings;
}

const wchar_t kMemoryArchiveName[] = L"membuffer";

}  // namespace

void SetModuleInstance(HINSTANCE instance)
{
    Settings().instance = instance;
}

HINSTANCE ModuleInstance()
{
    return Settings().instance;
}

void SetResourceModule(HINSTANCE module)
{
    Settings().resourceModule = module;
}

HINSTANCE ResourceModule()
{
    const ResourceSettings& settings = Settings();
    return settings.resourceModule ? settings.resourceModule : settings.instance;
}

std::wstring ModuleFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length =
            GetModuleFileNameW(Settings().instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // truncated: try a larger buffer
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

void SetResourceFolder(const std::wstring& path)
{
    std::wstring folder = path;
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    Settings().folder = folder;
}

const std::wstring& ResourceFolder()
{
    return Settings().folder;
}

void SetSkinArchive(const std::wstring& name, bool cache)
{
    ResourceSettings& settings = Settings();
    if (settings.archiveName == name && settings.cacheArchive == cache) return;
    settings.openArchive.reset();
    settings.archiveName = name;
    settings.cacheArchive = cache;
    if (!cache || name.empty()) return;
    std::wstring path = settings.folder + name;
    settings.openArchive.reset(openZip(path.c_str(), 0, ZipFileName));
}

void SetSkinArchive(const void* bytes, unsigned length)
{
    ResourceSettings& settings = Settings();
    if (settings.archiveName == kMemoryArchiveName) return;
    settings.openArchive.reset();
    settings.archiveName = kMemoryArchiveName;
    settings.openArchive.reset(openZip(bytes, length, ZipMemory));
}

const std::wstring& SkinArchiveName()
{
    return Settings().archiveName;
}

bool SkinArchiveCached()
{
    return Settings().cacheArchive;
}

ZipArchive* OpenSkinArchive()
{
    return Settings().openArchive.get();
}

}  // namespace SkinUI
