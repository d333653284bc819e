// Process-wide resource settings of the skin framework: the module instance, the module that
// holds the program resources, the resource folder and the skin archive (a zip file in the
// resource folder or a block of memory). Every window's paint manager reads them; they are set
// once at start-up on the user interface thread and are not locked.
#pragma once

#include <windows.h>

#include <string>

struct ZipArchive;

namespace SkinUI {

// The program's module instance. The resource module follows it until one is set.
void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

// The module whose resources images and skins named by "res" come from.
void SetResourceModule(HINSTANCE module);
HINSTANCE ResourceModule();

// The folder of the module instance's file, ending in a backslash (empty when unknown).
std::wstring ModuleFolder();

// Files are looked up relative to this folder. A non-empty path gets a trailing backslash
// unless it already ends in a backslash or slash.
void SetResourceFolder(const std::wstring& path);
const std::wstring& ResourceFolder();

// Use the zip file `name` in the resource folder as the skin archive. With `cache` the archive
// is opened now and kept open; otherwise each read opens it for itself. Changing either value
// closes an archive kept open before.
void SetSkinArchive(const std::wstring& name, bool cache);
// The same for a literal name (which would otherwise also match the overload below).
inline void SetSkinArchive(const wchar_t* name, bool cache)
{
    SetSkinArchive(std::wstring(name), cache);
}

// Use `length` bytes at `bytes` as the skin archive. The bytes are not copied: they must stay
// valid for the rest of the process. The archive name becomes "membuffer" and the archive is
// opened and kept open (whatever the cache flag: memory cannot be reopened by name); once
// that is the name, further calls change nothing.
void SetSkinArchive(const void* bytes, unsigned length);

// The archive name ("membuffer" for memory; empty when files come from the folder).
const std::wstring& SkinArchiveName();
bool SkinArchiveCached();

// The skin archive kept open (memory archives always, archive files when cached), or null.
// Owned by the settings; valid until the skin archive is set again.
ZipArchive* OpenSkinArchive();

}  // namespace SkinUI
