#pragma once
// Platform primitives behind FileSystem.h, one implementation per platform.

#include "core/text.h"

#include <string>

namespace fs_detail {
// Creates one folder whose parent exists; true when it exists afterwards.
bool MakeOneFolder(const UString& path);
// Command-line text as UTF-16 (UTF-8 natively, the ANSI code page on Windows).
UString CommandLineText(const std::string& argument);
// The separator this platform's users write.
constexpr char16_t kNativeSeparator =
#ifdef _WIN32
    u'\\';
#else
    u'/';
#endif
} // namespace fs_detail
