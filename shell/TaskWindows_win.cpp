#include "shell/TaskWindows.h"

namespace {
struct Collect {
    HWND keep;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    auto* collect = reinterpret_cast<Collect*>(context);
    if (window != collect->keep && IsWindowVisible(window) && IsWindowEnabled(window)) {
        collect->windows->push_back(window);
    }
    return TRUE;
}
} // namespace

TaskWindowsDisabled::TaskWindowsDisabled(HWND keep) {
    Collect collect{keep, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&collect));
    for (HWND window : disabled_) {
        EnableWindow(window, FALSE);
    }
}

TaskWindowsDisabled::~TaskWindowsDisabled() {
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
        if (IsWindow(*it)) {
            EnableWindow(*it, TRUE);
        }
    }
}
