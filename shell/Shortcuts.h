#pragma once
// Windows only: shortcut files (.lnk) and the per-user shell folders they live in. Folder
// locations come from the registry's "Shell Folders" lists; shortcuts are made and read
// through the shell link COM object, so COM must be initialised (single-threaded apartment)
// on the calling thread.

#include "core/text.h"

#include <cstdint>

enum TShellFolderKind : uint8_t {
    sfDesktop = 0,
    sfQuickLaunch = 1,
    sfSendTo = 2,
    sfStartMenu = 3,
    sfStartup = 4,
};

// ResolveLink's answer when it cannot produce a target path. It holds no backslash or
// colon, so its folder part is empty.
inline constexpr char16_t kUnresolvedLinkText[] = u"unable to resolve link";

// The per-user folder of Kind, without trailing backslash; empty for a kind outside 0..4
// or when the registry does not name the folder.
UString GetShellFolder(TShellFolderKind Kind);

// Where the target of the shortcut LinkName + ".lnk" lives, with a trailing backslash, or
// empty. FolderName "QuickLaunch" (exact case) looks in the user's quick launch folder;
// any other name is a "Shell Folders" value name such as "Desktop", looked up for the user
// first and then as "Common <FolderName>" for all users.
UString FindShortcutFolder(const UString& LinkName, const UString& FolderName);

// Writes the shortcut LinkName + ".lnk" (LinkName's last path component) to Target, with
// Arguments and Target's folder as working folder, into the folder of Kind, or into its
// SubFolder (not created) when that is not empty. An existing shortcut is replaced; when the
// folder is unknown or missing nothing is written and nothing is reported. Raises
// EOleSysError when the shell link object cannot be created.
void CreateShortcut(const UString& Target, const UString& Arguments, const UString& LinkName,
                    TShellFolderKind Kind, const UString& SubFolder);

// The full path of a shortcut file's target; empty for a target that is not a file, and
// kUnresolvedLinkText when the file cannot be loaded or resolved. Raises EOleSysError when
// the shell link object cannot be created.
UString ResolveLink(const UString& LinkFile);
