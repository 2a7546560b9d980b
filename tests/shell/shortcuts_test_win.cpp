#include "core/win_text.h"
#include "shell/ComPtr.h"
#include "shell/ShellErrors.h"
#include "shell/Shortcuts.h"
#include "tests/shell/WinTestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

namespace {

const UString kShellFoldersKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const UString kUserShellFoldersKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const UString kQuickLaunchBelowAppData = u"\\Microsoft\\Internet Explorer\\Quick Launch";

bool IsFile(const UString& path) {
    const DWORD attributes = GetFileAttributesW(WidePtr(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int CountShortcuts(const UString& folder) {
    WIN32_FIND_DATAW data{};
    const HANDLE find = FindFirstFileW(WidePtr(folder + u"\\*.lnk"), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int count = 0;
    do {
        ++count;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

struct LinkFields {
    UString target;
    UString arguments;
    UString workingFolder;
};

// Reads a shortcut's fields directly from the shell link object, without resolving it.
LinkFields ReadLink(const UString& path) {
    ComPtr<IShellLinkW> link;
    EXPECT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, link.Put())));
    ComPtr<IPersistFile> file;
    EXPECT_TRUE(SUCCEEDED(link.As(IID_IPersistFile, file)));
    EXPECT_TRUE(SUCCEEDED(file->Load(WidePtr(path), STGM_READ))) << Utf16ToUtf8(path);
    wchar_t target[MAX_PATH] = {};
    wchar_t arguments[MAX_PATH] = {};
    wchar_t folder[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(arguments, MAX_PATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    return {FromWide(target), FromWide(arguments), FromWide(folder)};
}

// A shortcut to the Computer folder, which has no file-system path.
void SaveLinkToComputerFolder(const UString& path) {
    ComPtr<IShellLinkW> link;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, link.Put())));
    PIDLIST_ABSOLUTE computer = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)));
    const std::unique_ptr<ITEMIDLIST, decltype(&CoTaskMemFree)> owned(computer, CoTaskMemFree);
    ASSERT_TRUE(SUCCEEDED(link->SetIDList(computer)));
    ComPtr<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(link.As(IID_IPersistFile, file)));
    ASSERT_TRUE(SUCCEEDED(file->Save(WidePtr(path), TRUE)));
}

// One shell folder pointed elsewhere: both the "Shell Folders" value the functions read and
// the "User Shell Folders" value the shell itself goes by (and copies into "Shell Folders"
// whenever it looks a folder up), so the two never disagree while a test runs and nothing
// lands in the real folders.
class ShellFolderOverride final {
public:
    ShellFolderOverride(HKEY root, const UString& valueName)
        : shellFolders_(root, kShellFoldersKey, valueName),
          userShellFolders_(root, kUserShellFoldersKey, valueName) {}

    void SetString(const UString& folder) const {
        userShellFolders_.SetString(folder);
        shellFolders_.SetString(folder);
    }
    void SetDword(DWORD value) const { shellFolders_.SetDword(value); }
    // Only the value the functions read goes; the shell keeps its scratch location.
    void Remove() const { shellFolders_.Remove(); }

private:
    RegistryValueOverride shellFolders_;
    RegistryValueOverride userShellFolders_;
};

template <class Action>
std::string RegistryErrorOf(Action action) {
    try {
        action();
    } catch (const ERegistryException& error) {
        return error.what();
    }
    return "no error";
}

// Points every shell folder the functions read at folders of a scratch tree, and puts the
// registry back afterwards.
class ShortcutTest : public ::testing::Test {
protected:
    ShortcutTest()
        : desktop_(HKEY_CURRENT_USER, u"Desktop"),
          appData_(HKEY_CURRENT_USER, u"AppData"),
          sendTo_(HKEY_CURRENT_USER, u"SendTo"),
          startMenu_(HKEY_CURRENT_USER, u"Start Menu"),
          startup_(HKEY_CURRENT_USER, u"Startup"),
          commonDesktop_(HKEY_LOCAL_MACHINE, u"Common Desktop") {
        userDesktop = scratch.MakeFolder(u"user\\Desktop");
        appData = scratch.MakeFolder(u"user\\AppData");
        quickLaunch = scratch.MakeFolder(u"user\\AppData" + kQuickLaunchBelowAppData);
        sendTo = scratch.MakeFolder(u"user\\SendTo");
        startMenu = scratch.MakeFolder(u"user\\Start Menu");
        startup = scratch.MakeFolder(u"user\\Startup");
        allUsersDesktop = scratch.MakeFolder(u"common\\Desktop");
        toolFolder = scratch.MakeFolder(u"Apps\\Tool");
        otherFolder = scratch.MakeFolder(u"Apps\\Other");
        tool = scratch.MakeFile(u"Apps\\Tool\\Tool.exe");
        other = scratch.MakeFile(u"Apps\\Other\\Other.exe");
        desktop_.SetString(userDesktop);
        appData_.SetString(appData);
        sendTo_.SetString(sendTo);
        startMenu_.SetString(startMenu);
        startup_.SetString(startup);
        commonDesktop_.SetString(allUsersDesktop);
    }

