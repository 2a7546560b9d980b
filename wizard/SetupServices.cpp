#include "wizard/SetupServices.h"

#include "shell/Dialogs.h"

TSetupServices& SetupServices() {
    static TSetupServices services{
        .BrowseFolder = [](HWND owner, const UString& prompt) { return BrowseFolder(owner, prompt); },
    };
    return services;
}
