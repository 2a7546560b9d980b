#include "shell/Drives.h"

#include "core/win_text.h"

#include <windows.h>

#include <vector>

int64_t DriveFreeSpace(char16_t Letter) {
    if (Letter == u'\0') {
        // An empty root would silently name the current drive.
        return -1;
    }
    const UString root{Letter, u':', u'\\'};
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(WidePtr(root), &available, nullptr, nullptr)) {
        return -1;
    }
    return static_cast<int64_t>(available.QuadPart);
}

UString GetFixedDrives() {
    const DWORD present = GetLogicalDrives();
    UString letters;
    for (int bit = 0; bit < 26; ++bit) {
        if ((present & (DWORD{1} << bit)) == 0) {
            continue;
        }
        const char16_t letter = static_cast<char16_t>(u'A' + bit);
        const UString root{letter, u':', u'\\'};
        if (GetDriveTypeW(WidePtr(root)) == DRIVE_FIXED) {
            letters += letter;
        }
    }
    return letters;
}

UString GetSystemDir() {
    std::vector<wchar_t> buffer(MAX_PATH);
    UINT length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        // Too long for the usual buffer: the answer was the size needed.
        buffer.assign(length + 1, L'\0');
        length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size()) {
        return UString();
    }
    return FromWide(buffer.data(), length) + u"\\";
}