    // Members are destroyed in reverse: the registry is restored before COM ends and the
    // scratch tree goes.
    const ComApartment com;
    const ScratchFolder scratch;
    UString userDesktop, appData, quickLaunch, sendTo, startMenu, startup, allUsersDesktop;
    UString toolFolder, otherFolder, tool, other;

    ShellFolderOverride desktop_, appData_, sendTo_, startMenu_, startup_, commonDesktop_;
};

} // namespace

TEST_F(ShortcutTest, GetShellFolderReadsEachKind) {
    const struct {
        TShellFolderKind kind;
        UString folder;
    } cases[] = {
        {sfDesktop, userDesktop},   {sfQuickLaunch, quickLaunch}, {sfSendTo, sendTo},
        {sfStartMenu, startMenu},   {sfStartup, startup},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(GetShellFolder(c.kind)), Utf16ToUtf8(c.folder)) << int{c.kind};
    }
    EXPECT_EQ(GetShellFolder(static_cast<TShellFolderKind>(5)), u"");
    EXPECT_EQ(GetShellFolder(static_cast<TShellFolderKind>(255)), u"");
}

TEST_F(ShortcutTest, ShellFolderOfAnotherTypeRaises) {
    desktop_.SetDword(1);
    EXPECT_EQ(RegistryErrorOf([] { GetShellFolder(sfDesktop); }),
              "Invalid data type for 'Desktop'");
    EXPECT_EQ(RegistryErrorOf([] { FindShortcutFolder(u"Tool", u"Desktop"); }),
              "Invalid data type for 'Desktop'");
}

TEST_F(ShortcutTest, CreateOnDesktopAndQuickLaunchThenFindAgain) {
    CreateShortcut(tool, u"", u"Tool 2.5", sfDesktop, u"");
    CreateShortcut(tool, u"", u"Tool 2.5", sfQuickLaunch, u"");
    for (const UString& folder : {userDesktop, quickLaunch}) {
        const UString link = folder + u"\\Tool 2.5.lnk";
        ASSERT_TRUE(IsFile(link)) << Utf16ToUtf8(link);
        EXPECT_EQ(CountShortcuts(folder), 1);
        EXPECT_EQ(Utf16ToUtf8(ResolveLink(link)), Utf16ToUtf8(tool));
        const LinkFields fields = ReadLink(link);
        EXPECT_EQ(Utf16ToUtf8(fields.target), Utf16ToUtf8(tool));
        EXPECT_EQ(fields.arguments, u"");
        EXPECT_EQ(Utf16ToUtf8(fields.workingFolder), Utf16ToUtf8(toolFolder + u"\\"));
    }
    EXPECT_EQ(Utf16ToUtf8(FindShortcutFolder(u"Tool 2.5", u"QuickLaunch")),
              Utf16ToUtf8(toolFolder + u"\\"));
    EXPECT_EQ(Utf16ToUtf8(FindShortcutFolder(u"Tool 2.5", u"Desktop")),
              Utf16ToUtf8(toolFolder + u"\\"));
    EXPECT_EQ(FindShortcutFolder(u"Tool 2", u"Desktop"), u"");
}

TEST_F(ShortcutTest, ShortcutFileNameIsTheWholeNameAndOnlyItsLastComponent) {
    CreateShortcut(tool, u"", u"A.B", sfDesktop, u"");
    EXPECT_TRUE(IsFile(userDesktop + u"\\A.B.lnk"));
    EXPECT_FALSE(IsFile(userDesktop + u"\\A.lnk"));
    CreateShortcut(tool, u"", u"..\\Outside", sfDesktop, u"");
    CreateShortcut(tool, u"", u"Far/Away", sfDesktop, u"");
    EXPECT_TRUE(IsFile(userDesktop + u"\\Outside.lnk"));
    EXPECT_TRUE(IsFile(userDesktop + u"\\Away.lnk"));
    EXPECT_FALSE(IsFile(scratch.Path() + u"\\user\\Outside.lnk"));
}

TEST_F(ShortcutTest, CreatingTwiceLeavesOneShortcutTheSecond) {
    CreateShortcut(tool, u"--first", u"Tool", sfSendTo, u"");
    CreateShortcut(other, u"--second", u"Tool", sfSendTo, u"");
    EXPECT_EQ(CountShortcuts(sendTo), 1);
    const LinkFields fields = ReadLink(sendTo + u"\\Tool.lnk");
    EXPECT_EQ(Utf16ToUtf8(fields.target), Utf16ToUtf8(other));
    EXPECT_EQ(fields.arguments, u"--second");
    EXPECT_EQ(Utf16ToUtf8(fields.workingFolder), Utf16ToUtf8(otherFolder + u"\\"));
}

