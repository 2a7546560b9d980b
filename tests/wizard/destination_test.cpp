// The destination page: the proposed folder, the rule that accepts a destination, the free
// space label and the folder dialog (replaced: nobody is there to answer it).

#include "tests/wizard/WizardTestSupport.h"

#include "core/win_text.h"
#include "shell/Drives.h"
#include "shell/Registry.h"
#include "shell/Shortcuts.h"
#include "wizard/SetupServices.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <optional>
#include <string>

namespace {

const UString kShellFoldersKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

UString Environment(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    return FromWide(buffer, length);
}

// A drive letter that is not a fixed drive here.
char16_t NonFixedLetter(const UString& fixed) {
    for (char16_t letter = u'Q'; letter <= u'Y'; ++letter) {
        if (fixed.find(letter) == UString::npos) {
            return letter;
        }
    }
    return u'B';
}

bool EndsWithUnit(const UString& text) {
    for (const UString unit : {u" Bytes", u" KB", u" MB", u" GB"}) {
        if (text.size() > unit.size() && text.compare(text.size() - unit.size(), unit.size(), unit) == 0) {
            return true;
        }
    }
    return false;
}

// Sets an environment variable (nullptr: removes it) for the lifetime of the object.
class EnvironmentScope final {
public:
    EnvironmentScope(const wchar_t* name, const wchar_t* value) : name_(name) {
        wchar_t buffer[1024] = {};
        if (GetEnvironmentVariableW(name, buffer, 1024) > 0) {
            saved_ = buffer;
        }
        SetEnvironmentVariableW(name, value);
    }
    ~EnvironmentScope() { SetEnvironmentVariableW(name_, saved_ ? saved_->c_str() : nullptr); }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

private:
    const wchar_t* name_;
    std::optional<std::wstring> saved_;
};

// A shortcut named after the product, removed again at the end.
class ShortcutScope final {
public:
    ShortcutScope(TShellFolderKind kind, const UString& target, const UString& name) {
        SHCreateDirectoryExW(nullptr, WidePtr(target.substr(0, target.rfind(u'\\'))), nullptr);
        CloseHandle(CreateFileW(WidePtr(target), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const UString folder = GetShellFolder(kind);
        SHCreateDirectoryExW(nullptr, WidePtr(folder), nullptr);
        CreateShortcut(target, u"", name, kind, u"");
        link_ = folder + u"\\" + name + u".lnk";
    }
    ~ShortcutScope() { DeleteFileW(WidePtr(link_)); }
    ShortcutScope(const ShortcutScope&) = delete;
    ShortcutScope& operator=(const ShortcutScope&) = delete;
    bool Exists() const { return GetFileAttributesW(WidePtr(link_)) != INVALID_FILE_ATTRIBUTES; }

private:
    UString link_;
};

class Destination : public ::testing::Test {
protected:
    void SetUp() override { Application.Initialize(); }
    LanguageScope language{kLanguageEnglish};
};

TEST_F(Destination, FixedDrivesAreReadAtCreation) {
    const auto form = CreateWizard();
    EXPECT_EQ(form->FixedDrives(), GetFixedDrives());
    EXPECT_NE(form->FixedDrives().find(u'C'), UString::npos);
}

TEST_F(Destination, ChangeRuleAcceptsAFixedDriveColonAndBackslashOnly) {
    const auto form = CreateWizard();
    TForm1& f = *form;
    const UString other(1, NonFixedLetter(f.FixedDrives()));
    const struct {
        UString text;
        bool accepted;
    } cases[] = {
        {u"C:\\Program Files\\X", true},
        {u"c:\\x", true},
        {u"C:\\", true},
        {u"C:\\Tools\\<>|?", true},  // nothing after the drive is examined
        {other + u":\\x", false},
        {u"C:", false},
        {u"C:x", false},
        {u"C:/x", false},
        {u"\\\\server\\share\\x", false},
        {u"", false},
        {u" C:\\x", false},
        {u"1:\\x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.text));
        f.lblFreeSize.SetVisible(!c.accepted);
        f.editSetupDir.SetText(c.text);
        EXPECT_EQ(f.lblFreeSize.Visible(), c.accepted);
        if (c.accepted) {
            const UString caption = f.lblFreeSize.Caption();
            EXPECT_EQ(caption.substr(0, 17), u"Space available: ");
            EXPECT_TRUE(EndsWithUnit(caption)) << Utf16ToUtf8(caption);
        }
    }
}

TEST_F(Destination, TypingIsAChangeToo) {
    const auto form = CreateWizard();
    TForm1& f = *form;
    f.editSetupDir.SetText(u"");
    EXPECT_FALSE(f.lblFreeSize.Visible());
    for (const wchar_t c : std::wstring(L"d:\\x")) {
        SendMessageW(f.editSetupDir.Handle(), WM_CHAR, c, 0);
    }
    EXPECT_EQ(f.editSetupDir.Text(), u"d:\\x");
    EXPECT_EQ(f.lblFreeSize.Visible(), f.FixedDrives().find(u'D') != UString::npos);
    SendMessageW(f.editSetupDir.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\y"));
    EXPECT_TRUE(f.lblFreeSize.Visible());
}

TEST_F(Destination, ProposesTheProgramFilesFolder) {
    const auto form = CreateWizard();
    EXPECT_EQ(form->editSetupDir.Text(), Environment(L"PROGRAMFILES") + u"\\Corvane Soft\\TestPad");
    EXPECT_FALSE(Environment(L"PROGRAMFILES").empty());
    EXPECT_TRUE(form->lblFreeSize.Visible());
}

TEST_F(Destination, MissingProgramFilesVariableGivesARejectedProposal) {
    const EnvironmentScope noProgramFiles(L"PROGRAMFILES", nullptr);
    const auto form = CreateWizard();
    EXPECT_EQ(form->editSetupDir.Text(), u"\\Corvane Soft\\TestPad");
    EXPECT_FALSE(form->lblFreeSize.Visible());
}

TEST_F(Destination, EarlierInstallationIsProposedQuickLaunchFirst) {
    {
        const ShortcutScope desktop(sfDesktop, ScratchFolder() + u"\\Apps\\Tool\\TestPad.exe", u"Corvane TestPad");
        ASSERT_TRUE(desktop.Exists());
        const auto form = CreateWizard();
        EXPECT_EQ(form->editSetupDir.Text(), ScratchFolder() + u"\\Apps\\Tool");
        EXPECT_TRUE(form->lblFreeSize.Visible());
        {
            const ShortcutScope quick(sfQuickLaunch, ScratchFolder() + u"\\Apps\\Quick\\TestPad.exe", u"Corvane TestPad");
            ASSERT_TRUE(quick.Exists());
            const auto second = CreateWizard();
            EXPECT_EQ(second->editSetupDir.Text(), ScratchFolder() + u"\\Apps\\Quick");
        }
    }
    {
        // Installed at a drive root: "C:" is proposed, and not accepted.
        const ShortcutScope root(sfDesktop, u"C:\\StpWizardRootTestPad.exe", u"Corvane TestPad");
        const auto form = CreateWizard();
        EXPECT_EQ(form->editSetupDir.Text(), u"C:");
        EXPECT_FALSE(form->lblFreeSize.Visible());
    }
    DeleteFileW(L"C:\\StpWizardRootTestPad.exe");
}

TEST_F(Destination, ChineseRunLooksForTheChineseName) {
    const LanguageScope chinese(kLanguageChinese);
    // The link's name is Chinese; its target stays ASCII, as the link keeps paths in the
    // ANSI code page too.
    const ShortcutScope desktop(sfDesktop, ScratchFolder() + u"\\Apps\\Cn\\TestPad.exe", u"测试记事本");
    const auto form = CreateWizard();
    EXPECT_EQ(form->editSetupDir.Text(), ScratchFolder() + u"\\Apps\\Cn");
}

TEST_F(Destination, ErrorWhileLookingForAnEarlierInstallationIsShownAndRejectsTheEmptyBox) {
    // A "Shell Folders" value that is not text makes the lookup fail.
    const UString saved = ReadRegString(HKEY_CURRENT_USER, kShellFoldersKey, u"AppData");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, WidePtr(kShellFoldersKey), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    const DWORD number = 7;
    RegSetValueExW(key, L"AppData", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    std::unique_ptr<TForm1> form;
    std::vector<RecordedMessage> shown;
    {
        const MessageRecorder recorder;
        form = CreateWizard();
        shown = recorder.Messages();
    }
    RegSetValueExW(key, L"AppData", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved.c_str()),
                   static_cast<DWORD>((saved.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(form->editSetupDir.Text(), u"");
    EXPECT_FALSE(form->lblFreeSize.Visible());
    EXPECT_TRUE(IsWindow(form->Handle()));
}

class Browse : public Destination {
protected:
    void TearDown() override { SetupServices().BrowseFolder = saved_; }
    void Answer(const UString& path) {
        SetupServices().BrowseFolder = [this, path](HWND owner, const UString& prompt) {
            owners_.push_back(owner);
            prompts_.push_back(prompt);
            return path;
        };
    }
    std::function<UString(HWND, const UString&)> saved_ = SetupServices().BrowseFolder;
    std::vector<HWND> owners_;
    std::vector<UString> prompts_;
};

TEST_F(Browse, ChosenFolderReplacesTheTextAndAlwaysShowsTheFreeSpace) {
    const auto form = CreateWizard();
    TForm1& f = *form;
    Answer(u"\\\\server\\share");
    f.btnBrowse.Click();
    ASSERT_EQ(owners_.size(), 1u);
    EXPECT_EQ(owners_[0], f.Handle());
    EXPECT_EQ(prompts_[0], u"Select or create a new folder:");
    EXPECT_EQ(f.editSetupDir.Text(), u"\\\\server\\share");
    EXPECT_TRUE(f.lblFreeSize.Visible());
    EXPECT_EQ(f.lblFreeSize.Caption(), u"Space available: -1 Bytes");
    // The next edit applies the rule again.
    SendMessageW(f.editSetupDir.Handle(), WM_CHAR, L'x', 0);
    EXPECT_FALSE(f.lblFreeSize.Visible());

    Answer(u"C:\\Tools");
    f.btnBrowse.Click();
    EXPECT_EQ(f.editSetupDir.Text(), u"C:\\Tools");
    EXPECT_TRUE(f.lblFreeSize.Visible());
}

TEST_F(Browse, CancelLeavesTextAndLabelAlone) {
    const auto form = CreateWizard();
    TForm1& f = *form;
    f.editSetupDir.SetText(u"C:x");
    Answer(u"");
    f.btnBrowse.Click();
    EXPECT_EQ(owners_.size(), 1u);
    EXPECT_EQ(f.editSetupDir.Text(), u"C:x");
    EXPECT_FALSE(f.lblFreeSize.Visible());
}

}  // namespace
