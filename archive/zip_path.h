// Checks on paths taken from callers and archives before files are written under a folder.
#pragma once

#include <string>

// True when `path` stays inside the folder it is relative to: not empty, no leading slash or
// backslash (root or network path), no colon (drive letter or alternate stream), and no
// component made only of dots and spaces beyond a single "." (Windows treats "..", ". ."
// and "... " alike as the parent folder).
bool isSafeRelativePath(const std::wstring& path);
