#pragma once
// Product settings (the string table compiled into Setup.exe) and the display language.

#include "core/text.h"

// Ids of the settings string table. 1001-1012 are the product's identity; 1013-1017 are
// product texts the wizard leaves to the product (home pages, paid-product licence clauses).
enum SettingId : unsigned {
    kSettingWindowClass = 1001,
    kSettingTitleEn = 1002,
    kSettingTitleCn = 1003,
    kSettingNameEn = 1004,
    kSettingNameCn = 1005,
    kSettingFreeware = 1009,
    kSettingExeName = 1010,
    kSettingVersion = 1011,
    kSettingRequiredSpace = 1012,
    kSettingHomePageEn = 1013,
    kSettingHomePageCn = 1014,
    kSettingPaidClauseEn13 = 1015,
    kSettingPaidClauseEn15 = 1016,
    kSettingPaidClauseCn5 = 1017,
};

// 0 Chinese (ANSI code page 936), 2 English (any other). Also the digit of the left-hand
// picture's resource name. Set once at start-up.
constexpr int kLanguageChinese = 0;
constexpr int kLanguageEnglish = 2;
extern int SetupLanguage;

// The language for an ANSI code page.
int LanguageForCodePage(unsigned codePage);

// SetupLanguage from the system's ANSI code page.
void DetermineSetupLanguage();

// A string of the executable's string table; an undefined id reads as the empty string.
UString ReadSetting(unsigned id);
