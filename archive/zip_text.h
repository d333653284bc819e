// Conversion between the wide names callers use and the narrow names stored in archives.
// On Windows the narrow side is the system's ANSI code page. Elsewhere (tests, fuzzing) it
// is Latin-1: each byte is one character below 256.
#pragma once

#include <string>

// Converts `wide` to the narrow code page. Returns false, leaving `narrow` unspecified,
// when a character has no narrow form: a name that cannot be stored cannot match.
bool wideToNarrowName(const std::wstring& wide, std::string& narrow);

// Converts a stored name to wide characters; bytes that do not convert are replaced.
std::wstring narrowToWideName(const std::string& narrow);
