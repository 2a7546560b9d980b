#pragma once
// The single place where 8-bit text in the system ANSI code page meets UTF-16.
// On Windows it is the system conversion (CP_ACP, no flags, the code page's default
// character for what cannot be mapped); natively the code page is selectable, so the
// portable core can be tested under 1252 and 936 alike.

#include "core/text.h"

#include <string>
#include <string_view>

UString AnsiToUnicode(std::string_view bytes);
std::string UnicodeToAnsi(UStringView text);

// The ANSI code page the two conversions use.
unsigned AnsiCodePage();

#ifndef _WIN32
// Native builds only: choose the code page (1252 by default; 1252 and 936 are supported).
void SetAnsiCodePage(unsigned codePage);
#endif
