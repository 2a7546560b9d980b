// wizard-driver: one step of driving a window from a script, e.g.
//   wizard-driver wait "Setup - Corvane DemoPad" 30
//   wizard-driver click "Setup - Corvane DemoPad" "&Next >"
// Prints UTF-8 on standard output. Exit status 0 on success, 1 when the window or control
// did not appear in time, 2 on a usage error.

#include "tests/app/driver/WindowDriver.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDefaultTimeoutMs = 30000;

void Print(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr,
                        nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// Line feeds inside texts are shown as \n so that one control stays one line.
std::wstring OneLine(const std::wstring& text) {
    std::wstring line;
    for (const wchar_t c : text) {
        if (c == L'\n') {
            line += L"\\n";
        } else if (c != L'\r') {
            line += c;
        }
    }
    return line;
}

DWORD TimeoutArg(const std::vector<std::wstring>& args, size_t index) {
    return args.size() > index ? static_cast<DWORD>(std::wcstoul(args[index].c_str(), nullptr, 10) * 1000)
                               : kDefaultTimeoutMs;
}

int Usage() {
    Print(L"usage: wizard-driver COMMAND ARGS...\n"
          L"  wait TITLE [SECONDS]            wait for a top-level window\n"
          L"  gone TITLE [SECONDS]            wait until it has closed\n"
          L"  controls TITLE                  list its visible controls: class, id, enabled, text\n"
          L"  wait-control TITLE TEXT [SECONDS]\n"
          L"  click TITLE TEXT                click the visible button captioned TEXT\n"
          L"  set-edit TITLE TEXT             type TEXT into its first visible edit box\n"
          L"  check TITLE TEXT 0|1            tick or untick the check box captioned TEXT\n"
          L"  rect TITLE                      its outer rectangle: left top width height\n"
          L"  close TITLE                     ask it to close, as its close box would\n"
          L"  message-box [SECONDS]           wait for a message box and show it\n"
          L"  message-box-ok [SECONDS]        ... then press its first button\n");
    return 2;
}

HWND Window(const std::wstring& title, DWORD timeoutMs = 0) {
    return driver::WaitForWindow(nullptr, title.c_str(), timeoutMs);
}

int Run(const std::vector<std::wstring>& args) {
    if (args.empty()) {
        return Usage();
    }
    const std::wstring& command = args[0];
    if (command == L"message-box" || command == L"message-box-ok") {
        HWND box = driver::WaitForWindow(driver::kDialogClass, nullptr, TimeoutArg(args, 1));
        if (!box) {
            return 1;
        }
        const driver::MessageBoxContent content = driver::ReadMessageBox(box);
        std::wstring buttons;
        for (const std::wstring& button : content.buttons) {
            buttons += (buttons.empty() ? L"" : L", ") + button;
        }
        Print(L"caption: " + content.caption + L"\ntext: " + OneLine(content.text) + L"\nbuttons: " + buttons +
              L"\nicon: " + (content.hasIcon ? L"yes" : L"no") + L"\n");
        if (command == L"message-box-ok") {
            for (const driver::Control& control : driver::Controls(box)) {
                if (control.visible && driver::SameClass(control.className, L"Button")) {
                    driver::Click(control.handle);
                    break;
                }
            }
        }
        return 0;
    }
    if (args.size() < 2) {
        return Usage();
    }
    const std::wstring& title = args[1];
    if (command == L"wait") {
        return Window(title, TimeoutArg(args, 2)) ? 0 : 1;
    }
    if (command == L"gone") {
        HWND window = Window(title);
        return !window || driver::WaitUntilGone(window, TimeoutArg(args, 2)) ? 0 : 1;
    }
    HWND window = Window(title);
    if (!window) {
        Print(L"no window titled " + title + L"\n");
        return 1;
    }
    if (command == L"controls") {
        for (const driver::Control& control : driver::Controls(window)) {
            if (control.visible) {
                Print(control.className + L"\t" + std::to_wstring(control.id) + L"\t" +
                      (control.enabled ? L"enabled" : L"disabled") + L"\t" + OneLine(control.text) + L"\n");
            }
        }
        return 0;
    }
    if (command == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (command == L"rect") {
        RECT rect{};
        GetWindowRect(window, &rect);
        Print(std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top) + L" " +
              std::to_wstring(rect.right - rect.left) + L" " + std::to_wstring(rect.bottom - rect.top) + L"\n");
        return 0;
    }
    if (args.size() < 3) {
        return Usage();
    }
    const std::wstring& text = args[2];
    if (command == L"wait-control") {
        return driver::WaitForControl(window, text, TimeoutArg(args, 3)) ? 0 : 1;
    }
    if (command == L"set-edit") {
        for (const driver::Control& control : driver::Controls(window)) {
            if (control.visible && driver::SameClass(control.className, L"Edit")) {
                driver::SetText(control.handle, text);
                return 0;
            }
        }
        return 1;
    }
    HWND control = driver::FindControl(window, text);
    if (!control) {
        Print(L"no control captioned " + text + L"\n");
        return 1;
    }
    if (command == L"click") {
        driver::Click(control);
        return 0;
    }
    if (command == L"check" && args.size() > 3) {
        if (driver::IsChecked(control) != (args[3] == L"1")) {
            driver::Click(control);
        }
        return 0;
    }
    return Usage();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    return Run(args);
}
