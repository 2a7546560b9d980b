#pragma once
// System DLLs outside the set Windows always takes from its system folder (KnownDLLs) are
// not imported: for an imported DLL the loader looks beside Setup.exe first, where a planted
// copy may be waiting in a downloads folder. Such DLLs are loaded by their full path in the
// system folder when first needed.

#include <windows.h>

#include <commctrl.h>

// Registers common-control window classes with the system's comctl32
// (InitCommonControlsEx). False when the library or the function cannot be had.
inline bool InitSystemCommonControls(DWORD classes) {
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const InitFunction init = []() -> InitFunction {
        const wchar_t name[] = L"\\comctl32.dll";
        wchar_t path[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(path, MAX_PATH);
        if (length == 0 || length + ARRAYSIZE(name) > MAX_PATH) {
            return nullptr;
        }
        lstrcatW(path, name);
        // Stays loaded for the life of the process, as an imported DLL would.
        const HMODULE library = LoadLibraryW(path);
        if (!library) {
            return nullptr;
        }
        return reinterpret_cast<InitFunction>(
            reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
    }();
    if (!init) {
        return false;
    }
    const INITCOMMONCONTROLSEX request{sizeof(request), classes};
    return init(&request) != FALSE;
}
