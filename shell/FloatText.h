#pragma once
// Decimal text of a floating-point value in the "general" form used for every number the
// user sees: the shortest of fixed and scientific notation, at most `precision` significant
// digits, no trailing zeros, no thousands separators. Digits are derived from the exact
// binary value (no printf), so the result is the same on every platform and C runtime.

#include "core/text.h"

UString FormatFloatGeneral(long double value, int precision, char16_t decimalSeparator);
