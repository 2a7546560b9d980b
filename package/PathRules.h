#pragma once
// Where a file table row may write. The table decides folders and names, so a damaged or
// hostile package must not be able to reach beyond the destination and system folders.

#include "core/text.h"

// The name a row's file is written under: the part of column 1 after its last "\" or ":".
UString WrittenName(const UString& column1);

// A name is writable when it is not empty, holds no "/" (a separator to Windows as well)
// and is not made of dots and spaces only ("." and ".." among them).
bool IsWritableName(const UString& name);

// A folder below another one: empty, or relative (no leading separator, no drive or
// stream ":") with no component of dots and spaces only, so it can never climb out.
bool IsSafeRelativeFolder(const UString& folder);

// Replaces every occurrence of pattern, ignoring the letter case of ASCII letters.
UString ReplaceIgnoringCase(const UString& text, const UString& pattern, const UString& by);

#include <functional>

// The folder a file table row writes to, and whether the row is a system-folder row (whose
// existing files are kept). Column 4 true: the destination folder. Column 0 not starting
// with "$": the destination folder followed by it. Otherwise every "$System$" (when column 0
// contains "System", case-sensitive) or else every "$Third$" is replaced, ignoring case, by
// the system folder. EPackageError when the outcome is not the destination folder, the
// system folder or a folder below one of them.
struct TRowFolder {
    UString Folder;
    bool SystemRow = false;
};
TRowFolder ChooseRowFolder(const UString& column0, bool toDestination, const UString& destFolder,
                           const std::function<UString()>& systemDir);
