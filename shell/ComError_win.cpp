#include "shell/ComError.h"

#include "core/win_text.h"
#include "shell/ShellErrors.h"

#include <cstdio>

namespace {
struct LocalFreeOnExit {
    wchar_t* text = nullptr;
    ~LocalFreeOnExit() {
        if (text != nullptr) {
            LocalFree(text);
        }
    }
};
} // namespace

UString SystemErrorText(HRESULT code) {
    LocalFreeOnExit buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
            FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer.text), 0,
        nullptr);
    UString text = length != 0 && buffer.text != nullptr ? FromWide(buffer.text, length)
                                                           : UString();
    while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) {
        text.pop_back();
    }
    if (text.empty()) {
        char fallback[40];
        std::snprintf(fallback, sizeof(fallback), "Error 0x%08lX",
                      static_cast<unsigned long>(code));
        text = Utf8ToUtf16(fallback);
    }
    return text;
}

void ThrowComError(HRESULT code) {
    throw EOleSysError(Utf16ToUtf8(SystemErrorText(code)), static_cast<int32_t>(code));
}
