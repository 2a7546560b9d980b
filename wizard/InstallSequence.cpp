// What Next does on the last two pages: Install (destination, package, extraction,
// shortcuts, uninstall entry) and Finish (launch, close).

#include "wizard/SetupForm.h"

#include "app/ProductSettings.h"
#include "core/exceptions.h"
#include "core/win_text.h"
#include "package/FileSystem.h"
#include "package/Global.h"
#include "shell/Launch.h"
#include "shell/Registry.h"
#include "shell/Shortcuts.h"
#include "shell/UniqueHandle.h"
#include "wizard/SetupServices.h"

namespace {

const char16_t kPackageFileName[] = u"Setup.stp";
const char16_t kUninstaller[] = u"Uninst.exe";
const char16_t kUninstallKey[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char16_t kPublisherEn[] = u"Corvane Software";
const char16_t kPublisherCn[] = u"岚川软件工作室";
constexpr DWORD kSettleMilliseconds = 50;

// Blanks and control characters off both ends.
UString Trim(const UString& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && text[first] <= u' ') {
        ++first;
    }
    while (last > first && text[last - 1] <= u' ') {
        --last;
    }
    return text.substr(first, last - first);
}

// The executable's package resource, written unchanged to `path` (replacing a file there).
void WritePackageResource(const UString& path) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(module, L"SETUPPACKAGE", L"STPFILE");
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = resource ? SizeofResource(module, resource) : 0;
    if (data == nullptr) {
        throw EFileError("The setup package is missing from the executable");
    }
    UniqueHandle file(CreateFileW(WidePtr(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        throw EFileError("Cannot create " + Utf16ToUtf8(path));
    }
    DWORD written = 0;
    if (!WriteFile(file.Get(), data, size, &written, nullptr) || written != size) {
        throw EFileError("Cannot write " + Utf16ToUtf8(path));
    }
}

}  // namespace

void TForm1::LockButtons(bool locked) {
    for (TButton* button : {&btnNext, &btnPrev, &btnClose, &btnBrowse}) {
        button->SetEnabled(!locked);
    }
}

bool TForm1::InstallProduct() {
    const UString text = editSetupDir.Text();
    FSetupDir = Trim(!text.empty() && text.back() == u'\\' ? text : text + u"\\");

    if (!ForceFolders(FSetupDir)) {
        // The plain message dialog: no icon, OK, the application title as caption.
        Application.MessageBox(FMsgCreateDirFailed, u"", MB_OK);
        return false;
    }

    LockButtons(true);
    ProgressBar1.SetVisible(true);
    Application.ProcessMessages();

    const UString packageFile = FSetupDir + kPackageFileName;
    try {
        WritePackageResource(packageFile);
        ExtractPackage(packageFile, FSetupDir, u"", [this](std::int32_t percent) { SetProgress(percent); });
        Sleep(kSettleMilliseconds);
        DeleteFileW(WidePtr(packageFile));
    } catch (...) {
        SetupServices().MsgBox(FMsgExtractFailed, u"");
        LockButtons(false);
        ProgressBar1.SetVisible(false);
        return false;
    }

    try {
        const UString program = FSetupDir + FExeName + u".exe";
        if (chkSCOnDesktop.Checked()) {
            CreateShortcut(program, u"", FProductName, sfDesktop, u"");
        }
        if (chkSCOnQuick.Visible() && chkSCOnQuick.Checked()) {
            CreateShortcut(program, u"", FProductName, sfQuickLaunch, u"");
        }
        const UString key = kUninstallKey + FProductName;
        const bool chinese = SetupLanguage == kLanguageChinese;
        CreateRegKey(HKEY_LOCAL_MACHINE, key);
        WriteRegString(HKEY_LOCAL_MACHINE, key, u"DisplayIcon", program);
        WriteRegString(HKEY_LOCAL_MACHINE, key, u"DisplayName", FProductName);
        WriteRegString(HKEY_LOCAL_MACHINE, key, u"DisplayVersion", FVersion);
        WriteRegString(HKEY_LOCAL_MACHINE, key, u"Publisher", chinese ? kPublisherCn : kPublisherEn);
        WriteRegString(HKEY_LOCAL_MACHINE, key, u"URLInfoAbout",
                       ReadSetting(chinese ? kSettingHomePageCn : kSettingHomePageEn));
        // Quoted: Windows would otherwise split a path with blanks at the first blank.
        WriteRegString(HKEY_LOCAL_MACHINE, key, u"UninstallString", u"\"" + FSetupDir + kUninstaller + u"\"");
    } catch (...) {
        // Shortcuts and the uninstall entry are extras: the product is installed anyway.
    }

    Image1.SetParent(pnlStep4);
    ProgressBar1.SetVisible(false);
    return true;
}

void TForm1::FinishSetup() {
    if (chkRunOnExit.Checked()) {
        try {
            LaunchProgram(FSetupDir + FExeName + u".exe", u"");
        } catch (...) {
            // A program that does not start must not keep the wizard open.
        }
    }
    Close();
}
