#include "shell/Dialogs.h"

#include "core/win_text.h"
#include "shell/ApplicationTitle.h"
#include "shell/TaskWindows.h"

#include <shlobj.h>

#include <memory>

namespace {
// Item lists come from the shell's task allocator.
struct ItemListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;
} // namespace

void MsgBox(const UString& Text, const UString& Caption) {
    const UString caption = Caption.empty() ? ApplicationTitle() : Caption;
    const HWND owner = GetActiveWindow();
    const TaskWindowsDisabled blocked(owner);
    MessageBoxW(owner, WidePtr(Text), WidePtr(caption), MB_OK | MB_ICONINFORMATION);
}

UString BrowseFolder(HWND Owner, const UString& Title) {
    ItemList root;
    {
        PIDLIST_ABSOLUTE list = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(Owner, CSIDL_DRIVES, &list))) {
            root.reset(list);
        }
    }
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = Owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = WidePtr(Title);
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    const ItemList chosen(SHBrowseForFolderW(&info));
    if (!chosen) {
        return UString();
    }
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path)) {
        return UString();
    }
    return FromWide(path);
}
