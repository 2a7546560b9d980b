// Page 3: the proposed destination, the rule that accepts it, the free space of its drive
// and the folder dialog. The free-space label's visibility is the page's verdict: Install
// is enabled only while it shows.

#include "wizard/SetupForm.h"

#include "core/win_text.h"
#include "shell/Dialogs.h"
#include "shell/Drives.h"
#include "shell/FormatSize.h"
#include "shell/Shortcuts.h"
#include "wizard/SetupServices.h"

namespace {

const char16_t kPublisherFolder[] = u"\\Corvane Soft\\";

UString EnvironmentVariable(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    return length > 0 && length < size ? FromWide(value.c_str(), length) : UString();
}

char16_t UpperAsciiLetter(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

}  // namespace

void TForm1::SetUpDestinationPage() {
    FFixedDrives = GetFixedDrives();
    UString earlier;
    try {
        earlier = FindShortcutFolder(FProductName, u"QuickLaunch");
        if (earlier.empty()) {
            earlier = FindShortcutFolder(FProductName, u"Desktop");
        }
    } catch (...) {
        // The window still opens, with an empty destination that Install does not accept
        // (an empty box would otherwise install into the root of the current drive).
        editSetupDirChange();
        Application.HandleCurrentException();
        return;
    }
    const UString proposal = !earlier.empty() ? earlier.substr(0, earlier.size() - 1)
                                              : EnvironmentVariable(L"PROGRAMFILES") + kPublisherFolder + FExeName;
    editSetupDir.SetText(proposal);
}

void TForm1::editSetupDirChange() {
    const UString text = editSetupDir.Text();
    if (text.empty() || FFixedDrives.find(UpperAsciiLetter(text[0])) == UString::npos) {
        lblFreeSize.SetVisible(false);
        return;
    }
    if (text.size() >= 3 && text[1] == u':' && text[2] == u'\\') {
        ShowFreeSpace();
    } else {
        lblFreeSize.SetVisible(false);
    }
}

void TForm1::ShowFreeSpace() {
    const UString text = editSetupDir.Text();
    const char16_t drive = text.empty() ? u'\0' : text[0];
    lblFreeSize.SetCaption(FFreeSpacePrefix + FormatSize(DriveFreeSpace(drive)));
    lblFreeSize.SetVisible(true);
}

void TForm1::btnBrowseClick() {
    const UString chosen = SetupServices().BrowseFolder(Handle(), FBrowsePrompt);
    if (chosen.empty()) {
        return;
    }
    editSetupDir.SetText(chosen);
    ShowFreeSpace();
}
