#pragma once
// Drives another process's windows the way a person would, through window messages:
// find a window, read its controls, click buttons, type into edit boxes. Used by the
// start-up and install tests and by the wizard-driver tool that the demo and screenshot
// scripts run.

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

struct Control {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring text;
    int id = 0;
    bool visible = false;
    bool enabled = false;
    RECT rect{}; // in screen coordinates
};

// A top-level window by class and/or title (either may be null for "any"), polled until it
// appears or `timeoutMs` passes. Null on time-out.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs);

// A visible top-level window of process `processId` whose class is `className` (any when
// null), polled like WaitForWindow.
HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs);

// Waits until `window` no longer exists. False on time-out.
bool WaitUntilGone(HWND window, DWORD timeoutMs);

std::wstring ClassOf(HWND window);
// Window class names compare without regard to case.
bool SameClass(const std::wstring& a, const wchar_t* b);
// The window's text, asked for with WM_GETTEXT so that controls of other processes answer.
std::wstring TextOf(HWND window);

// Every descendant of `window`, in Z order as EnumChildWindows walks them.
std::vector<Control> Controls(HWND window);

// The first visible control whose text is `text` (and whose class is `className`, when
// given); null when none.
HWND FindControl(HWND window, const std::wstring& text, const wchar_t* className = nullptr);

// Clicks a button without waiting for its handler (which may open a modal loop).
void Click(HWND button);

// Sets an edit box's text as typing would (its change notification fires).
void SetText(HWND edit, const std::wstring& text);

bool IsChecked(HWND checkBox);

// Waits until a visible control with text `text` exists in `window`. Null on time-out.
HWND WaitForControl(HWND window, const std::wstring& text, DWORD timeoutMs);

// What a message box shows: its caption, its message text, its visible buttons' texts and
// whether it shows an icon.
struct MessageBoxContent {
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;
    bool hasIcon = false;
};
MessageBoxContent ReadMessageBox(HWND box);

// The window class of dialog boxes, message boxes among them.
constexpr wchar_t kDialogClass[] = L"#32770";

} // namespace driver
