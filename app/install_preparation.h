// The install sequence's checks and preparation before the download window opens: the
// agreement, the folder (created when missing) and the running client processes.
#pragma once

#include <string>

enum class Preparation {
    Ready,             // the folder is a folder, the client processes are gone
    NotAgreed,         // the agreement box is clear; nothing was touched
    FolderMissing,     // the folder could not be made on the first pass; processes untouched
    FolderNotCreated,  // the folder is still no folder after the second pass (processes ended)
};

// The message box of a failed preparation (no owner, OK button).
struct PreparationMessage {
    const wchar_t* text;
    const wchar_t* title;
};

// Runs the preparation for `folder` (used as it stands): with `agreed`, creates the missing
// folder chain, checks that it exists, ends the client and updater processes (sparing this
// one) and, when the path is not a folder yet, creates the chain again character by
// character. Stops at the first failure.
Preparation prepareInstall(bool agreed, const std::wstring& folder);

// The message for a failure; for Ready, none (both members null).
PreparationMessage preparationMessage(Preparation result);
