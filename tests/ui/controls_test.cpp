#include "ui/Application.h"
#include "ui/Controls.h"

#include "core/win_text.h"

#include <gtest/gtest.h>

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        form.Create({.windowClass = u"TUiTestForm", .caption = u"Controls", .width = 400, .height = 300});
    }
    TForm form;
};

UString RealText(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return FromWide(buffer);
}

TEST_F(Controls, FormHasSystemMenuMinimiseAndSizeableFrameButNoMaximise) {
    const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ(RealText(form.Handle()), u"Controls");
    EXPECT_EQ(form.Caption(), u"Controls");
    EXPECT_EQ(form.Font().name, u"Tahoma");
    EXPECT_EQ(form.Font().height, -11);
}

TEST_F(Controls, OuterSizeAndCentring) {
    form.SetOuterSize(503, 398);
    EXPECT_EQ(form.Width(), 503);
    EXPECT_EQ(form.Height(), 398);
    EXPECT_LT(form.ClientWidth(), 503);
    form.CenterOnDesktop();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(form.Left(), work.left + (work.right - work.left - 503) / 2);
    EXPECT_EQ(form.Top(), work.top + (work.bottom - work.top - 398) / 2);
}

TEST_F(Controls, ButtonClickRunsHandlerOnlyWhileEnabled) {
    TButton button;
    button.Create(form, {.bounds = {10, 10, 77, 22}, .caption = u"&Next >"});
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    button.Click();
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
    button.SetEnabled(false);
    EXPECT_FALSE(button.Enabled());
    button.Click();
    // A click message that still reaches the disabled button (queued before) does nothing.
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button.Handle()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button.Handle()));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(RealText(button.Handle()), u"&Next >");
    EXPECT_TRUE(GetWindowLongPtrW(button.Handle(), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(Controls, VisibilityIsTheControlsOwnEvenInsideAHiddenParent) {
    TPanel panel;
    panel.Create(form, {.bounds = {0, 0, 100, 100}, .visible = false});
    TLabel label;
    label.Create(panel, {.bounds = {1, 1, 50, 13}, .caption = u"x"});
    EXPECT_FALSE(panel.Visible());
    EXPECT_TRUE(label.Visible());
    EXPECT_FALSE(IsWindowVisible(label.Handle()));
    label.SetVisible(false);
    EXPECT_FALSE(label.Visible());
}

TEST_F(Controls, EditChangeEventFollowsEveryTextChange) {
    TEdit edit;
    edit.Create(form, {.bounds = {10, 10, 200, 21}});
    std::vector<UString> seen;
    edit.OnChange = [&] { seen.push_back(edit.Text()); };
    edit.SetText(u"C:\\Program Files");
    SendMessageW(edit.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"D:\\x"));
    SendMessageW(edit.Handle(), WM_CHAR, L'y', 0);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], u"C:\\Program Files");
    EXPECT_EQ(seen[1], u"D:\\x");
    EXPECT_EQ(edit.Text(), RealText(edit.Handle()));
}

