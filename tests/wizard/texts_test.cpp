// The texts, fonts, layout moves, pictures and licence of both languages, read from the
// real windows of a freeware test product (TestPad 3.14, "7 MB").

#include "tests/wizard/WizardTestSupport.h"

#include "core/win_text.h"

#include <gtest/gtest.h>

namespace {

UString WindowText(HWND window) {
    std::wstring buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return FromWide(buffer.c_str(), static_cast<size_t>(length));
}

// The label texts as the window shows them: "\n" between lines.
struct LabelText {
    const TLabel& label;
    const char16_t* text;
};

class EnglishTexts : public ::testing::Test {
protected:
    LanguageScope language{kLanguageEnglish};
    std::unique_ptr<TForm1> form = CreateWizard();
};

class ChineseTexts : public ::testing::Test {
protected:
    LanguageScope language{kLanguageChinese};
    std::unique_ptr<TForm1> form = CreateWizard();
};

TEST_F(EnglishTexts, SettingsFieldsAndCaptions) {
    TForm1& f = *form;
    EXPECT_EQ(f.ProductName(), u"Corvane TestPad");
    EXPECT_EQ(f.Version(), u"3.14");
    EXPECT_EQ(f.RequiredSpace(), u"7 MB");
    EXPECT_EQ(f.ExeName(), u"TestPad");
    EXPECT_TRUE(f.Freeware());
    EXPECT_EQ(WindowText(f.Handle()), u"Setup - Corvane TestPad");
    EXPECT_EQ(Application.Title(), u"Setup - Corvane TestPad");
    EXPECT_EQ(f.CaptionBack(), u"< &Back");
    EXPECT_EQ(f.CaptionNext(), u"&Next >");
    EXPECT_EQ(f.CaptionCancel(), u"Cancel");
    EXPECT_EQ(f.CaptionAgree(), u"I &Agree");
    EXPECT_EQ(f.CaptionFinish(), u"&Finish");
    EXPECT_EQ(f.CaptionInstall(), u"&Install");
    EXPECT_EQ(f.MsgCreateDirFailed(), u"Destination folder can't be created, need to select another folder.");
    EXPECT_EQ(f.MsgExtractFailed(),
              u"An error occurred extracting files to the destination folder.\n\nWhether you're running an older "
              u"version of this software? If yes, please close it and then click Install.");
    EXPECT_EQ(f.BrowsePrompt(), u"Select or create a new folder:");
    EXPECT_EQ(f.FreeSpacePrefix(), u"Space available: ");
    EXPECT_EQ(WindowText(f.btnPrev.Handle()), u"< &Back");
    EXPECT_EQ(WindowText(f.btnNext.Handle()), u"&Next >");
    EXPECT_EQ(WindowText(f.btnClose.Handle()), u"Cancel");
}

TEST_F(EnglishTexts, ControlTexts) {
    TForm1& f = *form;
    const LabelText labels[] = {
        {f.lblWelcome, u"Welcome to the Corvane TestPad 3.14 Setup Wizard"},
        {f.lblWillInstall, u"This will install Corvane TestPad 3.14 on your computer.\n\nClick Next to continue, or "
                           u"Cancel to exit Setup."},
        {f.lblLicense, u"License Agreement"},
        {f.lblLicenseTip, u"Please read the following important infomation before continuing."},
        {f.lblAgreement, u"If you accept the terms of the agreement, click I Agree to continue. You must accept the "
                         u"agreement to install Corvane TestPad."},
        {f.lblFolder, u"Select Destination Location"},
        {f.lblFolderTip, u"Where should Corvane TestPad be installed?"},
        {f.lblSetupFolder, u"Setup will install Corvane TestPad 3.14 into the following folder.\n\nTo continue, click "
                           u"Next. If you would like to select a different folder, click Browse."},
        {f.lblNeedSize, u"Space required: 7 MB"},
        {f.lblComplete, u"Completing the Corvane TestPad Setup Wizard"},
        {f.lblClose, u"Setup has finished installing Corvane TestPad 3.14 on your computer.\n\nClick Finish to close "
                     u"this wizard."},
    };
    for (const LabelText& expected : labels) {
        EXPECT_EQ(WindowText(expected.label.Handle()), expected.text);
    }
    EXPECT_EQ(f.gbFolder.Caption(), u"Destination Folder");
    EXPECT_EQ(f.btnBrowse.Caption(), u"&Browse...");
    EXPECT_EQ(f.chkSCOnDesktop.Caption(), u"Create a desktop icon");
    EXPECT_EQ(f.chkSCOnQuick.Caption(), u"Create a Quick Launch icon");
    EXPECT_EQ(f.chkRunOnExit.Caption(), u"Launch Corvane TestPad");
}

TEST_F(EnglishTexts, LayoutMovesAndShownSecondLines) {
    TForm1& f = *form;
    EXPECT_EQ(f.lblFolder.Top(), 9);
    EXPECT_EQ(f.lblLicense.Top(), 9);
    EXPECT_EQ(f.lblFolderTip.Top(), 28);
    EXPECT_EQ(f.lblLicenseTip.Top(), 28);
    EXPECT_EQ(f.chkRunOnExit.Left(), 186);
    EXPECT_EQ(f.chkRunOnExit.Top(), 170);
    EXPECT_TRUE(f.lblFolderTip.Visible());
    EXPECT_TRUE(f.lblLicenseTip.Visible());
    EXPECT_TRUE(f.lblClose.Visible());
    // Unmoved in English.
    EXPECT_EQ(f.lblWelcome.Left(), 183);
    EXPECT_EQ(f.lblWelcome.Top(), 20);
    EXPECT_EQ(f.lblWillInstall.Left(), 184);
    EXPECT_EQ(f.lblWillInstall.Top(), 96);
    EXPECT_EQ(f.lblComplete.Left(), 183);
    EXPECT_EQ(f.lblComplete.Top(), 20);
    // Fonts stay those of the layout.
    EXPECT_EQ(f.lblWelcome.Font().name, u"Tahoma");
    EXPECT_EQ(f.lblWelcome.Font().height, -16);
    EXPECT_TRUE(f.lblWelcome.Font().bold);
    EXPECT_EQ(f.lblWillInstall.Font().name, u"Tahoma");
    EXPECT_EQ(f.lblWillInstall.Font().height, -11);
    EXPECT_TRUE(f.lblFolder.Font().bold);
    EXPECT_FALSE(f.lblFolderTip.Font().bold);
}

TEST_F(EnglishTexts, DestinationTextIsNotCutOffAndStaysAboveTheFolderBox) {
    TForm1& f = *form;
    EXPECT_EQ(f.lblSetupFolder.Top(), 75);
    EXPECT_EQ(f.lblSetupFolder.Width(), 420);
    EXPECT_GE(f.lblSetupFolder.Height(), 49);
    EXPECT_LE(f.lblSetupFolder.Top() + f.lblSetupFolder.Height(), f.gbFolder.Top());
    // The label holds every line its text needs in the font it has.
    const HDC dc = GetDC(f.lblSetupFolder.Handle());
    const auto font = reinterpret_cast<HFONT>(SendMessageW(f.lblSetupFolder.Handle(), WM_GETFONT, 0, 0));
    const HGDIOBJ old = SelectObject(dc, font);
    const UString text = f.lblSetupFolder.Caption();
    RECT needed{0, 0, f.lblSetupFolder.Width(), 0};
    DrawTextW(dc, WidePtr(text), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(f.lblSetupFolder.Handle(), dc);
    EXPECT_GE(f.lblSetupFolder.Height(), needed.bottom - needed.top);
}

TEST_F(EnglishTexts, FreewareLicenceLineByLine) {
    TMemoLines lines = form->Memo2.Lines();
    const char16_t* expected[] = {
        u"End User License Agreement",
        u"",
        u"Please read the following terms and conditions carefully before using Corvane TestPad. Use of this "
        u"software indicates you accept the terms of this license agreement and warranty.",
        u"",
        u"1. Disclaimer of Warranty",
        u"",
        u"Corvane TestPad (this software) is provided \"as-is\" and without warranty of any kind, express, implied "
        u"or otherwise, including without limitation, any warranty of merchantability or fitness for a particular "
        u"purpose.",
        u"",
        u"In no event shall the author of this software be held liable for data loss, damages, loss of profits or "
        u"any other kind of loss while using or misusing this software.",
        u"",
        u"2. License",
        u"",
        u"This software is freeware, you can unrestricted use of it.",
        u"",
        u"But without the permission from the author of this software, this software may not be used for any "
        u"commercial purposes, in any form.",
        u"",
        u"3. Restrictions on Use",
        u"",
        u"This software must not be decompiled, disassembled, reverse engineered or otherwise modified.",
        u"",
        u"",
        u"",
    };
    ASSERT_EQ(lines.Count(), 22);
    for (int i = 0; i < 22; ++i) {
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    }
    EXPECT_TRUE(form->Memo2.ReadOnly());
    EXPECT_TRUE(form->Memo2.HasVerticalScrollBar());
    EXPECT_EQ(form->Memo2.FirstVisibleLine(), 0);
}

TEST_F(ChineseTexts, SettingsFieldsAndCaptions) {
    TForm1& f = *form;
    EXPECT_EQ(f.ProductName(), u"测试记事本");
    EXPECT_EQ(WindowText(f.Handle()), u"安装向导 - 测试记事本");
    EXPECT_EQ(Application.Title(), u"安装向导 - 测试记事本");
    EXPECT_EQ(f.CaptionBack(), u"上一步");
    EXPECT_EQ(f.CaptionNext(), u"下一步");
    EXPECT_EQ(f.CaptionCancel(), u"取 消");
    EXPECT_EQ(f.CaptionAgree(), u"我同意");
    EXPECT_EQ(f.CaptionFinish(), u"完 成");
    EXPECT_EQ(f.CaptionInstall(), u"安 装");
    EXPECT_EQ(f.MsgCreateDirFailed(), u"无法创建目标文件夹，请重新指定文件夹路径。");
    EXPECT_EQ(f.MsgExtractFailed(), u"提取文件到目标文件夹时发生错误。\n\n您是否正在运行这个软件的旧版本？如果是，"
                                    u"请先关闭它，然后再次点击“安装”。");
    EXPECT_EQ(f.BrowsePrompt(), u"选择或新建文件夹：");
    EXPECT_EQ(f.FreeSpacePrefix(), u"剩余空间: ");
    EXPECT_EQ(WindowText(f.btnPrev.Handle()), u"上一步");
    EXPECT_EQ(WindowText(f.btnNext.Handle()), u"下一步");
    EXPECT_EQ(WindowText(f.btnClose.Handle()), u"取 消");
}

TEST_F(ChineseTexts, ControlTextsAndLayoutCaptions) {
    TForm1& f = *form;
    const LabelText labels[] = {
        {f.lblWelcome, u"欢迎使用 测试记事本 V3.14 安装\n向导"},
        {f.lblWillInstall, u"此向导将引导您完成安装过程。\n\n单击 [下一步] 继续，单击 [取消] 退出安装。"},
        {f.lblSetupFolder, u"安装程序将安装“测试记事本 V3.14”到下列文件夹中。\n\n如需安装到其它的文件夹，请直接修改"
                           u"或单击 [浏览] 选择另一个文件夹。"},
        {f.lblNeedSize, u"所需空间: 7 MB"},
        {f.lblComplete, u"测试记事本 V3.14 安装成功。"},
        {f.lblLicense, u"在安装之前，请阅读许可协议"},
        {f.lblLicenseTip, u"在安装之前，请阅读许可协议"},
        {f.lblAgreement, u"如果您接受协议中的条款，请单击 [我同意] 继续安装。"},
        {f.lblFolder, u"选择安装位置并设置选项"},
        {f.lblFolderTip, u"选择安装位置并设置选项"},
    };
    for (const LabelText& expected : labels) {
        EXPECT_EQ(WindowText(expected.label.Handle()), expected.text);
    }
    EXPECT_EQ(f.gbFolder.Caption(), u"目标文件夹");
    EXPECT_EQ(f.btnBrowse.Caption(), u"浏览(&S)...");
    EXPECT_EQ(f.chkSCOnDesktop.Caption(), u"创建桌面快捷方式");
    EXPECT_EQ(f.chkSCOnQuick.Caption(), u"创建快速启动栏快捷方式");
    EXPECT_EQ(f.chkRunOnExit.Caption(), u"立即运行软件");
}

TEST_F(ChineseTexts, FontsAndLayoutMoves) {
    TForm1& f = *form;
    for (const TLabel* label : {&f.lblWelcome, &f.lblWillInstall, &f.lblSetupFolder, &f.lblComplete}) {
        EXPECT_EQ(label->Font().name, u"宋体");
    }
    EXPECT_EQ(f.lblWillInstall.Font().height, -12);  // 9 points at 96 dpi
    EXPECT_EQ(f.lblSetupFolder.Font().height, -12);
    EXPECT_EQ(f.lblWelcome.Font().height, -16);
    EXPECT_TRUE(f.lblWelcome.Font().bold);
    EXPECT_EQ(f.lblComplete.Font().height, -16);
    EXPECT_TRUE(f.lblComplete.Font().bold);
    EXPECT_EQ(f.lblLicense.Font().name, u"Tahoma");

    EXPECT_EQ(f.lblWelcome.Left(), 193);
    EXPECT_EQ(f.lblWelcome.Top(), 40);
    EXPECT_EQ(f.lblWillInstall.Left(), 193);
    EXPECT_EQ(f.lblWillInstall.Top(), 116);
    EXPECT_EQ(f.lblComplete.Left(), 203);
    EXPECT_EQ(f.lblComplete.Top(), 28);
    EXPECT_EQ(f.chkRunOnExit.Left(), 207);
    EXPECT_EQ(f.chkRunOnExit.Top(), 111);
    EXPECT_EQ(f.lblFolder.Top(), 20);
    EXPECT_EQ(f.lblLicense.Top(), 20);
    EXPECT_FALSE(f.lblFolderTip.Visible());
    EXPECT_FALSE(f.lblLicenseTip.Visible());
    EXPECT_FALSE(f.lblClose.Visible());
}

TEST_F(ChineseTexts, FreewareLicenceLineByLine) {
    TMemoLines lines = form->Memo2.Lines();
    const char16_t* expected[] = {
        u"测试记事本 用户许可协议",
        u"",
        u"请仔细阅读和理解本用户许可协议中规定的所有权利和限制。在安装时，您需要决定接受或不接受本《协议》的条款。如果"
        u"接受，您可以继续安装，否则应该取消安装。",
        u"",
        u"1. 测试记事本（以下简称“本软件”）软件知识产权属软件作者所有，并且受著作权法、国际著作权条约和其它知识产权法"
        u"及条约的保护。",
        u"",
        u"2. 您不得对本软件进行反向工程、反向编译或反汇编，不得对本软件包含的文件及程序作任何修改，破坏软件的完整性。",
        u"",
        u"3. 本软件是免费软件，您可以免费使用，自由复制或传播本软件。但未经本软件作者允许，不得将本软件产品以任何形式"
        u"用于任何商业目的。",
        u"",
        u"4. 本软件保证不含有任何恶意或病毒程序，保证软件本身不会对用户的电脑造成损害，但由于用户的误操作导致的任何不良"
        u"后果，用户须自己承担风险。如果用户使用本软件产品用于任何非法目的，用户必须独立承担由此带来的法律责任。同时用"
        u"户必须遵守所有软件产品使用之相关法律。",
        u"",
        u"5. 若您未能遵守本《协议》之条款，则本软件作者在不妨碍其他权力之情况下，有权采取包括追究法律责任在内的相应措施"
        u"并终止本《用户许可协议》。",
        u"",
        u"",
        u"",
    };
    ASSERT_EQ(lines.Count(), 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    }
    EXPECT_EQ(form->Memo2.FirstVisibleLine(), 0);
}

TEST(WizardPictures, LeftPictureOfTheLanguageAndHeaderIcons) {
    for (const int language : {kLanguageEnglish, kLanguageChinese}) {
        const LanguageScope scope(language);
        const auto form = CreateWizard();
        EXPECT_EQ(form->Image1.Picture().Width(), 160);
        EXPECT_EQ(form->Image1.Picture().Height(), 308);
        EXPECT_EQ(form->Image2.Picture().Width(), 32);
        EXPECT_EQ(form->Image2.Picture().BitsPerPixel(), 24);
        EXPECT_EQ(form->Image3.Picture().Width(), 32);
        EXPECT_NE(form->Image3.Picture().Handle(), form->Image2.Picture().Handle());
        EXPECT_TRUE(form->Image2.Center() && form->Image2.Transparent());
        EXPECT_TRUE(form->Image3.Center() && form->Image3.Transparent());
        // The two fixtures differ in colour: red for Chinese, blue for English.
        const HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ old = SelectObject(dc, form->Image1.Picture().Handle());
        const COLORREF pixel = GetPixel(dc, 80, 150);
        SelectObject(dc, old);
        DeleteDC(dc);
        if (language == kLanguageChinese) {
            EXPECT_GT(GetRValue(pixel), GetBValue(pixel));
        } else {
            EXPECT_GT(GetBValue(pixel), GetRValue(pixel));
        }
    }
}

}  // namespace
