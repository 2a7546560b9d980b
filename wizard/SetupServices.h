#pragma once
// The modal dialogs the wizard opens. Tests replace them (no person is there to answer);
// the program uses the real ones.

#include "core/text.h"

#include <windows.h>

#include <functional>

struct TSetupServices {
    // The folder dialog: the chosen path, or empty when cancelled.
    std::function<UString(HWND owner, const UString& prompt)> BrowseFolder;
};

// The services in use; the real dialogs unless replaced.
TSetupServices& SetupServices();
