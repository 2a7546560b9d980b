// Prints size texts with the user's decimal separator, for the check that runs it under a
// locale whose separator is a comma.
#include "shell/FormatSize.h"

#include <cstdio>

int main() {
    std::printf("%s|%s|%s\n", Utf16ToUtf8(FormatSize(1310720)).c_str(),
                Utf16ToUtf8(FormatSize(1342177280)).c_str(),
                Utf16ToUtf8(FormatSize(2560)).c_str());
    return 0;
}