TEST_F(ShortcutTest, SubFolderIsUsedButNeverCreated) {
    EXPECT_NO_THROW(CreateShortcut(tool, u"", u"Tool", sfStartMenu, u"Programs\\Corvane"));
    EXPECT_EQ(GetFileAttributesW(WidePtr(startMenu + u"\\Programs")), INVALID_FILE_ATTRIBUTES);
    scratch.MakeFolder(u"user\\Start Menu\\Programs\\Corvane");
    CreateShortcut(tool, u"", u"Tool", sfStartMenu, u"Programs\\Corvane");
    EXPECT_TRUE(IsFile(startMenu + u"\\Programs\\Corvane\\Tool.lnk"));
    EXPECT_EQ(CountShortcuts(startMenu), 0);
}

TEST_F(ShortcutTest, UnknownFolderWritesNothing) {
    EXPECT_NO_THROW(CreateShortcut(tool, u"", u"Tool", static_cast<TShellFolderKind>(7), u""));
    startup_.Remove();
    EXPECT_EQ(GetShellFolder(sfStartup), u"");
    EXPECT_NO_THROW(CreateShortcut(tool, u"", u"Tool", sfStartup, u""));
    EXPECT_EQ(CountShortcuts(startup), 0);
}

TEST_F(ShortcutTest, OwnDesktopBeforeAllUsersDesktop) {
    CreateShortcut(tool, u"", u"Tool", sfDesktop, u"");
    {
        // The all-users shortcut points elsewhere.
        const ShellFolderOverride redirect(HKEY_CURRENT_USER, u"Desktop");
        redirect.SetString(allUsersDesktop);
        CreateShortcut(other, u"", u"Tool", sfDesktop, u"");
    }
    EXPECT_EQ(Utf16ToUtf8(FindShortcutFolder(u"Tool", u"Desktop")),
              Utf16ToUtf8(toolFolder + u"\\"));
    ASSERT_TRUE(DeleteFileW(WidePtr(userDesktop + u"\\Tool.lnk")));
    EXPECT_EQ(Utf16ToUtf8(FindShortcutFolder(u"Tool", u"Desktop")),
              Utf16ToUtf8(otherFolder + u"\\"));
    // Quick launch has no all-users counterpart.
    EXPECT_EQ(FindShortcutFolder(u"Tool", u"QuickLaunch"), u"");
}

TEST_F(ShortcutTest, UnusableOwnShortcutFallsThroughToAllUsers) {
    {
        const ShellFolderOverride redirect(HKEY_CURRENT_USER, u"Desktop");
        redirect.SetString(allUsersDesktop);
        CreateShortcut(other, u"", u"Broken", sfDesktop, u"");
        CreateShortcut(other, u"", u"Computer", sfDesktop, u"");
        CreateShortcut(other, u"", u"Folder", sfDesktop, u"");
    }
    // Not a shortcut at all.
    scratch.MakeFile(u"user\\Desktop\\Broken.lnk", "this is no shell link");
    EXPECT_EQ(ResolveLink(userDesktop + u"\\Broken.lnk"), kUnresolvedLinkText);
    EXPECT_EQ(Utf16ToUtf8(FindShortcutFolder(u"Broken", u"Desktop")),
              Utf16ToUtf8(otherFolder + u"\\"));
    // A shortcut to something that is not a file.
    SaveLinkToComputerFolder(userDesktop + u"\\Computer.lnk");
    EXPECT_EQ(ResolveLink(userDesktop + u"\\Computer.lnk"), u"");
    EXPECT_EQ(Utf16ToUtf8(FindShortcutFolder(u"Computer", u"Desktop")),
              Utf16ToUtf8(otherFolder + u"\\"));
    // A folder with a shortcut's name is not probed.
    scratch.MakeFolder(u"user\\Desktop\\Folder.lnk");
    EXPECT_EQ(Utf16ToUtf8(FindShortcutFolder(u"Folder", u"Desktop")),
              Utf16ToUtf8(otherFolder + u"\\"));
}

