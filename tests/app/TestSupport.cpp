#include "tests/app/TestSupport.h"

#include "core/win_text.h"

#include <cstdlib>
#include <fstream>
#include <cctype>
#include <stdexcept>

namespace apptest {

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return std::string();
    }
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterPlainClass(const UString& className) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = WidePtr(className);
    RegisterClassW(&windowClass); // a second registration of the same class fails harmlessly
}

} // namespace

std::wstring BuildPath(const char* variable, const std::wstring& below) {
    const char* unixPath = std::getenv(variable);
    if (!unixPath || !*unixPath) {
        return std::wstring();
    }
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c) {
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    }
    if (!below.empty()) {
        path += L"\\" + below;
    }
    return path;
}

std::map<std::string, UString> DemoProduct() {
    const std::wstring path = BuildPath("STP_DEMO_PRODUCT", L"product.ini");
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) {
        throw std::runtime_error("demo product definition not found; is STP_DEMO_PRODUCT set?");
    }
    std::map<std::string, UString> keys;
    std::string line;
    bool inProduct = false;
    while (std::getline(file, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            inProduct = line == "[Product]";
            continue;
        }
        const size_t equals = line.find('=');
        if (inProduct && equals != std::string::npos) {
            std::string key = Trim(line.substr(0, equals));
            for (char& c : key) {
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            keys[key] = Utf8ToUtf16(Trim(line.substr(equals + 1)));
        }
    }
    return keys;
}

ProductWindow::ProductWindow(const UString& className, const UString& title) {
    RegisterPlainClass(className);
    window_ = CreateWindowExW(0, WidePtr(className), WidePtr(title), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) {
        throw std::runtime_error("cannot create a stand-in product window");
    }
}

ProductWindow::~ProductWindow() {
    DestroyWindow(window_);
}

Process::Process(const std::wstring& path, const std::wstring& workingFolder) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info_)) {
        throw std::runtime_error("cannot start " + Utf16ToUtf8(FromWide(path.c_str())));
    }
}

Process::~Process() {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD Process::WaitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

} // namespace apptest
