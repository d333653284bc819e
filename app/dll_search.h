// DLL search hardening of the installer process.
#pragma once

// Restricts the DLL search order of this process to System32, so an installer started with
// administrator rights from a download folder cannot be made to load a DLL planted beside it.
// Irreversible for the process. Does nothing where the system lacks SetDefaultDllDirectories.
void restrictDllSearchToSystem32();
