#pragma once
// Windows only: starting a program through the shell.

#include "core/text.h"
#include "shell/UniqueHandle.h"

// Starts FileName with Parameters through the shell (default verb, no owner window, the
// current directory inherited, shown normally). The result owns the started process's
// handle, or is empty when the shell reports failure (or gives no process); nothing waits
// for the program, and a result that is ignored closes the handle at once.
UniqueHandle LaunchProgram(const UString& FileName, const UString& Parameters);
