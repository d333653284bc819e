// The install folder on disk: existence and directory tests and the two ways the install
// sequence creates a missing chain of folders (a first pass through the ANSI path, a second,
// character by character, through the wide path).
#pragma once

#include <string>

// True when something (a file or a folder) exists at `path`.
bool pathExists(const std::wstring& path);

// True only when `path` exists and is a folder.
bool isDirectory(const std::wstring& path);

// Creates the missing folders of `folder`'s chain through its ANSI form: cuts the path at its
// last backslash again and again until a prefix exists or no backslash is left, then creates
// the collected prefixes from the outermost to the innermost. Failures are ignored (the
// existence test that follows reports them). A path that has no ANSI form is left alone: a
// substituted character would name another folder.
void createFolderChainAnsi(const std::wstring& folder);

// Walks `folder` character by character; at each backslash and at the last character the
// prefix up to there is created when it does not exist. Returns false at the first creation
// that fails, true when the walk got through (which does not make the path a folder: an
// existing file passes the walk).
bool createFolderChainWide(const std::wstring& folder);