TEST_F(ShortcutTest, QuickLaunchNameIsCaseSensitive) {
    CreateShortcut(tool, u"", u"Tool", sfQuickLaunch, u"");
    const UString elsewhere = scratch.MakeFolder(u"user\\Elsewhere");
    const RegistryValueOverride lowerCase(HKEY_CURRENT_USER, kShellFoldersKey, u"quicklaunch");
    lowerCase.SetString(elsewhere);
    {
        const ShellFolderOverride redirect(HKEY_CURRENT_USER, u"Desktop");
        redirect.SetString(elsewhere);
        CreateShortcut(other, u"", u"Tool", sfDesktop, u"");
    }
    EXPECT_EQ(Utf16ToUtf8(FindShortcutFolder(u"Tool", u"QuickLaunch")),
              Utf16ToUtf8(toolFolder + u"\\"));
    // Any other spelling is an ordinary "Shell Folders" value name.
    EXPECT_EQ(Utf16ToUtf8(FindShortcutFolder(u"Tool", u"quicklaunch")),
              Utf16ToUtf8(otherFolder + u"\\"));
}

TEST_F(ShortcutTest, UnknownFoldersAreNotProbedAtTheDriveRoot) {
    // A shortcut at the root of the current drive must not pass for an earlier installation
    // when a shell folder is not known.
    const UString name = UniqueName(u"stp-root-");
    UString rootLink;
    {
        const ShellFolderOverride redirect(HKEY_CURRENT_USER, u"Desktop");
        redirect.SetString(scratch.Path().substr(0, 2));
        CreateShortcut(tool, u"", name, sfDesktop, u"");
        rootLink = scratch.Path().substr(0, 2) + u"\\" + name + u".lnk";
    }
    ASSERT_TRUE(IsFile(rootLink));
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(WidePtr(scratch.Path())));

    appData_.Remove();
    EXPECT_EQ(GetShellFolder(sfQuickLaunch), u"");
    EXPECT_EQ(FindShortcutFolder(name, u"QuickLaunch"), u"");
    desktop_.Remove();
    commonDesktop_.Remove();
    EXPECT_EQ(FindShortcutFolder(name, u"Desktop"), u"");

    SetCurrentDirectoryW(previous);
    DeleteFileW(WidePtr(rootLink));
}

TEST_F(ShortcutTest, ResolveLinkOfWhatIsNoShortcut) {
    EXPECT_EQ(ResolveLink(tool), kUnresolvedLinkText);
    EXPECT_EQ(ResolveLink(scratch.Path() + u"\\missing.lnk"), kUnresolvedLinkText);
    // The failure text has no folder part.
    EXPECT_EQ(UString(kUnresolvedLinkText).find_first_of(u"\\:"), UString::npos);
}

TEST_F(ShortcutTest, ShellLinkObjectThatCannotBeCreatedRaises) {
    CreateShortcut(tool, u"", u"Tool", sfDesktop, u"");
    // A thread that never initialised COM cannot create the object.
    struct Outcome {
        int32_t code = 0;
        std::string message;
    };
    const auto attempt = [](const std::function<void()>& action) {
        Outcome outcome;
        std::thread worker([&] {
            try {
                action();
            } catch (const EOleSysError& error) {
                outcome = {error.ErrorCode(), error.what()};
            }
        });
        worker.join();
        return outcome;
    };
    const UString link = userDesktop + u"\\Tool.lnk";
    const Outcome resolve = attempt([&] { ResolveLink(link); });
    EXPECT_EQ(resolve.code, CO_E_NOTINITIALIZED);
    EXPECT_FALSE(resolve.message.empty());
    const Outcome find = attempt([] { FindShortcutFolder(u"Tool", u"Desktop"); });
    EXPECT_EQ(find.code, CO_E_NOTINITIALIZED);
    EXPECT_EQ(find.message, resolve.message);
    const Outcome create = attempt([&] { CreateShortcut(tool, u"", u"Second", sfDesktop, u""); });
    EXPECT_EQ(create.code, CO_E_NOTINITIALIZED);
    EXPECT_FALSE(IsFile(userDesktop + u"\\Second.lnk"));
}

// Run by the lnkinfo check: leaves a shortcut and the expected fields in STP_SHELL_LNK_OUT
// for a reader that has nothing to do with the Windows shell.
TEST_F(ShortcutTest, ExportForIndependentReader) {
    const char* out = std::getenv("STP_SHELL_LNK_OUT");
    if (out == nullptr) {
        GTEST_SKIP() << "only for the lnkinfo check";
    }
    CreateShortcut(tool, u"-x", u"Tool 2.5", sfDesktop, u"");
    const UString link = userDesktop + u"\\Tool 2.5.lnk";
    ASSERT_TRUE(IsFile(link));
    const UString copy = Utf8ToUtf16(out) + u"\\Tool 2.5.lnk";
    ASSERT_TRUE(CopyFileW(WidePtr(link), WidePtr(copy), FALSE)) << Utf16ToUtf8(copy);
    std::ofstream expected(std::string(out) + "/expected.txt", std::ios::binary);
    expected << Utf16ToUtf8(tool) << "\n" << Utf16ToUtf8(toolFolder + u"\\") << "\n";
}
