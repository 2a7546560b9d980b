#include "shell/Launch.h"

#include "core/win_text.h"

#include <shellapi.h>

UniqueHandle LaunchProgram(const UString& FileName, const UString& Parameters) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // No error dialog of the shell's own: a program that cannot be started is reported by
    // the empty result only.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    info.lpVerb = nullptr;
    info.lpFile = WidePtr(FileName);
    info.lpParameters = WidePtr(Parameters);
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) {
        return UniqueHandle();
    }
    return UniqueHandle(info.hProcess);
}
