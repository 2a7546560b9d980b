// What the system decides: the display language from the ANSI code page, the window height
// and the Quick Launch option from the Windows version. CTest runs these under several
// locales and Wine prefixes and says what to expect through the environment.

#include "tests/wizard/WizardTestSupport.h"

#include "wizard/WindowsVersion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

int ExpectedFromEnvironment(const char* name, int otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::stoi(value) : otherwise;
}

TEST(SystemLanguage, CodePageChoosesTheWizardsLanguage) {
    const unsigned codePage = GetACP();
    const int expectedCodePage = ExpectedFromEnvironment("STP_EXPECT_ACP", static_cast<int>(codePage));
    EXPECT_EQ(codePage, static_cast<unsigned>(expectedCodePage));

    const LanguageScope keep(SetupLanguage);
    DetermineSetupLanguage();
    const bool chinese = codePage == 936;
    EXPECT_EQ(SetupLanguage, chinese ? kLanguageChinese : kLanguageEnglish);
    const auto form = CreateWizard();
    EXPECT_EQ(form->Caption(), chinese ? UString(u"安装向导 - 测试记事本") : UString(u"Setup - Corvane TestPad"));
    EXPECT_EQ(form->btnNext.Caption(), chinese ? UString(u"下一步") : UString(u"&Next >"));
    EXPECT_EQ(form->lblClose.Visible(), !chinese);
}

TEST(WindowsVersion, HeightAndQuickLaunchFollowTheMajorVersion) {
    const int major = WindowsMajorVersion();
    const int expected = ExpectedFromEnvironment("STP_EXPECT_WINDOWS_MAJOR", major);
    EXPECT_EQ(major, expected);
    if (std::getenv("STP_EXPECT_WINDOWS_MAJOR") == nullptr) {
        EXPECT_GE(major, 6) << "the default test prefix reports a Windows of Vista or later";
    }
    const auto form = CreateWizard();
    EXPECT_EQ(form->Width(), 503);
    EXPECT_EQ(form->Height(), major >= 6 ? 398 : 385);
    EXPECT_EQ(form->chkSCOnQuick.Visible(), major < 6);
    EXPECT_TRUE(form->chkSCOnQuick.Checked());
    EXPECT_TRUE(form->chkSCOnDesktop.Checked());
}

}  // namespace
