// Install and Finish on the last two pages, into folders of the test prefix, from the test
// package built into this executable.

#include "tests/wizard/WizardTestSupport.h"

#include "core/win_text.h"
#include "shell/ApplicationTitle.h"
#include "shell/Registry.h"
#include "shell/Shortcuts.h"
#include "shell/UniqueHandle.h"
#include "wizard/WindowsVersion.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const UString kUninstallRoot = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

bool IsFile(const UString& path) {
    const DWORD attributes = GetFileAttributesW(WidePtr(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A fresh folder below the scratch folder, with a blank in its name.
UString FreshFolder(const char* purpose) {
    static int counter = 0;
    const UString folder = ScratchFolder() + u"\\install " + Utf8ToUtf16(purpose) + u" " +
                           Utf8ToUtf16(std::to_string(++counter));
    SHCreateDirectoryExW(nullptr, WidePtr(folder), nullptr);
    return folder;
}

void WriteFileText(const UString& path, const char* text) {
    UniqueHandle file(CreateFileW(WidePtr(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

int ValueCount(const UString& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WidePtr(key), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return -1;
    }
    DWORD values = 0;
    RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(opened);
    return static_cast<int>(values);
}

UString ShortcutFile(TShellFolderKind kind, const UString& name) {
    return GetShellFolder(kind) + u"\\" + name + u".lnk";
}

// The product's traces outside the destination: the uninstall key and its shortcuts.
void RemoveProductTraces(const UString& name) {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, WidePtr(kUninstallRoot + name));
    DeleteFileW(WidePtr(ShortcutFile(sfDesktop, name)));
    DeleteFileW(WidePtr(ShortcutFile(sfQuickLaunch, name)));
}

// A registry key under HKEY_LOCAL_MACHINE that may be read but not changed, removed again
// at the end.
class LockedKey final {
public:
    explicit LockedKey(const UString& path) : path_(path) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, WidePtr(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        // Everyone: read, and enough to give the key back its rights later.
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        alignas(ACL) BYTE aclBuffer[256];
        auto* acl = reinterpret_cast<ACL*>(aclBuffer);
        InitializeAcl(acl, sizeof(aclBuffer), ACL_REVISION);
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC | DELETE, everyone);
        SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
        locked_ = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
        FreeSid(everyone);
        RegCloseKey(key);
        HKEY probe = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WidePtr(path), 0, KEY_ALL_ACCESS, &probe) == ERROR_SUCCESS) {
            locked_ = false;  // rights are not enforced here
            RegCloseKey(probe);
        }
    }
    ~LockedKey() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WidePtr(path_), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
            SECURITY_DESCRIPTOR open;
            InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
            SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &open);
            RegCloseKey(key);
        }
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, WidePtr(path_));
    }
    LockedKey(const LockedKey&) = delete;
    LockedKey& operator=(const LockedKey&) = delete;
    bool Locked() const { return locked_; }

private:
    UString path_;
    bool locked_ = false;
};

struct Expected {
    int language;
    UString name;
    UString publisher;
    UString homePage;
};

class Install : public ::testing::TestWithParam<Expected> {
protected:
    void SetUp() override {
        RemoveProductTraces(GetParam().name);
        SHCreateDirectoryExW(nullptr, WidePtr(GetShellFolder(sfDesktop)), nullptr);
        if (WindowsMajorVersion() < 6) {
            SHCreateDirectoryExW(nullptr, WidePtr(GetShellFolder(sfQuickLaunch)), nullptr);
        }
    }
    void TearDown() override { RemoveProductTraces(GetParam().name); }

    // Next, Next, then the destination; `onPage3` runs there, before Install is clicked.
    std::vector<std::function<void()>> ToInstall(TForm1& f, const UString& destination) {
        return {
            [&f] { PostClick(f.btnNext); },
            [&f] { PostClick(f.btnNext); },
            [&f, destination] {
                f.editSetupDir.SetText(destination);
                EXPECT_EQ(f.Page(), 3);
                PostClick(f.btnNext);
            },
        };
    }

    LanguageScope language{GetParam().language};
    MessageRecorder messages;
};

