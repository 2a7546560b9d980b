#include "shell/ApplicationTitle.h"

namespace {
UString& Title() {
    static UString title;
    return title;
}
} // namespace

void SetApplicationTitle(const UString& title) {
    Title() = title;
}

UString ApplicationTitle() {
    return Title();
}
