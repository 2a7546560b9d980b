#pragma once
// The running-product guard: the wizard refuses to install while the product's own main
// window is open, recognised by its window class and its English or Chinese title.

#include "core/text.h"

// The title under which a top-level window of class `windowClass` is open: `titleEn` is
// looked for first, then `titleCn` (whole title, case ignored). Empty when neither is open.
// An empty class or title never matches: it would otherwise catch unrelated windows.
UString FindRunningProductTitle(const UString& windowClass, const UString& titleEn, const UString& titleCn);

struct RefusalMessage {
    UString text;
    UString caption;
};

// The refusal shown in `language` (SetupLanguage) when the product runs under
// `runningTitle`. The English message always names the English title.
RefusalMessage RefusalMessageFor(int language, const UString& runningTitle, const UString& titleEn);

// Shows the refusal with an OK button and no icon, before any window of the wizard exists.
void ShowRefusal(const RefusalMessage& message);