TEST_P(Install, InstallsFilesShortcutAndUninstallEntryThenFinishes) {
    const Expected& expected = GetParam();
    const auto form = CreateWizard();
    TForm1& f = *form;
    const UString destination = FreshFolder("full") + u"\\Corvane Soft\\TestPad";
    const UString dir = destination + u"\\";
    std::vector<std::function<void()>> steps = ToInstall(f, destination);
    steps.push_back([&] {
        EXPECT_EQ(f.Page(), 4);
        EXPECT_EQ(f.btnNext.Caption(), f.CaptionFinish());
        EXPECT_TRUE(f.btnNext.Enabled());
        EXPECT_FALSE(f.btnPrev.Visible());
        EXPECT_FALSE(f.btnClose.Visible());
        EXPECT_FALSE(f.ProgressBar1.Visible());
        EXPECT_TRUE(f.pnlStep4.Visible());
        EXPECT_EQ(f.Image1.Parent(), &f.pnlStep4);
        EXPECT_EQ(GetParent(f.Image1.Handle()), f.pnlStep4.Handle());
        EXPECT_EQ(f.Image1.Left(), 0);
        EXPECT_EQ(f.Image1.Height(), 308);
        f.chkRunOnExit.SetChecked(false);
        PostClick(f.btnNext);
    });
    steps.push_back([] { ADD_FAILURE() << "Finish did not close the window"; });
    EXPECT_EQ(RunSteps(f, steps), 4u);
    EXPECT_TRUE(f.Closed());
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(f.SetupDir(), dir);
    EXPECT_GT(f.ProgressBar1.Position(), 0);

    for (const char16_t* file : {u"TestPad.exe", u"ReadMe.txt", u"Uninst.exe", u"docs\\Guide.txt"}) {
        EXPECT_TRUE(IsFile(dir + file)) << Utf16ToUtf8(file);
    }
    EXPECT_FALSE(IsFile(dir + u"Setup.stp"));
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_TRUE(IsFile(FromWide(system) + u"\\StpWizardTest.ini"));

    const UString key = kUninstallRoot + expected.name;
    EXPECT_EQ(ValueCount(key), 6);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, key, u"DisplayIcon"), dir + u"TestPad.exe");
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, key, u"DisplayName"), expected.name);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, key, u"DisplayVersion"), u"3.14");
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, key, u"Publisher"), expected.publisher);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, key, u"URLInfoAbout"), expected.homePage);
    EXPECT_EQ(ReadRegString(HKEY_LOCAL_MACHINE, key, u"UninstallString"), u"\"" + dir + u"Uninst.exe\"");

    const UString desktopLink = ShortcutFile(sfDesktop, expected.name);
    ASSERT_TRUE(IsFile(desktopLink));
    EXPECT_EQ(ResolveLink(desktopLink), dir + u"TestPad.exe");
    const bool quickLaunch = WindowsMajorVersion() < 6;
    EXPECT_EQ(IsFile(ShortcutFile(sfQuickLaunch, expected.name)), quickLaunch);
    if (quickLaunch) {
        EXPECT_EQ(ResolveLink(ShortcutFile(sfQuickLaunch, expected.name)), dir + u"TestPad.exe");
    }
    // The next wizard finds this installation again.
    const auto next = CreateWizard();
    EXPECT_EQ(next->editSetupDir.Text(), destination);
}

