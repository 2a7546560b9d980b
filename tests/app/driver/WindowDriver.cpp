#include "tests/app/driver/WindowDriver.h"

namespace driver {

namespace {

constexpr DWORD kPollMs = 50;
// A window that does not answer WM_GETTEXT within this time is busy; its text is then read
// from what the system keeps for it.
constexpr UINT kTextTimeoutMs = 5000;

// Windows of the polling thread itself (stand-ins for a product window) keep answering
// while it waits.
void PumpOwnMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

template <typename Probe>
auto Poll(DWORD timeoutMs, Probe probe) -> decltype(probe()) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        PumpOwnMessages();
        auto found = probe();
        if (found || GetTickCount64() >= deadline) {
            return found;
        }
        Sleep(kPollMs);
    }
}

struct ProcessWindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ProcessWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    if (search->className && !SameClass(ClassOf(window), search->className)) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CollectControl(HWND window, LPARAM param) {
    auto* controls = reinterpret_cast<std::vector<Control>*>(param);
    Control control;
    control.handle = window;
    control.className = ClassOf(window);
    control.text = TextOf(window);
    control.id = GetDlgCtrlID(window);
    control.visible = IsWindowVisible(window) != FALSE;
    control.enabled = IsWindowEnabled(window) != FALSE;
    GetWindowRect(window, &control.rect);
    controls->push_back(std::move(control));
    return TRUE;
}

bool IsIconStatic(HWND window) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    return (style & SS_TYPEMASK) == SS_ICON;
}

} // namespace

bool SameClass(const std::wstring& a, const wchar_t* b) {
    return _wcsicmp(a.c_str(), b) == 0;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
    return Poll(timeoutMs, [&] { return FindWindowW(className, title); });
}

HWND WaitForProcessWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
    return Poll(timeoutMs, [&] {
        ProcessWindowSearch search{processId, className, nullptr};
        EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    });
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    return Poll(timeoutMs, [&] { return !IsWindow(window); });
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length)) {
        wchar_t text[1024] = {};
        const int got = InternalGetWindowText(window, text, 1024);
        return std::wstring(text, got > 0 ? static_cast<size_t>(got) : 0);
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        kTextTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

std::vector<Control> Controls(HWND window) {
    std::vector<Control> controls;
    EnumChildWindows(window, CollectControl, reinterpret_cast<LPARAM>(&controls));
    return controls;
}

HWND FindControl(HWND window, const std::wstring& text, const wchar_t* className) {
    for (const Control& control : Controls(window)) {
        if (control.visible && control.text == text && (!className || SameClass(control.className, className))) {
            return control.handle;
        }
    }
    return nullptr;
}

void Click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void SetText(HWND edit, const std::wstring& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        kTextTimeoutMs, &result);
}

bool IsChecked(HWND checkBox) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(checkBox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &state);
    return state == BST_CHECKED;
}

HWND WaitForControl(HWND window, const std::wstring& text, DWORD timeoutMs) {
    return Poll(timeoutMs, [&] { return FindControl(window, text); });
}

MessageBoxContent ReadMessageBox(HWND box) {
    MessageBoxContent content;
    content.caption = TextOf(box);
    for (const Control& control : Controls(box)) {
        if (!control.visible) {
            continue;
        }
        if (SameClass(control.className, L"Button")) {
            content.buttons.push_back(control.text);
        } else if (SameClass(control.className, L"Static")) {
            if (IsIconStatic(control.handle)) {
                DWORD_PTR icon = 0;
                SendMessageTimeoutW(control.handle, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &icon);
                content.hasIcon = content.hasIcon || icon != 0;
            } else if (!control.text.empty()) {
                content.text = control.text;
            }
        }
    }
    return content;
}

} // namespace driver
