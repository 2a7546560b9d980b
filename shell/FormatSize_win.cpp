#include "shell/FormatSize.h"

#include <windows.h>

// The first character of the user's decimal separator; a full stop when none is set.
char16_t LocaleDecimalSeparator() {
    wchar_t buffer[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) == 0 ||
        buffer[0] == L'\0') {
        return u'.';
    }
    return static_cast<char16_t>(buffer[0]);
}