TEST_F(Controls, CheckBoxCheckedStateAndCaption) {
    TCheckBox box;
    box.Create(form, {.bounds = {5, 5, 150, 20}, .caption = u"Create a desktop icon", .checked = true});
    EXPECT_TRUE(box.Checked());
    SendMessageW(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(box.Checked());
    box.SetChecked(true);
    EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(box.Caption(), u"Create a desktop icon");
}

TEST_F(Controls, MemoLinesCountTheLineAfterTheLastBreak) {
    TMemo memo;
    memo.Create(form, {.bounds = {18, 75, 200, 100}});
    EXPECT_TRUE(memo.ReadOnly());
    EXPECT_TRUE(memo.HasVerticalScrollBar());
    EXPECT_EQ(memo.Lines().Count(), 1);
    memo.Lines().Add(u"first");
    memo.Lines().Add(u"");
    memo.Lines().Add(u"a long line that is wider than the memo and therefore wraps on screen, "
                     u"which does not make it two lines of the text");
    EXPECT_EQ(memo.Lines().Count(), 4);
    EXPECT_EQ(memo.Lines()[0], u"first");
    EXPECT_EQ(memo.Lines()[1], u"");
    EXPECT_EQ(memo.Lines()[3], u"");
    EXPECT_EQ(memo.Caption().substr(0, 9), u"first\r\n\r\n");
    memo.Lines().Clear();
    EXPECT_EQ(memo.Lines().Count(), 1);
}

TEST_F(Controls, MemoFollowsAddedLinesUntilScrolledBackToTheTop) {
    TMemo memo;
    memo.Create(form, {.bounds = {18, 75, 200, 60}});
    for (int i = 0; i < 40; ++i) {
        memo.Lines().Add(u"line");
    }
    EXPECT_GT(memo.FirstVisibleLine(), 0);
    memo.ScrollToTop();
    EXPECT_EQ(memo.FirstVisibleLine(), 0);
}

TEST_F(Controls, LabelSizesItselfUnlessFixed) {
    TLabel autoLabel;
    autoLabel.Create(form, {.bounds = {41, 221, 52, 13}, .caption = u"Space required: 6 MB"});
    const int width = autoLabel.Width();
    EXPECT_GT(width, 52);
    EXPECT_GT(autoLabel.Height(), 0);
    autoLabel.SetCaption(u"Space required: 6 MB and a good deal more");
    EXPECT_GT(autoLabel.Width(), width);
    EXPECT_EQ(autoLabel.Left(), 41);

    TLabel fixed;
    fixed.Create(form, {.bounds = {184, 96, 304, 148}, .caption = u"short", .autoSize = false, .wordWrap = true});
    EXPECT_EQ(fixed.Width(), 304);
    EXPECT_EQ(fixed.Height(), 148);
    EXPECT_FALSE(GetWindowLongPtrW(fixed.Handle(), GWL_STYLE) & SS_LEFTNOWORDWRAP);
    EXPECT_EQ(RealText(fixed.Handle()), u"short");
}

TEST_F(Controls, FixedLabelGrowsOnlyAsFarAsAllowed) {
    const UString longText = u"Setup will install Corvane DemoPad 2.56 into the following folder.\n\n"
                             u"To continue, click Next. If you would like to select a different folder, "
                             u"click Browse.";
    TLabel label;
    label.Create(form, {.bounds = {40, 75, 200, 20}, .caption = u"short", .autoSize = false,
                        .wordWrap = true, .maxHeight = 57});
    EXPECT_EQ(label.Height(), 20);  // never smaller than its own height
    label.SetCaption(longText);
    EXPECT_EQ(label.Width(), 200);
    EXPECT_EQ(label.Height(), 57);  // the text wants more, the limit wins
    EXPECT_EQ(label.Top(), 75);
    label.SetCaption(u"short again");
    EXPECT_EQ(label.Height(), 20);
}

TEST_F(Controls, FontsPerControlAreTheRealWindowFonts) {
    TLabel title;
    title.Create(form, {.bounds = {0, 0, 305, 53}, .autoSize = false,
                        .font = TFontInfo{.height = -16, .bold = true}});
    EXPECT_EQ(title.Font().name, u"Tahoma");
    EXPECT_EQ(title.Font().height, -16);
    EXPECT_TRUE(title.Font().bold);
    title.SetFont({.name = u"宋体", .height = FontHeightForPoints(9)});
    EXPECT_EQ(title.Font().name, u"宋体");
    EXPECT_EQ(title.Font().height, -12);
    EXPECT_FALSE(title.Font().bold);

    TButton inherits;
    inherits.Create(form, {.bounds = {0, 60, 60, 22}, .caption = u"x"});
    EXPECT_EQ(inherits.Font().name, u"Tahoma");
    EXPECT_EQ(inherits.Font().height, -11);
}

TEST_F(Controls, ProgressBarRangePositionAndStep) {
    TProgressBar bar;
    bar.Create(form, {.bounds = {35, 328, 185, 12}, .step = 5, .visible = false});
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_FALSE(bar.Visible());
    bar.SetPosition(42);
    EXPECT_EQ(bar.Position(), 42);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 47);
    bar.SetPosition(0);
    EXPECT_EQ(bar.Position(), 0);
    wchar_t className[64] = {};
    GetClassNameW(bar.Handle(), className, 64);
    EXPECT_STREQ(className, L"msctls_progress32");
}

TEST_F(Controls, GroupBoxRoutesItsChildrensNotifications) {
    TGroupBox box;
    box.Create(form, {.bounds = {40, 132, 419, 63}, .caption = u"Destination Folder"});
    TEdit edit;
    edit.Create(box, {.bounds = {17, 24, 305, 21}, .tabOrder = 0});
    TButton browse;
    browse.Create(box, {.bounds = {325, 24, 77, 21}, .caption = u"&Browse...", .tabOrder = 1});
    int changes = 0;
    int clicks = 0;
    edit.OnChange = [&] { ++changes; };
    browse.OnClick = [&] { ++clicks; };
    edit.SetText(u"C:\\");
    browse.Click();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit.Left(), 17);
    EXPECT_EQ(edit.Top(), 24);
    EXPECT_EQ(box.Caption(), u"Destination Folder");
    EXPECT_TRUE(GetWindowLongPtrW(box.Handle(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
}

TEST_F(Controls, TabOrderDecidesWindowOrder) {
    TButton third;
    TButton first;
    TButton second;
    third.Create(form, {.bounds = {0, 0, 10, 10}, .caption = u"3", .tabOrder = 2});
    first.Create(form, {.bounds = {0, 20, 10, 10}, .caption = u"1", .tabOrder = 0});
    second.Create(form, {.bounds = {0, 40, 10, 10}, .caption = u"2", .tabOrder = 1});
    EXPECT_EQ(GetNextDlgTabItem(form.Handle(), first.Handle(), FALSE), second.Handle());
    EXPECT_EQ(GetNextDlgTabItem(form.Handle(), second.Handle(), FALSE), third.Handle());
    EXPECT_EQ(GetNextDlgTabItem(form.Handle(), third.Handle(), FALSE), first.Handle());
}

}  // namespace
