#pragma once
// The size text shown to the user: a byte count as a number, a blank and one of the units
// Bytes, KB, MB, GB.

#include "core/text.h"

#include <cstdint>

// With the decimal separator of the user's locale (Windows) or "." (elsewhere).
UString FormatSize(int64_t Bytes);

// With the given decimal separator.
UString FormatSize(int64_t Bytes, char16_t decimalSeparator);

// The decimal separator FormatSize(Bytes) uses.
char16_t LocaleDecimalSeparator();
