#include "wizard/SetupForm.h"

#include "app/ProductSettings.h"
#include "wizard/SetupLayout.h"
#include "wizard/SetupTexts.h"
#include "wizard/TextToBool.h"
#include "wizard/WindowsVersion.h"

#include <string>

TForm1::TForm1() {
    CreateComponents();
    btnPrev.OnClick = [this] { btnPrevClick(); };
    btnNext.OnClick = [this] { btnNextClick(); };
    btnClose.OnClick = [this] { btnCloseClick(); };
    editSetupDir.OnChange = [this] { editSetupDirChange(); };
    btnBrowse.OnClick = [this] { btnBrowseClick(); };
    ApplicationEvents1.OnIdle = [this](bool& Done) { ApplicationEvents1Idle(Done); };
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    CreateLanguageTexts();
    SetUpWindowAndPages();
    SetUpDestinationPage();
}

// ---- Texts, pictures and licence of the display language ----------------------------------

void TForm1::CreateLanguageTexts() {
    FExeName = ReadSetting(kSettingExeName);
    FVersion = ReadSetting(kSettingVersion);
    FRequiredSpace = ReadSetting(kSettingRequiredSpace);
    FFreeware = StrToBool(ReadSetting(kSettingFreeware));

    const HMODULE module = GetModuleHandleW(nullptr);
    // The picture's name carries the language number: ImageLeft0 Chinese, ImageLeft2 English.
    Image1.SetPicture(LoadPictureResource(module, u"ImageLeft" + Utf8ToUtf16(std::to_string(SetupLanguage))));
    Image2.SetPicture(LoadBitmapResource(module, u"ImageIcon"));
    Image3.SetPicture(Image2.Picture().Copy());

    if (SetupLanguage == kLanguageChinese) {
        CreateChineseTexts();
    } else {
        CreateEnglishTexts();
    }
    Application.SetTitle(Caption());
}

void TForm1::CreateChineseTexts() {
    namespace Cn = ChineseTexts;
    FProductName = ReadSetting(kSettingNameCn);
    SetCaption(Cn::CaptionPrefix + FProductName);

    for (TLabel* label : {&lblWelcome, &lblWillInstall, &lblSetupFolder, &lblComplete}) {
        TFontInfo font = label->Font();
        font.name = Cn::FontName;
        if (label == &lblWillInstall || label == &lblSetupFolder) {
            font.height = FontHeightForPoints(Cn::SmallFontPoints);
        }
        label->SetFont(font);
    }

    lblWelcome.SetLeft(193);
    lblWillInstall.SetLeft(lblWelcome.Left());
    lblWelcome.SetTop(lblWelcome.Top() + 20);
    lblWillInstall.SetTop(lblWillInstall.Top() + 20);
    lblComplete.SetLeft(203);
    lblComplete.SetTop(28);

    FCaptionBack = Cn::CaptionBack;
    FCaptionNext = Cn::CaptionNext;
    FCaptionCancel = Cn::CaptionCancel;
    FCaptionAgree = Cn::CaptionAgree;
    FCaptionFinish = Cn::CaptionFinish;
    FCaptionInstall = Cn::CaptionInstall;
    FMsgCreateDirFailed = Cn::MsgCreateDirFailed;
    FMsgExtractFailed = Cn::MsgExtractFailed;
    FBrowsePrompt = Cn::BrowsePrompt;
    FFreeSpacePrefix = Cn::FreeSpacePrefix;

    const UString nameAndVersion = FProductName + Cn::VersionMark + FVersion;
    lblWelcome.SetCaption(Cn::Welcome1 + nameAndVersion + Cn::Welcome2);
    lblWillInstall.SetCaption(Cn::WillInstall);
    lblSetupFolder.SetCaption(Cn::SetupFolder1 + nameAndVersion + Cn::SetupFolder2);
    lblNeedSize.SetCaption(Cn::NeedSizePrefix + FRequiredSpace);
    lblComplete.SetCaption(nameAndVersion + Cn::Complete);

    FillChineseLicense();
}

void TForm1::CreateEnglishTexts() {
    namespace En = EnglishTexts;
    FProductName = ReadSetting(kSettingNameEn);

    lblFolder.SetTop(9);
    lblLicense.SetTop(9);
    chkRunOnExit.SetLeft(186);
    chkRunOnExit.SetTop(170);
    lblFolderTip.SetVisible(true);
    lblLicenseTip.SetVisible(true);
    lblClose.SetVisible(true);

    SetCaption(En::CaptionPrefix + FProductName);

    FCaptionBack = En::CaptionBack;
    FCaptionNext = En::CaptionNext;
    FCaptionCancel = En::CaptionCancel;
    FCaptionAgree = En::CaptionAgree;
    FCaptionFinish = En::CaptionFinish;
    FCaptionInstall = En::CaptionInstall;
    FMsgCreateDirFailed = En::MsgCreateDirFailed;
    FMsgExtractFailed = En::MsgExtractFailed;
    FBrowsePrompt = En::BrowsePrompt;
    FFreeSpacePrefix = En::FreeSpacePrefix;

    const UString nameAndVersion = FProductName + u" " + FVersion;
    lblWelcome.SetCaption(En::Welcome1 + nameAndVersion + En::Welcome2);
    lblWillInstall.SetCaption(En::WillInstall1 + nameAndVersion + En::WillInstall2);
    lblLicense.SetCaption(En::License);
    lblLicenseTip.SetCaption(En::LicenseTip);
    lblAgreement.SetCaption(En::Agreement + FProductName + u".");
    lblFolder.SetCaption(En::Folder);
    lblFolderTip.SetCaption(En::FolderTip1 + FProductName + En::FolderTip2);
    lblSetupFolder.SetCaption(En::SetupFolder1 + nameAndVersion + En::SetupFolder2);
    gbFolder.SetCaption(En::DestinationFolder);
    btnBrowse.SetCaption(En::Browse);
    lblNeedSize.SetCaption(En::NeedSizePrefix + FRequiredSpace);
    chkSCOnDesktop.SetCaption(En::DesktopIcon);
    chkSCOnQuick.SetCaption(En::QuickLaunchIcon);
    lblComplete.SetCaption(En::Complete1 + FProductName + En::Complete2);
    lblClose.SetCaption(En::Close1 + nameAndVersion + En::Close2);
    chkRunOnExit.SetCaption(En::RunOnExit + FProductName);

    FillEnglishLicense();
}

