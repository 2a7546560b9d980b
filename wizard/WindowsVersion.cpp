#include "wizard/WindowsVersion.h"

#include <windows.h>

int WindowsMajorVersion() {
    // RtlGetVersion is not subject to the manifest-based version lie of GetVersionExW.
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        const auto rtlGetVersion =
            reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (rtlGetVersion != nullptr && rtlGetVersion(&info) == 0) {
            return static_cast<int>(info.dwMajorVersion);
        }
    }
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
    return static_cast<int>(info.dwMajorVersion);
}
