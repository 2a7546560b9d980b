#pragma once
// The application's title: the caption of message boxes that are given none. The program
// sets it once the main window's caption is known.

#include "core/text.h"

void SetApplicationTitle(const UString& title);
UString ApplicationTitle();
