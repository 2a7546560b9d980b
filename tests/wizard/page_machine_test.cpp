// The page machine driven through the real message loop: every step runs on an idle pass,
// after the wizard's own idle refresh, and queues a click as the mouse would.

#include "tests/wizard/WizardTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Shown {
    int page;
    const TPanel* panel;
    bool back;
    bool cancel;
    UString nextCaption;
    bool nextEnabled;
};

void ExpectShown(TForm1& f, const Shown& expected, const std::string& where) {
    SCOPED_TRACE(where);
    EXPECT_EQ(f.Page(), expected.page);
    for (const TPanel* panel : {&f.pnlStep1, &f.pnlStep2, &f.pnlStep3, &f.pnlStep4}) {
        EXPECT_EQ(panel->Visible(), panel == expected.panel);
    }
    EXPECT_EQ(expected.panel->Top(), 0);
    EXPECT_EQ(expected.panel->Height(), 308);
    EXPECT_EQ(expected.panel->Width(), f.ClientWidth());
    EXPECT_EQ(f.btnPrev.Visible(), expected.back);
    EXPECT_EQ(f.btnClose.Visible(), expected.cancel);
    EXPECT_TRUE(f.btnNext.Visible());
    EXPECT_EQ(f.btnNext.Caption(), expected.nextCaption);
    EXPECT_EQ(f.btnNext.Enabled(), expected.nextEnabled);
}

class PageMachine : public ::testing::TestWithParam<int> {
protected:
    LanguageScope language{GetParam()};
    std::unique_ptr<TForm1> form = CreateWizard();
};

TEST_P(PageMachine, ForwardAndBackThroughTheFirstThreePages) {
    TForm1& f = *form;
    // An accepted destination, so Install is enabled on page 3.
    f.editSetupDir.SetText(u"C:\\Program Files\\Corvane Soft\\TestPad");
    const Shown page1{1, &f.pnlStep1, false, true, f.CaptionNext(), true};
    const Shown page2{2, &f.pnlStep2, true, true, f.CaptionAgree(), true};
    const Shown page3{3, &f.pnlStep3, true, true, f.CaptionInstall(), true};
    const size_t ran = RunSteps(f, {
        [&] {
            ExpectShown(f, page1, "start");
            // The keyboard starts on Next; Tab skips the hidden pages and Back.
            EXPECT_EQ(GetFocus(), f.btnNext.Handle());
            EXPECT_EQ(GetNextDlgTabItem(f.Handle(), f.btnNext.Handle(), FALSE), f.btnClose.Handle());
            PostClick(f.btnNext);
        },
        [&] { ExpectShown(f, page2, "next from 1"); PostClick(f.btnPrev); },
        [&] { ExpectShown(f, page1, "back from 2"); PostClick(f.btnNext); },
        [&] { ExpectShown(f, page2, "next from 1 again"); PostClick(f.btnNext); },
        [&] {
            ExpectShown(f, page3, "next from 2");
            // Page 3 in tab order: the destination box, Browse, the desktop box, then the
            // buttons below.
            EXPECT_EQ(GetNextDlgTabItem(f.Handle(), f.btnNext.Handle(), FALSE), f.editSetupDir.Handle());
            EXPECT_EQ(GetNextDlgTabItem(f.Handle(), f.editSetupDir.Handle(), FALSE), f.btnBrowse.Handle());
            EXPECT_EQ(GetNextDlgTabItem(f.Handle(), f.btnBrowse.Handle(), FALSE), f.chkSCOnDesktop.Handle());
            PostClick(f.btnPrev);
        },
        [&] { ExpectShown(f, page2, "back from 3"); PostClick(f.btnNext); },
        [&] { ExpectShown(f, page3, "next from 2 again"); },
    });
    EXPECT_EQ(ran, 7u);
}

TEST_P(PageMachine, NextOnPage3FollowsTheFreeSpaceLabel) {
    TForm1& f = *form;
    f.editSetupDir.SetText(u"C:\\Program Files\\Corvane Soft\\TestPad");
    RunSteps(f, {
        [&] { PostClick(f.btnNext); },
        [&] { PostClick(f.btnNext); },
        [&] {
            EXPECT_EQ(f.Page(), 3);
            EXPECT_TRUE(f.btnNext.Enabled());
            f.editSetupDir.SetText(u"Q:x");
        },
        [&] {
            EXPECT_FALSE(f.lblFreeSize.Visible());
            EXPECT_FALSE(f.btnNext.Enabled());
            f.editSetupDir.SetText(u"c:\\tools");
        },
        [&] {
            EXPECT_TRUE(f.lblFreeSize.Visible());
            EXPECT_TRUE(f.btnNext.Enabled());
            // Only page 3 asks the label: back on page 2 Next is enabled while it is hidden.
            f.editSetupDir.SetText(u"");
            PostClick(f.btnPrev);
        },
        [&] {
            EXPECT_EQ(f.Page(), 2);
            EXPECT_FALSE(f.lblFreeSize.Visible());
            EXPECT_TRUE(f.btnNext.Enabled());
        },
    });
}

TEST_P(PageMachine, CancelClosesTheWindowOnEachOfTheFirstThreePages) {
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        std::unique_ptr<TForm1> wizard = CreateWizard();
        TForm1& f = *wizard;
        f.editSetupDir.SetText(u"C:\\Apps");
        std::vector<std::function<void()>> steps;
        for (int i = 1; i < page; ++i) {
            steps.push_back([&] { PostClick(f.btnNext); });
        }
        steps.push_back([&] { PostClick(f.btnClose); });
        steps.push_back([&] { ADD_FAILURE() << "the loop went on after Cancel"; });
        EXPECT_EQ(RunSteps(f, steps), static_cast<size_t>(page));
        EXPECT_TRUE(f.Closed());
        EXPECT_FALSE(IsWindowVisible(f.Handle()));
        EXPECT_EQ(f.Page(), page);
    }
}

TEST_P(PageMachine, CaptionsPerPageAreAllDifferent) {
    TForm1& f = *form;
    EXPECT_NE(f.CaptionNext(), f.CaptionAgree());
    EXPECT_NE(f.CaptionAgree(), f.CaptionInstall());
    EXPECT_NE(f.CaptionInstall(), f.CaptionFinish());
    EXPECT_NE(f.CaptionNext(), f.CaptionFinish());
    EXPECT_EQ(f.Page(), 1);
    EXPECT_EQ(f.ProgressBar1.Position(), 0);
    EXPECT_FALSE(f.ProgressBar1.Visible());
    EXPECT_EQ(f.ProgressBar1.Max(), 100);
    EXPECT_EQ(f.ProgressBar1.Step(), 5);
    f.SetProgress(37);
    EXPECT_EQ(f.ProgressBar1.Position(), 37);
}

TEST_P(PageMachine, UpdateNextCaptionByPage) {
    TForm1& f = *form;
    // Page 1 to 3 through Next; caption follows.
    f.btnNextClick();
    EXPECT_EQ(f.btnNext.Caption(), f.CaptionAgree());
    f.btnNextClick();
    EXPECT_EQ(f.btnNext.Caption(), f.CaptionInstall());
    f.btnPrevClick();
    EXPECT_EQ(f.btnNext.Caption(), f.CaptionAgree());
    f.btnPrevClick();
    EXPECT_EQ(f.Page(), 1);
    EXPECT_EQ(f.btnNext.Caption(), f.CaptionNext());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, PageMachine, ::testing::Values(kLanguageEnglish, kLanguageChinese),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == kLanguageChinese ? "Chinese" : "English";
                         });

}  // namespace
