#include "shell/Shortcuts.h"

#include "core/win_text.h"
#include "shell/ComError.h"
#include "shell/ComPtr.h"
#include "shell/RegKey.h"
#include "shell/Registry.h"

#include <windows.h>
#include <shlobj.h>

#include <array>

namespace {

const UString kExplorerKey = u"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";
const UString kShellFolders = u"Shell Folders";
const UString kShellFoldersKey = kExplorerKey + u"\\" + kShellFolders;
const UString kQuickLaunchBelowAppData = u"\\Microsoft\\Internet Explorer\\Quick Launch";

// An unknown application data folder leaves the quick launch folder unknown too, rather
// than naming a folder relative to the root of whatever drive is current.
UString QuickLaunchFolder(const UString& appData) {
    return appData.empty() ? UString() : appData + kQuickLaunchBelowAppData;
}

bool IsPathSeparator(char16_t c, bool slashToo) {
    return c == u'\\' || c == u':' || (slashToo && c == u'/');
}

// Everything up to and including the last backslash or colon.
UString FolderPart(const UString& path) {
    for (size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1], false)) {
            return path.substr(0, i);
        }
    }
    return UString();
}

// The last path component; a forward slash counts too, so a name can never place the
// shortcut outside its folder.
UString LastComponent(const UString& path) {
    for (size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1], true)) {
            return path.substr(i);
        }
    }
    return path;
}

bool IsExistingFile(const UString& path) {
    const DWORD attributes = GetFileAttributesW(WidePtr(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

struct LinkInterfaces {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
};

LinkInterfaces CreateShellLink(DWORD context) {
    LinkInterfaces shellLink;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, context, IID_IShellLinkW,
                                      shellLink.link.Put());
    if (FAILED(result)) {
        ThrowComError(result);
    }
    result = shellLink.link.As(IID_IPersistFile, shellLink.file);
    if (FAILED(result)) {
        ThrowComError(result);
    }
    return shellLink;
}

} // namespace

UString GetShellFolder(TShellFolderKind Kind) {
    static const std::array<const char16_t*, 5> kValueNames = {
        u"Desktop", u"AppData", u"SendTo", u"Start Menu", u"Startup"};
    if (Kind >= kValueNames.size()) {
        return UString();
    }
    RegKey explorer;
    if (explorer.Create(HKEY_CURRENT_USER, kExplorerKey) != ERROR_SUCCESS) {
        return UString();
    }
    const UString folder = ReadRegString(explorer.Get(), kShellFolders, kValueNames[Kind]);
    return Kind == sfQuickLaunch ? QuickLaunchFolder(folder) : folder;
}

UString FindShortcutFolder(const UString& LinkName, const UString& FolderName) {
    std::array<UString, 2> candidates;
    if (FolderName == u"QuickLaunch") {
        candidates[0] =
            QuickLaunchFolder(ReadRegString(HKEY_CURRENT_USER, kShellFoldersKey, u"AppData"));
    } else {
        candidates[0] = ReadRegString(HKEY_CURRENT_USER, kShellFoldersKey, FolderName);
        candidates[1] =
            ReadRegString(HKEY_LOCAL_MACHINE, kShellFoldersKey, u"Common " + FolderName);
    }
    for (const UString& folder : candidates) {
        // An unknown folder is skipped: probing "\<name>.lnk" would read whatever shortcut
        // lies at the root of the current drive.
        if (folder.empty()) {
            continue;
        }
        const UString link = folder + u"\\" + LinkName + u".lnk";
        if (IsExistingFile(link)) {
            const UString found = FolderPart(ResolveLink(link));
            if (!found.empty()) {
                return found;
            }
        }
    }
    return UString();
}

void CreateShortcut(const UString& Target, const UString& Arguments, const UString& LinkName,
                    TShellFolderKind Kind, const UString& SubFolder) {
    const LinkInterfaces shellLink = CreateShellLink(CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER);
    shellLink.link->SetPath(WidePtr(Target));
    shellLink.link->SetArguments(WidePtr(Arguments));
    shellLink.link->SetWorkingDirectory(WidePtr(FolderPart(Target)));

    // The whole name gets the extension ("Tool 2.5" -> "Tool 2.5.lnk"): that is the file the
    // lookup of an earlier installation probes.
    const UString fileName = LastComponent(LinkName + u".lnk");
    const UString folder = GetShellFolder(Kind);
    if (folder.empty()) {
        return;
    }
    const UString path = SubFolder.empty() ? folder + u"\\" + fileName
                                           : folder + u"\\" + SubFolder + u"\\" + fileName;
    // A missing folder simply leaves no shortcut.
    shellLink.file->Save(WidePtr(path), FALSE);
}

UString ResolveLink(const UString& LinkFile) {
    const LinkInterfaces shellLink = CreateShellLink(CLSCTX_INPROC_SERVER);
    const UString unresolved = kUnresolvedLinkText;
    if (FAILED(shellLink.file->Load(WidePtr(LinkFile), STGM_READ))) {
        return unresolved;
    }
    // SLR_NOUPDATE: the shortcut file is never rewritten while it is being looked at.
    if (FAILED(shellLink.link->Resolve(GetActiveWindow(), SLR_NOUPDATE))) {
        return unresolved;
    }
    wchar_t target[MAX_PATH] = {};
    WIN32_FIND_DATAW findData{};
    if (FAILED(shellLink.link->GetPath(target, MAX_PATH, &findData, SLGP_UNCPRIORITY))) {
        return unresolved;
    }
    return FromWide(target);
}
