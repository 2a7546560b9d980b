#pragma once
// The text-to-Boolean rule of the settings: a number is true unless it is zero ("-1" and
// "1" are true, "0" false); otherwise "True" or "False" in any case. Anything else is an
// EConvertError.

#include "core/text.h"

bool StrToBool(const UString& text);
