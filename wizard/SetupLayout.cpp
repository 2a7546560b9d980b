// The window layout: every control with its parent, position, captions of the layout and
// tab order. The creation handler adapts texts, fonts and positions to the language.

#include "wizard/SetupLayout.h"

#include "wizard/SetupForm.h"
#include "wizard/SetupTexts.h"

int FormOuterHeightFor(int windowsMajorVersion) {
    return windowsMajorVersion >= kFirstVersionWithoutQuickLaunch ? kFormOuterHeight : kFormOuterHeightBeforeVista;
}

bool QuickLaunchOfferedFor(int windowsMajorVersion) {
    return windowsMajorVersion < kFirstVersionWithoutQuickLaunch;
}

void TForm1::CreateComponents() {
    Create({.windowClass = u"TForm1", .color = clBtnFace, .font = TFontInfo{},
            .width = kFormOuterWidth, .height = kFormOuterHeight});
    const int band = ClientWidth();
    const TFontInfo regular{};
    const TFontInfo bold{.bold = true};
    const TFontInfo title{.height = -16, .bold = true};

    // Page 1: welcome.
    pnlStep1.Create(*this, {.bounds = {0, 0, band, kPageHeight}, .align = TAlign::Top, .color = clWhite,
                            .tabOrder = 1});
    Image1.Create(pnlStep1, {.bounds = {0, 0, 160, kPageHeight}, .align = TAlign::Left});
    lblWelcome.Create(pnlStep1, {.bounds = {183, 20, 305, 53}, .autoSize = false, .wordWrap = true, .font = title});
    lblWillInstall.Create(pnlStep1,
                          {.bounds = {184, 96, 304, 148}, .autoSize = false, .wordWrap = true, .font = regular});

    // Page 3: destination.
    pnlStep3.Create(*this, {.bounds = {0, 0, band, kPageHeight}, .visible = false, .tabOrder = 2});
    Panel4.Create(pnlStep3, {.bounds = {0, 0, 504, 56}, .align = TAlign::Top, .color = clCream, .tabOrder = 0});
    Bevel3.Create(pnlStep3, {.bounds = {0, 56, 504, 2}, .align = TAlign::Top});
    lblFolder.Create(Panel4, {.bounds = {17, 20, 143, 13}, .caption = LayoutTexts::lblFolder, .font = bold});
    lblFolderTip.Create(Panel4, {.bounds = {36, 28, 132, 13}, .caption = LayoutTexts::lblFolderTip, .visible = false});
    Image3.Create(Panel4, {.bounds = {437, 0, 67, 56}, .align = TAlign::Right, .center = true, .transparent = true});
    // Its English text takes four lines in some fonts: it may grow into the gap above gbFolder.
    lblSetupFolder.Create(pnlStep3, {.bounds = {40, 75, 420, 49}, .autoSize = false, .wordWrap = true,
                                     .maxHeight = 132 - 75});
    gbFolder.Create(pnlStep3, {.bounds = {40, 132, 419, 63}, .caption = LayoutTexts::gbFolder, .tabOrder = 1});
    editSetupDir.Create(gbFolder, {.bounds = {17, 24, 305, 21}, .tabOrder = 0});
    btnBrowse.Create(gbFolder, {.bounds = {325, 24, 77, 21}, .caption = LayoutTexts::btnBrowse, .tabOrder = 1});
    lblNeedSize.Create(pnlStep3, {.bounds = {41, 221, 52, 13}});
    lblFreeSize.Create(pnlStep3, {.bounds = {41, 247, 52, 13}, .caption = LayoutTexts::lblFreeSize});
    chkSCOnDesktop.Create(pnlStep3, {.bounds = {237, 217, 151, 20}, .caption = LayoutTexts::chkSCOnDesktop,
                                     .checked = true, .tabOrder = 2});
    chkSCOnQuick.Create(pnlStep3, {.bounds = {237, 243, 184, 20}, .caption = LayoutTexts::chkSCOnQuick,
                                   .checked = true, .tabOrder = 3});

    // Page 2: licence.
    pnlStep2.Create(*this, {.bounds = {0, 0, band, kPageHeight}, .visible = false, .tabOrder = 3});
    Panel3.Create(pnlStep2, {.bounds = {0, 0, 504, 56}, .align = TAlign::Top, .color = clCream, .tabOrder = 0});
    Bevel2.Create(pnlStep2, {.bounds = {0, 56, 504, 2}, .align = TAlign::Top});
    lblLicense.Create(Panel3, {.bounds = {17, 20, 169, 13}, .caption = LayoutTexts::lblLicense, .font = bold});
    lblLicenseTip.Create(Panel3, {.bounds = {36, 28, 156, 13}, .caption = LayoutTexts::lblLicenseTip,
                                  .font = regular, .visible = false});
    Image2.Create(Panel3, {.bounds = {437, 0, 67, 56}, .align = TAlign::Right, .center = true, .transparent = true});
    Memo2.Create(pnlStep2, {.bounds = {18, 75, 459, 177}, .font = regular, .readOnly = true, .tabOrder = 1});
    lblAgreement.Create(pnlStep2, {.bounds = {23, 267, 437, 32}, .caption = LayoutTexts::lblAgreement,
                                   .autoSize = false, .wordWrap = true, .font = regular});

    // Page 4: completion.
    pnlStep4.Create(*this, {.bounds = {0, 0, band, kPageHeight}, .color = clWhite, .visible = false, .tabOrder = 4});
    lblComplete.Create(pnlStep4, {.bounds = {183, 20, 305, 53}, .autoSize = false, .wordWrap = true, .font = title});
    lblClose.Create(pnlStep4, {.bounds = {184, 89, 302, 65}, .autoSize = false, .wordWrap = true, .font = regular,
                               .visible = false});
    chkRunOnExit.Create(pnlStep4, {.bounds = {207, 111, 203, 14}, .caption = LayoutTexts::chkRunOnExit,
                                   .checked = true, .tabOrder = 0});

    // Below the page band.
    Bevel1.Create(*this, {.bounds = {-1, kPageHeight, 555, 2}});
    ProgressBar1.Create(*this, {.bounds = {35, 328, 185, 12}, .step = 5, .visible = false, .tabOrder = 7});
    btnNext.Create(*this, {.bounds = {330, 323, 77, 22}, .font = regular, .tabOrder = 0});
    btnPrev.Create(*this, {.bounds = {253, 323, 77, 22}, .font = regular, .tabOrder = 5});
    btnClose.Create(*this, {.bounds = {417, 323, 62, 22}, .font = regular, .tabOrder = 6});
}
