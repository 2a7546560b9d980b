#pragma once
// Windows only: the modal dialogs of the installer. Both run their own message loop.

#include "core/text.h"

#include <windows.h>

// An information message box with a single OK button, owned by the active window, with the
// thread's other windows disabled while it is open. An empty Caption shows the application
// title (ApplicationTitle()).
void MsgBox(const UString& Text, const UString& Caption);

// The folder-selection dialog rooted at the Computer folder, file-system folders only, with
// a button for a new folder. The chosen folder's path (a drive root keeps its backslash),
// or empty when cancelled or the item has no path. COM must be initialised on the thread.
UString BrowseFolder(HWND Owner, const UString& Title);
