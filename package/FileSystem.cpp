// The platform-independent half of the file-system seam.

#include "package/FileSystem.h"

#include "package/FileSystem_detail.h"

std::string DisplayPath(const UString& path) {
    UString shown = path;
    for (auto& c : shown) {
        if (c == u'\\') {
            c = fs_detail::kNativeSeparator;
        }
    }
    return Utf16ToUtf8(shown);
}

UString TextFromCommandLine(const std::string& argument) {
    return fs_detail::CommandLineText(argument);
}

UString PathFromCommandLine(const std::string& argument) {
    UString path = TextFromCommandLine(argument);
    for (auto& c : path) {
        if (c == u'/') {
            c = u'\\';
        }
    }
    return path;
}

UString FolderFromCommandLine(const std::string& argument) {
    UString folder = PathFromCommandLine(argument);
    if (folder.empty()) {
        return folder;
    }
    while (folder.size() > 1 && folder.back() == u'\\' && folder[folder.size() - 2] == u'\\') {
        folder.pop_back();
    }
    if (folder.back() != u'\\') {
        folder.push_back(u'\\');
    }
    return folder;
}

bool ForceFolders(const UString& path) {
    UString folder = path;
    while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) {
        folder.pop_back();
    }
    if (folder.empty()) {
        // The root of the file system (natively "\"), or nothing at all.
        return !path.empty() && FolderExists(path);
    }
    if (FolderExists(folder)) {
        return true;
    }
    // Parents first. Prefixes that cannot be made (a drive root, a share) are left to the
    // final check: only the folder itself has to exist in the end.
    for (std::size_t i = 1; i < folder.size(); ++i) {
        if ((folder[i] == u'\\' || folder[i] == u'/') && folder[i - 1] != u'\\' && folder[i - 1] != u'/') {
            const UString prefix = folder.substr(0, i);
            if (!FolderExists(prefix)) {
                fs_detail::MakeOneFolder(prefix);
            }
        }
    }
    return fs_detail::MakeOneFolder(folder);
}
