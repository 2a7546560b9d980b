// Setup.exe's entry: fixes the display language, refuses to run while the product itself
// is running, and otherwise shows the wizard until its window closes.

#include "app/ProductSettings.h"
#include "app/RunningProductGuard.h"
#include "app/SafeDllSearch.h"
#include "ui/Application.h"
#include "wizard/SetupForm.h"

#include <windows.h>

#include <exception>
#include <memory>

// What the guard looks for and what it found; read once at start-up.
UString ProductWindowClass;
UString ProductTitleEn;
UString ProductTitleCn;
UString RunningTitle;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearchToSystemFolder();
    DetermineSetupLanguage();
    ProductWindowClass = ReadSetting(kSettingWindowClass);
    ProductTitleEn = ReadSetting(kSettingTitleEn);
    ProductTitleCn = ReadSetting(kSettingTitleCn);
    RunningTitle = FindRunningProductTitle(ProductWindowClass, ProductTitleEn, ProductTitleCn);
    if (!RunningTitle.empty()) {
        ShowRefusal(RefusalMessageFor(SetupLanguage, RunningTitle, ProductTitleEn));
        return 0;
    }

    Application.Initialize();
    Application.LoadIconResource(u"APPICON");
    try {
        const auto form = std::make_unique<TForm1>();
        Application.SetMainForm(form.get());
        Application.Run();
    } catch (const std::exception& error) {
        Application.ShowException(error);
        return 1;
    }
    return 0;
}