TEST_P(Install, DestinationNamingAFileShowsTheCreateFolderMessageAndChangesNothing) {
    const auto form = CreateWizard();
    TForm1& f = *form;
    const UString blocker = FreshFolder("blocked") + u"\\TestPad";
    WriteFileText(blocker, "a file, not a folder");
    std::vector<std::function<void()>> steps = ToInstall(f, blocker);
    steps.push_back([&] {
        EXPECT_EQ(f.Page(), 3);
        EXPECT_EQ(f.btnNext.Caption(), f.CaptionInstall());
        for (const TButton* button : {&f.btnNext, &f.btnPrev, &f.btnClose, &f.btnBrowse}) {
            EXPECT_TRUE(button->Enabled());
        }
        EXPECT_FALSE(f.ProgressBar1.Visible());
    });
    RunSteps(f, steps);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, f.MsgCreateDirFailed());
    EXPECT_EQ(messages.Messages()[0].caption, f.Caption());
    EXPECT_EQ(messages.Messages()[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(f.SetupDir(), blocker + u"\\");
    EXPECT_TRUE(IsFile(blocker));
    EXPECT_EQ(ValueCount(kUninstallRoot + GetParam().name), -1);
    EXPECT_FALSE(IsFile(ShortcutFile(sfDesktop, GetParam().name)));
}

TEST_P(Install, ExtractionFailureKeepsPage3AndInstallAgainCompletes) {
    const auto form = CreateWizard();
    TForm1& f = *form;
    const UString destination = FreshFolder("held");
    const UString dir = destination + u"\\";
    // A product file held open without sharing, as a running older copy would.
    UniqueHandle held(CreateFileW(WidePtr(dir + u"ReadMe.txt"), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(held.Get(), INVALID_HANDLE_VALUE);
    std::vector<std::function<void()>> steps = ToInstall(f, destination);
    steps.push_back([&] {
        EXPECT_EQ(f.Page(), 3);
        EXPECT_TRUE(f.pnlStep3.Visible());
        EXPECT_EQ(f.btnNext.Caption(), f.CaptionInstall());
        for (const TButton* button : {&f.btnNext, &f.btnPrev, &f.btnClose, &f.btnBrowse}) {
            EXPECT_TRUE(button->Enabled());
        }
        EXPECT_FALSE(f.ProgressBar1.Visible());
        EXPECT_TRUE(IsFile(dir + u"Setup.stp")) << "the temporary package stays after a failure";
        EXPECT_EQ(f.Image1.Parent(), &f.pnlStep1);
        held.Reset();
        PostClick(f.btnNext);
    });
    steps.push_back([&] {
        EXPECT_EQ(f.Page(), 4);
        EXPECT_FALSE(IsFile(dir + u"Setup.stp"));
        EXPECT_TRUE(IsFile(dir + u"ReadMe.txt"));
    });
    RunSteps(f, steps);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, f.MsgExtractFailed());
    // An empty caption: the shell's box shows the application title, the window caption.
    EXPECT_EQ(messages.Messages()[0].caption, u"");
    EXPECT_EQ(ApplicationTitle(), f.Caption());
    EXPECT_EQ(messages.Messages()[0].flags, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(ValueCount(kUninstallRoot + GetParam().name), 6);
}

TEST_P(Install, UninstallEntryFailureIsSilentAndStillReachesPage4) {
    // The uninstall key exists but may not be changed (as without administrator rights).
    const UString key = kUninstallRoot + GetParam().name;
    const LockedKey locked(key);
    ASSERT_TRUE(locked.Locked());
    const auto form = CreateWizard();
    TForm1& f = *form;
    const UString destination = FreshFolder("silent");
    std::vector<std::function<void()>> steps = ToInstall(f, destination);
    steps.push_back([&] {
        EXPECT_EQ(f.Page(), 4);
        EXPECT_EQ(f.btnNext.Caption(), f.CaptionFinish());
        EXPECT_FALSE(f.ProgressBar1.Visible());
    });
    RunSteps(f, steps);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(IsFile(destination + u"\\TestPad.exe"));
    // The desktop shortcut came before the failure.
    EXPECT_TRUE(IsFile(ShortcutFile(sfDesktop, GetParam().name)));
}

TEST_P(Install, RepeatedClicksDuringTheInstallStartOneInstallOnly) {
    const auto form = CreateWizard();
    TForm1& f = *form;
    const UString destination = FreshFolder("repeat");
    std::vector<std::function<void()>> steps = ToInstall(f, destination);
    steps[2] = [&f, destination] {
        f.editSetupDir.SetText(destination);
        for (int i = 0; i < 4; ++i) {
            PostClick(f.btnNext);
        }
    };
    steps.push_back([&] {
        EXPECT_EQ(f.Page(), 4);
        EXPECT_EQ(f.btnNext.Caption(), f.CaptionFinish());
        EXPECT_FALSE(f.Closed());
    });
    EXPECT_EQ(RunSteps(f, steps), 4u);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_P(Install, SetupDirEndsWithOneBackslashAndKeepsInnerBlanks) {
    const auto form = CreateWizard();
    TForm1& f = *form;
    // Below a file, so that no folder is created and only the destination is fixed.
    const UString blocker = FreshFolder("names") + u"\\file";
    WriteFileText(blocker, "x");
    const struct {
        UString text;
        UString setupDir;
    } cases[] = {
        {blocker + u"\\Tools", blocker + u"\\Tools\\"},
        {blocker + u"\\Tools\\", blocker + u"\\Tools\\"},
        {blocker + u"\\Tools ", blocker + u"\\Tools \\"},
        {u"  " + blocker + u"\\T\t", blocker + u"\\T\t\\"},
        {blocker + u"\\T\\  ", blocker + u"\\T\\  \\"},
    };
    f.btnNextClick();
    f.btnNextClick();
    for (const auto& c : cases) {
        f.editSetupDir.SetText(c.text);
        f.btnNextClick();
        EXPECT_EQ(f.SetupDir(), c.setupDir) << Utf16ToUtf8(c.text);
        EXPECT_EQ(f.Page(), 3);
    }
    EXPECT_EQ(messages.Messages().size(), std::size(cases));
}

INSTANTIATE_TEST_SUITE_P(
    BothLanguages, Install,
    ::testing::Values(Expected{kLanguageEnglish, u"Corvane TestPad", u"Corvane Software", u"https://example.com/testpad/"},
                      Expected{kLanguageChinese, u"测试记事本", u"岚川软件工作室", u"https://example.cn/testpad/"}),
    [](const ::testing::TestParamInfo<Expected>& info) {
        return info.param.language == kLanguageChinese ? "Chinese" : "English";
    });

// ---- Finish ---------------------------------------------------------------------------

UString ProbeProgram() {
    // The build folder as Wine sees it (the Unix root is drive Z:).
    const char* binary = std::getenv("STP_BINARY_DIR");
    std::string path = std::string("Z:") + (binary ? binary : "") + "/tests/wizard/wizard_launch_probe.exe";
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return Utf8ToUtf16(path);
}

class Finish : public ::testing::Test {
protected:
    void SetUp() override { RemoveProductTraces(u"Corvane TestPad"); }
    void TearDown() override { RemoveProductTraces(u"Corvane TestPad"); }

    // Installs into a fresh folder, then runs `atFinish` on page 4 and clicks Finish.
    void InstallThenFinish(TForm1& f, const UString& destination, const std::function<void()>& atFinish) {
        const size_t ran = RunSteps(f, {
            [&f] { PostClick(f.btnNext); },
            [&f] { PostClick(f.btnNext); },
            [&f, destination] { f.editSetupDir.SetText(destination); PostClick(f.btnNext); },
            [&f, &atFinish] { ASSERT_EQ(f.Page(), 4); atFinish(); PostClick(f.btnNext); },
            [] { ADD_FAILURE() << "Finish did not close the window"; },
        });
        EXPECT_EQ(ran, 4u);
        EXPECT_TRUE(f.Closed());
    }

    LanguageScope language{kLanguageEnglish};
    MessageRecorder messages;
};

TEST_F(Finish, LaunchesTheInstalledProgramWhenTicked) {
    const auto form = CreateWizard();
    const UString destination = FreshFolder("launch");
    InstallThenFinish(*form, destination, [&] {
        ASSERT_TRUE(CopyFileW(WidePtr(ProbeProgram()), WidePtr(destination + u"\\TestPad.exe"), FALSE));
        EXPECT_TRUE(form->chkRunOnExit.Checked());
    });
    const UString marker = destination + u"\\launched.txt";
    for (int i = 0; i < 300 && !IsFile(marker); ++i) {
        Sleep(100);
    }
    EXPECT_TRUE(IsFile(marker));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(Finish, UntickedOrMissingProgramJustCloses) {
    for (const bool tick : {false, true}) {
        const auto form = CreateWizard();
        const UString destination = FreshFolder("nolaunch");
        InstallThenFinish(*form, destination, [&] {
            form->chkRunOnExit.SetChecked(tick);
            if (tick) {
                DeleteFileW(WidePtr(destination + u"\\TestPad.exe"));
            } else {
                CopyFileW(WidePtr(ProbeProgram()), WidePtr(destination + u"\\TestPad.exe"), FALSE);
            }
        });
        Sleep(tick ? 0 : 500);
        EXPECT_FALSE(IsFile(destination + u"\\launched.txt"));
        EXPECT_TRUE(messages.Messages().empty());
    }
}

}  // namespace
