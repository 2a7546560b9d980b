#pragma once
// The shell's modal dialogs the wizard opens. Tests replace them (no person is there to answer);
// the program uses the real ones.

#include "core/text.h"

#include <windows.h>

#include <functional>

struct TSetupServices {
    // The folder dialog: the chosen path, or empty when cancelled.
    std::function<UString(HWND owner, const UString& prompt)> BrowseFolder;
    // The information message box (OK only; an empty caption shows the application title).
    std::function<void(const UString& text, const UString& caption)> MsgBox;
};

// The services in use; the real dialogs unless replaced.
TSetupServices& SetupServices();
