#pragma once
// Windows only: COM result codes as errors.

#include "core/text.h"

#include <windows.h>

// The system's text for a result code, without its final line break and full stop.
UString SystemErrorText(HRESULT code);

// Raises EOleSysError with the system's text for `code`.
[[noreturn]] void ThrowComError(HRESULT code);
