// The running-product guard: which title is found, and the refusal's text and caption.

#include "app/ProductSettings.h"
#include "app/RunningProductGuard.h"
#include "core/win_text.h"
#include "tests/app/TestSupport.h"
#include "tests/app/driver/WindowDriver.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using apptest::ProductWindow;

namespace {

struct RefusalCase {
    int language;
    UString runningTitle;
    UString titleEn;
    UString text;
    UString caption;
};

TEST(RefusalMessage, TextAndCaptionFollowTheLanguage) {
    const std::vector<RefusalCase> cases = {
        {kLanguageEnglish, u"DemoPad", u"DemoPad", u"DemoPad program is running, please close it first.", u"Setup"},
        // English names the English title even when the Chinese one was found.
        {kLanguageEnglish, u"演示记事本", u"DemoPad", u"DemoPad program is running, please close it first.",
         u"Setup"},
        {kLanguageChinese, u"演示记事本", u"DemoPad", u"演示记事本正在运行，请先退出后再进行安装。", u"安装向导"},
        {kLanguageChinese, u"DemoPad", u"DemoPad", u"DemoPad正在运行，请先退出后再进行安装。", u"安装向导"},
    };
    for (const RefusalCase& c : cases) {
        const RefusalMessage message = RefusalMessageFor(c.language, c.runningTitle, c.titleEn);
        EXPECT_EQ(message.text, c.text) << Utf16ToUtf8(c.runningTitle);
        EXPECT_EQ(message.caption, c.caption) << Utf16ToUtf8(c.runningTitle);
    }
}

struct WindowSpec {
    UString className;
    UString title;
};

struct FindCase {
    const char* name;
    std::vector<WindowSpec> windows;
    UString windowClass;
    UString titleEn;
    UString titleCn;
    UString expected;
};

// Class and titles unlikely to be used by anything else running under the same Wine.
const UString kClass = u"TfrmGuardProbe";
const UString kEn = u"Guard Probe Pad";
const UString kCn = u"守卫探针记事本";

TEST(FindRunningProductTitle, MatchesClassAndWholeTitle) {
    const std::vector<FindCase> cases = {
        {"none", {}, kClass, kEn, kCn, u""},
        {"English title", {{kClass, kEn}}, kClass, kEn, kCn, kEn},
        {"Chinese title", {{kClass, kCn}}, kClass, kEn, kCn, kCn},
        {"case ignored, settings text returned", {{kClass, u"GUARD PROBE pad"}}, kClass, kEn, kCn, kEn},
        {"other class, same title", {{u"TfrmGuardOther", kEn}}, kClass, kEn, kCn, u""},
        {"same class, document name added", {{kClass, kEn + u" - notes.txt"}}, kClass, kEn, kCn, u""},
        {"both titles: English first", {{kClass, kCn}, {kClass, kEn}}, kClass, kEn, kCn, kEn},
        {"empty Chinese title does not catch untitled windows", {{kClass, u""}}, kClass, kEn, u"", u""},
        {"empty class disables the lookup", {{kClass, kEn}}, u"", kEn, kCn, u""},
    };
    for (const FindCase& c : cases) {
        std::vector<std::unique_ptr<ProductWindow>> windows;
        for (const WindowSpec& spec : c.windows) {
            windows.push_back(std::make_unique<ProductWindow>(spec.className, spec.title));
        }
        EXPECT_EQ(Utf16ToUtf8(FindRunningProductTitle(c.windowClass, c.titleEn, c.titleCn)),
                  Utf16ToUtf8(c.expected))
            << c.name;
    }
}

// The demo product itself, running: its window carries the title of the system's language.
TEST(FindRunningProductTitle, FindsTheRunningDemoProduct) {
    const auto product = apptest::DemoProduct();
    const UString windowClass = product.at("windowclass");
    const UString titleEn = product.at("titleen");
    const UString titleCn = product.at("titlecn");
    ASSERT_EQ(FindRunningProductTitle(windowClass, titleEn, titleCn), u"") << "a copy is already running";

    apptest::Process demoPad(apptest::BuildPath("STP_DEMO_PRODUCT", L"files\\app\\DemoPad.exe"));
    HWND window = driver::WaitForProcessWindow(demoPad.Id(), WidePtr(windowClass), 30000);
    ASSERT_NE(window, nullptr);
    const UString expected = GetACP() == 936 ? titleCn : titleEn;
    EXPECT_EQ(Utf16ToUtf8(FromWide(driver::TextOf(window).c_str())), Utf16ToUtf8(expected));
    EXPECT_EQ(Utf16ToUtf8(FindRunningProductTitle(windowClass, titleEn, titleCn)), Utf16ToUtf8(expected));
}

} // namespace
