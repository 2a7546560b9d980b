#pragma once
// Windows only: while an object of this class lives, the visible, enabled top-level windows
// of the calling thread (except `keep`) are disabled, as for a modal dialog that has a
// single owner but must block the whole application. They are enabled again, in reverse
// order, when it goes out of scope.

#include <windows.h>

#include <vector>

class TaskWindowsDisabled final {
public:
    explicit TaskWindowsDisabled(HWND keep);
    ~TaskWindowsDisabled();
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    std::vector<HWND> disabled_;
};
