#pragma once
// Windows only: drives, their free space and the system directory.

#include "core/text.h"

#include <cstdint>

// Bytes free for the calling user on the volume Letter + ":\" (either case); -1 when the
// volume cannot be queried.
int64_t DriveFreeSpace(char16_t Letter);

// The upper-case letters of the fixed drives in alphabetical order, such as "CD".
UString GetFixedDrives();

// The system directory with a trailing backslash, or empty.
UString GetSystemDir();
