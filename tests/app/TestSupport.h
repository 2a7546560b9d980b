#pragma once
// Shared by the start-up tests: where the build put the demo product and its Setup.exe,
// the demo product's definition, and stand-in product windows.

#include "core/text.h"

#include <windows.h>

#include <map>
#include <string>

namespace apptest {

// A folder or file of the build tree, from a Unix path in an environment variable, as a
// Windows path (Wine shows the Unix root as drive Z:). Empty when the variable is unset.
std::wstring BuildPath(const char* variable, const std::wstring& below = L"");

// The [Product] keys of the staged demo product definition (keys in lower case).
std::map<std::string, UString> DemoProduct();

// A top-level window of the given class and title owned by the test, destroyed with it.
class ProductWindow {
public:
    ProductWindow(const UString& className, const UString& title);
    ~ProductWindow();
    ProductWindow(const ProductWindow&) = delete;
    ProductWindow& operator=(const ProductWindow&) = delete;

private:
    HWND window_;
};

// A started program, terminated when still running at the end of the test.
class Process {
public:
    explicit Process(const std::wstring& path, const std::wstring& workingFolder = L"");
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return info_.dwProcessId; }
    // The exit code once it ended within `timeoutMs`; STILL_ACTIVE otherwise.
    DWORD WaitForExit(DWORD timeoutMs);

private:
    PROCESS_INFORMATION info_{};
};

} // namespace apptest