void TForm1::FillChineseLicense() {
    namespace Cn = ChineseTexts;
    TMemoLines lines = Memo2.Lines();
    lines.Add(FProductName + Cn::LicenseTitle);
    lines.Add(u"");
    lines.Add(Cn::LicenseIntro);
    lines.Add(u"");
    lines.Add(Cn::License1a + FProductName + Cn::License1b);
    lines.Add(u"");
    lines.Add(Cn::License2);
    lines.Add(u"");
    lines.Add(FFreeware ? Cn::License3Freeware : Cn::License3Paid);
    lines.Add(u"");
    lines.Add(Cn::License4);
    lines.Add(u"");
    if (FFreeware) {
        lines.Add(Cn::Number5 + UString(Cn::LicenseClosing));
    } else {
        lines.Add(Cn::Number5 + ReadSetting(kSettingPaidClauseCn5));
        lines.Add(u"");
        lines.Add(Cn::Number6 + UString(Cn::LicenseClosing));
    }
    lines.Add(u"");
    lines.Add(u"");
    // The licence is read from its first line.
    Memo2.ScrollToTop();
}

void TForm1::FillEnglishLicense() {
    namespace En = EnglishTexts;
    TMemoLines lines = Memo2.Lines();
    lines.Add(En::LicenseHeading);
    lines.Add(u"");
    lines.Add(En::LicenseIntro1 + (u" " + FProductName) + En::LicenseIntro2);
    lines.Add(u"");
    lines.Add(En::Disclaimer);
    lines.Add(u"");
    lines.Add(FProductName + En::AsIs1 + En::AsIs + En::AsIs2);
    lines.Add(u"");
    lines.Add(En::Liability);
    lines.Add(u"");
    lines.Add(En::LicenseSection);
    lines.Add(u"");
    lines.Add(FFreeware ? UString(En::FreewareUse) : ReadSetting(kSettingPaidClauseEn13));
    lines.Add(u"");
    lines.Add(FFreeware ? UString(En::FreewareCommercial) : ReadSetting(kSettingPaidClauseEn15));
    lines.Add(u"");
    lines.Add(En::Restrictions);
    lines.Add(u"");
    lines.Add(En::NoReverse);
    lines.Add(u"");
    lines.Add(u"");
    Memo2.ScrollToTop();
}

// ---- Window size, pages and buttons -------------------------------------------------------

void TForm1::SetUpWindowAndPages() {
    btnPrev.SetCaption(FCaptionBack);
    btnNext.SetCaption(FCaptionNext);
    btnClose.SetCaption(FCaptionCancel);
    const int major = WindowsMajorVersion();
    SetOuterSize(kFormOuterWidth, FormOuterHeightFor(major));
    pnlStep2.SetAlign(TAlign::Top);
    pnlStep3.SetAlign(TAlign::Top);
    pnlStep4.SetAlign(TAlign::Top);
    FPage = 1;
    ProgressBar1.SetPosition(0);
    chkSCOnQuick.SetVisible(QuickLaunchOfferedFor(major));
}

// ---- Page machine -----------------------------------------------------------------------

void TForm1::ApplicationEvents1Idle(bool& Done) {
    static_cast<void>(Done);  // left as passed: the loop waits for the next message
    pnlStep1.SetVisible(FPage == 1);
    pnlStep2.SetVisible(FPage == 2);
    pnlStep3.SetVisible(FPage == 3);
    pnlStep4.SetVisible(FPage == 4);
    btnPrev.SetVisible(FPage == 2 || FPage == 3);
    btnClose.SetVisible(FPage < 4);
    btnNext.SetEnabled(!(FPage == 3 && !lblFreeSize.Visible()));
}

void TForm1::UpdateNextCaption() {
    switch (FPage) {
    case 2:
        btnNext.SetCaption(FCaptionAgree);
        break;
    case 3:
        btnNext.SetCaption(FCaptionInstall);
        break;
    case 4:
        btnNext.SetCaption(FCaptionFinish);
        break;
    default:
        btnNext.SetCaption(FCaptionNext);
        break;
    }
}

void TForm1::btnPrevClick() {
    --FPage;
    UpdateNextCaption();
}

void TForm1::btnNextClick() {
    if (FInstalling) {
        return;
    }
    const UString caption = btnNext.Caption();
    if (caption == FCaptionFinish) {
        FinishSetup();
        return;
    }
    if (caption == FCaptionInstall) {
        FInstalling = true;
        const bool installed = InstallProduct();
        FInstalling = false;
        if (!installed) {
            return;
        }
    }
    ++FPage;
    UpdateNextCaption();
}

void TForm1::btnCloseClick() {
    Close();
}

void TForm1::SetProgress(int Percent) {
    ProgressBar1.SetPosition(Percent);
}
