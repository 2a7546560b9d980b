#pragma once
// The wizard window: four pages sharing the band above the separator, and Back, Next and
// Cancel below it. The idle refresh shows the current page's panel and sets the buttons;
// the click handlers change the page and Next's caption.

#include "core/text.h"
#include "ui/Application.h"
#include "ui/Controls.h"

class TForm1 final : public TForm {
public:
    // Creates the window and its controls, then runs FormCreate. The window is shown by
    // Application.Run once the form is the main form.
    TForm1();
    ~TForm1() override;

    // Components, in declaration order.
    TPanel pnlStep1;
    TBevel Bevel1;
    TImage Image1;
    TPanel pnlStep3;
    TBevel Bevel3;
    TLabel lblNeedSize;
    TLabel lblFreeSize;
    TPanel Panel4;
    TLabel lblFolder;
    TGroupBox gbFolder;
    TEdit editSetupDir;
    TButton btnBrowse;
    TCheckBox chkSCOnDesktop;
    TCheckBox chkSCOnQuick;
    TPanel pnlStep2;
    TBevel Bevel2;
    TLabel lblAgreement;
    TPanel Panel3;
    TLabel lblLicense;
    TMemo Memo2;
    TPanel pnlStep4;
    TCheckBox chkRunOnExit;
    TApplicationEvents ApplicationEvents1;
    TImage Image3;
    TButton btnPrev;
    TButton btnNext;
    TButton btnClose;
    TImage Image2;
    TProgressBar ProgressBar1;
    TLabel lblWillInstall;
    TLabel lblWelcome;
    TLabel lblSetupFolder;
    TLabel lblFolderTip;
    TLabel lblLicenseTip;
    TLabel lblClose;
    TLabel lblComplete;

    // Handlers.
    void FormCreate();
    void ApplicationEvents1Idle(bool& Done);
    void UpdateNextCaption();
    void btnPrevClick();
    void btnNextClick();
    void btnCloseClick();
    // The extractor's progress callback: the completed percentage, 0 to 100.
    void SetProgress(int Percent);
    // Destination page.
    void editSetupDirChange();
    void btnBrowseClick();
    void ShowFreeSpace();

    // Fields, read-only from outside.
    const UString& ProductName() const { return FProductName; }
    const UString& Version() const { return FVersion; }
    const UString& RequiredSpace() const { return FRequiredSpace; }
    const UString& ExeName() const { return FExeName; }
    bool Freeware() const { return FFreeware; }
    const UString& SetupDir() const { return FSetupDir; }
    int Page() const { return FPage; }
    const UString& FixedDrives() const { return FFixedDrives; }
    const UString& CaptionBack() const { return FCaptionBack; }
    const UString& CaptionNext() const { return FCaptionNext; }
    const UString& CaptionCancel() const { return FCaptionCancel; }
    const UString& CaptionAgree() const { return FCaptionAgree; }
    const UString& CaptionFinish() const { return FCaptionFinish; }
    const UString& CaptionInstall() const { return FCaptionInstall; }
    const UString& MsgCreateDirFailed() const { return FMsgCreateDirFailed; }
    const UString& MsgExtractFailed() const { return FMsgExtractFailed; }
    const UString& BrowsePrompt() const { return FBrowsePrompt; }
    const UString& FreeSpacePrefix() const { return FFreeSpacePrefix; }

private:
    void CreateComponents();
    // The three groups of creation steps.
    void CreateLanguageTexts();
    void SetUpWindowAndPages();
    void SetUpDestinationPage();
    void CreateChineseTexts();
    void CreateEnglishTexts();
    void FillChineseLicense();
    void FillEnglishLicense();
    // Next on pages 3 and 4. InstallProduct is false when the install failed.
    bool InstallProduct();
    void FinishSetup();
    void LockButtons(bool locked);

    UString FProductName;
    UString FVersion;
    UString FRequiredSpace;
    UString FExeName;
    bool FFreeware = false;
    UString FSetupDir;
    int FPage = 0;
    UString FFixedDrives;
    UString FCaptionBack;
    UString FCaptionNext;
    UString FCaptionCancel;
    UString FCaptionAgree;
    UString FCaptionFinish;
    UString FCaptionInstall;
    UString FMsgCreateDirFailed;
    UString FMsgExtractFailed;
    UString FBrowsePrompt;
    UString FFreeSpacePrefix;
    // Set while Install runs, so a click that arrives meanwhile starts no second install.
    bool FInstalling = false;
};
