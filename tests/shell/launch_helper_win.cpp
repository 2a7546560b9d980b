// Started by the launch tests: writes its second argument into the file named by its first
// and exits, so the test can see that it really ran and with which parameters.
#include <windows.h>
#include <shellapi.h>

#include <string>

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 3) {
        return 2;
    }
    const HANDLE file = CreateFileW(arguments[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        LocalFree(arguments);
        return 3;
    }
    const std::wstring text = arguments[2];
    DWORD written = 0;
    WriteFile(file, text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
    LocalFree(arguments);
    return 0;
}
