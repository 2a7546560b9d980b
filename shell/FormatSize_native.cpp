#include "shell/FormatSize.h"

// Outside Windows there is no user locale to follow: sizes print with a full stop.
char16_t LocaleDecimalSeparator() {
    return u'.';
}
