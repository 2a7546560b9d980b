#include "app/SafeDllSearch.h"

#include <windows.h>

void RestrictDllSearchToSystemFolder() {
    // Looked up at run time: systems without the update that brought it lack the function.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    if (const HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        const FARPROC address = GetProcAddress(kernel, "SetDefaultDllDirectories");
        if (address) {
            const auto setDefaultDllDirectories =
                reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(address));
            setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
        }
    }
    // Also takes the current folder out of the classic search order.
    SetDllDirectoryW(L"");
}
