// The real Setup.exe of the demo product at start-up: it refuses with a message box while
// the product runs, and shows the wizard otherwise.

#include "core/win_text.h"
#include "tests/app/TestSupport.h"
#include "tests/app/driver/WindowDriver.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <memory>
#include <vector>

using apptest::ProductWindow;

namespace {

constexpr DWORD kWaitMs = 60000;

bool Chinese() {
    return GetACP() == 936;
}

std::string U8(const std::wstring& text) {
    return Utf16ToUtf8(FromWide(text.c_str(), text.size()));
}

std::string U8(const UString& text) {
    return Utf16ToUtf8(text);
}

UString Upper(UString text) {
    for (char16_t& c : text) {
        c = static_cast<char16_t>(std::towupper(c));
    }
    return text;
}

struct Product {
    UString windowClass;
    UString titleEn;
    UString titleCn;
    UString nameEn;
    UString nameCn;
};

Product DemoProduct() {
    const auto keys = apptest::DemoProduct();
    return {keys.at("windowclass"), keys.at("titleen"), keys.at("titlecn"), keys.at("nameen"), keys.at("namecn")};
}

std::wstring SetupPath() {
    return apptest::BuildPath("STP_DEMO_SETUP");
}

// What the refusal must say when the product runs under `runningTitle`.
void ExpectRefusal(const driver::MessageBoxContent& box, const Product& product, const UString& runningTitle) {
    if (Chinese()) {
        EXPECT_EQ(U8(box.text), U8(runningTitle + u"正在运行，请先退出后再进行安装。"));
        EXPECT_EQ(U8(box.caption), "安装向导");
    } else {
        EXPECT_EQ(U8(box.text), U8(product.titleEn + u" program is running, please close it first."));
        EXPECT_EQ(U8(box.caption), "Setup");
    }
    EXPECT_EQ(box.buttons.size(), 1u) << "only an OK button";
    EXPECT_FALSE(box.hasIcon);
}

struct VisibleWindows {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<VisibleWindows*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    VisibleWindows search{processId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs Setup.exe and expects the refusal naming `runningTitle`; dismisses it.
void ExpectSetupRefuses(const Product& product, const UString& runningTitle) {
    apptest::Process setup(SetupPath());
    HWND box = driver::WaitForProcessWindow(setup.Id(), driver::kDialogClass, kWaitMs);
    ASSERT_NE(box, nullptr) << "no message box";
    ExpectRefusal(driver::ReadMessageBox(box), product, runningTitle);
    EXPECT_EQ(VisibleWindowsOf(setup.Id()), std::vector<HWND>{box}) << "the message box is the only window";
    for (const driver::Control& control : driver::Controls(box)) {
        if (control.visible && driver::SameClass(control.className, L"Button")) {
            driver::Click(control.handle);
        }
    }
    EXPECT_EQ(setup.WaitForExit(kWaitMs), 0u);
}

// Runs Setup.exe and expects the wizard window; closes it.
void ExpectSetupShowsWizard(const Product& product) {
    apptest::Process setup(SetupPath());
    HWND wizard = driver::WaitForProcessWindow(setup.Id(), nullptr, kWaitMs);
    ASSERT_NE(wizard, nullptr) << "no window";
    EXPECT_NE(driver::ClassOf(wizard), driver::kDialogClass) << U8(driver::TextOf(wizard));
    const UString caption = Chinese() ? u"安装向导 - " + product.nameCn : u"Setup - " + product.nameEn;
    EXPECT_EQ(U8(driver::TextOf(wizard)), U8(caption));
    PostMessageW(wizard, WM_CLOSE, 0, 0);
    EXPECT_EQ(setup.WaitForExit(kWaitMs), 0u);
}

class SetupStart : public ::testing::Test {
protected:
    void SetUp() override {
        if (SetupPath().empty()) {
            GTEST_SKIP() << "STP_DEMO_SETUP is not set";
        }
        product_ = DemoProduct();
    }
    Product product_;
};

struct StartCase {
    const char* name;
    std::vector<std::pair<UString, UString>> windows; // class, title
    bool refused;
    UString runningTitle;
};

TEST_F(SetupStart, RefusesOnlyForTheProductsOwnWindow) {
    const Product& p = product_;
    const std::vector<StartCase> cases = {
        {"no product window", {}, false, u""},
        {"English title", {{p.windowClass, p.titleEn}}, true, p.titleEn},
        {"Chinese title", {{p.windowClass, p.titleCn}}, true, p.titleCn},
        {"title in other case", {{p.windowClass, Upper(p.titleEn)}}, true, p.titleEn},
        {"both titles", {{p.windowClass, p.titleCn}, {p.windowClass, p.titleEn}}, true, p.titleEn},
        {"other class, same title", {{u"TfrmOther", p.titleEn}}, false, u""},
        {"same class, document in title", {{p.windowClass, p.titleEn + u" - notes.txt"}}, false, u""},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<ProductWindow>> windows;
        for (const auto& [className, title] : c.windows) {
            windows.push_back(std::make_unique<ProductWindow>(className, title));
        }
        if (c.refused) {
            ExpectSetupRefuses(p, c.runningTitle);
        } else {
            ExpectSetupShowsWizard(p);
        }
    }
}

TEST_F(SetupStart, RefusesWhileDemoPadRuns) {
    apptest::Process demoPad(apptest::BuildPath("STP_DEMO_PRODUCT", L"files\\app\\DemoPad.exe"));
    ASSERT_NE(driver::WaitForProcessWindow(demoPad.Id(), WidePtr(product_.windowClass), kWaitMs), nullptr);
    ExpectSetupRefuses(product_, Chinese() ? product_.titleCn : product_.titleEn);
}

} // namespace
