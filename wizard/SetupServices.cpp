#include "wizard/SetupServices.h"

#include "shell/Dialogs.h"

TSetupServices& SetupServices() {
    static TSetupServices services{
        .BrowseFolder = [](HWND owner, const UString& prompt) { return BrowseFolder(owner, prompt); },
        .MsgBox = [](const UString& text, const UString& caption) { MsgBox(text, caption); },
    };
    return services;
}
