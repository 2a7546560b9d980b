#include "app/ProductSettings.h"

#include "core/ansi.h"
#include "core/win_text.h"

#include <windows.h>

int SetupLanguage = kLanguageEnglish;

int LanguageForCodePage(unsigned codePage) {
    return codePage == 936 ? kLanguageChinese : kLanguageEnglish;
}

void DetermineSetupLanguage() {
    SetupLanguage = LanguageForCodePage(AnsiCodePage());
}

UString ReadSetting(unsigned id) {
    // With a buffer size of 0 LoadStringW hands out a pointer into the resource itself,
    // so strings of any length are read whole, whatever language they are stored under.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? FromWide(text, static_cast<size_t>(length)) : UString();
}
