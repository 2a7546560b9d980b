#pragma once
// Every text the wizard shows, in its two sets. Product values (display name, version,
// required space) are joined in between by the window's creation handler; "\n" is one
// line feed. Texts are kept byte for byte, including their blanks and spelling.

// The window layout's own captions (they stay in the Chinese wizard).
namespace LayoutTexts {
inline constexpr char16_t lblLicense[] = u"在安装之前，请阅读许可协议";
inline constexpr char16_t lblLicenseTip[] = u"在安装之前，请阅读许可协议";
inline constexpr char16_t lblAgreement[] = u"如果您接受协议中的条款，请单击 [我同意] 继续安装。";
inline constexpr char16_t lblFolder[] = u"选择安装位置并设置选项";
inline constexpr char16_t lblFolderTip[] = u"选择安装位置并设置选项";
inline constexpr char16_t lblFreeSize[] = u"剩余空间:";
inline constexpr char16_t gbFolder[] = u"目标文件夹";
inline constexpr char16_t btnBrowse[] = u"浏览(&S)...";
inline constexpr char16_t chkSCOnDesktop[] = u"创建桌面快捷方式";
inline constexpr char16_t chkSCOnQuick[] = u"创建快速启动栏快捷方式";
inline constexpr char16_t chkRunOnExit[] = u"立即运行软件";
}  // namespace LayoutTexts

namespace ChineseTexts {
inline constexpr char16_t CaptionPrefix[] = u"安装向导 - ";
inline constexpr char16_t FontName[] = u"宋体";
inline constexpr int SmallFontPoints = 9;

inline constexpr char16_t CaptionBack[] = u"上一步";
inline constexpr char16_t CaptionNext[] = u"下一步";
inline constexpr char16_t CaptionCancel[] = u"取 消";
inline constexpr char16_t CaptionAgree[] = u"我同意";
inline constexpr char16_t CaptionFinish[] = u"完 成";
inline constexpr char16_t CaptionInstall[] = u"安 装";
inline constexpr char16_t MsgCreateDirFailed[] = u"无法创建目标文件夹，请重新指定文件夹路径。";
inline constexpr char16_t MsgExtractFailed[] =
    u"提取文件到目标文件夹时发生错误。\n\n您是否正在运行这个软件的旧版本？如果是，请先关闭它，然后再次点击“安装”。";
inline constexpr char16_t BrowsePrompt[] = u"选择或新建文件夹：";
inline constexpr char16_t FreeSpacePrefix[] = u"剩余空间: ";

// Joined: Welcome1 + name + VersionMark + version + Welcome2.
inline constexpr char16_t Welcome1[] = u"欢迎使用 ";
inline constexpr char16_t VersionMark[] = u" V";
inline constexpr char16_t Welcome2[] = u" 安装\n向导";
inline constexpr char16_t WillInstall[] = u"此向导将引导您完成安装过程。\n\n单击 [下一步] 继续，单击 [取消] 退出安装。";
// SetupFolder1 + name + VersionMark + version + SetupFolder2.
inline constexpr char16_t SetupFolder1[] = u"安装程序将安装“";
inline constexpr char16_t SetupFolder2[] =
    u"”到下列文件夹中。\n\n如需安装到其它的文件夹，请直接修改或单击 [浏览] 选择另一个文件夹。";
inline constexpr char16_t NeedSizePrefix[] = u"所需空间: ";
// name + VersionMark + version + Complete.
inline constexpr char16_t Complete[] = u" 安装成功。";

// Licence.
inline constexpr char16_t LicenseTitle[] = u" 用户许可协议";  // after the name
inline constexpr char16_t LicenseIntro[] =
    u"请仔细阅读和理解本用户许可协议中规定的所有权利和限制。在安装时，您需要决定接受或不接受本《协议》的条款。如果接受，您可以继续安装，否则应该取消安装。";
inline constexpr char16_t License1a[] = u"1. ";  // then the name
inline constexpr char16_t License1b[] =
    u"（以下简称“本软件”）软件知识产权属软件作者所有，并且受著作权法、国际著作权条约和其它知识产权法及条约的保护。";
inline constexpr char16_t License2[] =
    u"2. 您不得对本软件进行反向工程、反向编译或反汇编，不得对本软件包含的文件及程序作任何修改，破坏软件的完整性。";
inline constexpr char16_t License3Freeware[] =
    u"3. 本软件是免费软件，您可以免费使用，自由复制或传播本软件。但未经本软件作者允许，不得将本软件产品以任何形式用于任何商业目的。";
inline constexpr char16_t License3Paid[] =
    u"3. 您可以自由复制或传播本软件。但未经本软件作者允许，不得将本软件产品以任何形式用于任何商业目的。";
inline constexpr char16_t License4[] =
    u"4. 本软件保证不含有任何恶意或病毒程序，保证软件本身不会对用户的电脑造成损害，但由于用户的误操作导致的任何不良后果，用户须自己承担风险。如果用户使用本软件产品用于任何非法目的，用户必须独立承担由此带来的法律责任。同时用户必须遵守所有软件产品使用之相关法律。";
// The closing clause: numbered 5 for freeware, 6 after the paid-product clause 5.
inline constexpr char16_t LicenseClosing[] =
    u"若您未能遵守本《协议》之条款，则本软件作者在不妨碍其他权力之情况下，有权采取包括追究法律责任在内的相应措施并终止本《用户许可协议》。";
inline constexpr char16_t Number5[] = u"5. ";
inline constexpr char16_t Number6[] = u"6. ";
}  // namespace ChineseTexts

namespace EnglishTexts {
inline constexpr char16_t CaptionPrefix[] = u"Setup - ";

inline constexpr char16_t CaptionBack[] = u"< &Back";
inline constexpr char16_t CaptionNext[] = u"&Next >";
inline constexpr char16_t CaptionCancel[] = u"Cancel";
inline constexpr char16_t CaptionAgree[] = u"I &Agree";
inline constexpr char16_t CaptionFinish[] = u"&Finish";
inline constexpr char16_t CaptionInstall[] = u"&Install";
inline constexpr char16_t MsgCreateDirFailed[] = u"Destination folder can't be created, need to select another folder.";
inline constexpr char16_t MsgExtractFailed[] =
    u"An error occurred extracting files to the destination folder.\n\nWhether you're running an older version of this software? If yes, please close it and then click Install.";
inline constexpr char16_t BrowsePrompt[] = u"Select or create a new folder:";
inline constexpr char16_t FreeSpacePrefix[] = u"Space available: ";

// Welcome1 + name + " " + version + Welcome2.
inline constexpr char16_t Welcome1[] = u"Welcome to the ";
inline constexpr char16_t Welcome2[] = u" Setup Wizard";
// WillInstall1 + name + " " + version + WillInstall2.
inline constexpr char16_t WillInstall1[] = u"This will install ";
inline constexpr char16_t WillInstall2[] = u" on your computer.\n\nClick Next to continue, or Cancel to exit Setup.";
inline constexpr char16_t License[] = u"License Agreement";
inline constexpr char16_t LicenseTip[] = u"Please read the following important infomation before continuing.";
// Agreement + name + ".".
inline constexpr char16_t Agreement[] =
    u"If you accept the terms of the agreement, click I Agree to continue. You must accept the agreement to install ";
inline constexpr char16_t Folder[] = u"Select Destination Location";
// FolderTip1 + name + FolderTip2.
inline constexpr char16_t FolderTip1[] = u"Where should ";
inline constexpr char16_t FolderTip2[] = u" be installed?";
// SetupFolder1 + name + " " + version + SetupFolder2.
inline constexpr char16_t SetupFolder1[] = u"Setup will install ";
inline constexpr char16_t SetupFolder2[] =
    u" into the following folder.\n\nTo continue, click Next. If you would like to select a different folder, click Browse.";
inline constexpr char16_t DestinationFolder[] = u"Destination Folder";
inline constexpr char16_t Browse[] = u"&Browse...";
inline constexpr char16_t NeedSizePrefix[] = u"Space required: ";
inline constexpr char16_t DesktopIcon[] = u"Create a desktop icon";
inline constexpr char16_t QuickLaunchIcon[] = u"Create a Quick Launch icon";
// Complete1 + name + Complete2.
inline constexpr char16_t Complete1[] = u"Completing the ";
inline constexpr char16_t Complete2[] = u" Setup Wizard";
// Close1 + name + " " + version + Close2.
inline constexpr char16_t Close1[] = u"Setup has finished installing ";
inline constexpr char16_t Close2[] = u" on your computer.\n\nClick Finish to close this wizard.";
inline constexpr char16_t RunOnExit[] = u"Launch ";  // then the name

// Licence.
inline constexpr char16_t LicenseHeading[] = u"End User License Agreement";
// LicenseIntro1 + " " + name + LicenseIntro2.
inline constexpr char16_t LicenseIntro1[] = u"Please read the following terms and conditions carefully before using";
inline constexpr char16_t LicenseIntro2[] =
    u". Use of this software indicates you accept the terms of this license agreement and warranty.";
inline constexpr char16_t Disclaimer[] = u"1. Disclaimer of Warranty";
// name + AsIs1 + "\"as-is\"" + AsIs2.
inline constexpr char16_t AsIs1[] = u" (this software) is provided ";
inline constexpr char16_t AsIs[] = u"\"as-is\"";
inline constexpr char16_t AsIs2[] =
    u" and without warranty of any kind, express, implied or otherwise, including without limitation, any warranty of merchantability or fitness for a particular purpose.";
inline constexpr char16_t Liability[] =
    u"In no event shall the author of this software be held liable for data loss, damages, loss of profits or any other kind of loss while using or misusing this software.";
inline constexpr char16_t LicenseSection[] = u"2. License";
inline constexpr char16_t FreewareUse[] = u"This software is freeware, you can unrestricted use of it.";
inline constexpr char16_t FreewareCommercial[] =
    u"But without the permission from the author of this software, this software may not be used for any commercial purposes, in any form.";
inline constexpr char16_t Restrictions[] = u"3. Restrictions on Use";
inline constexpr char16_t NoReverse[] =
    u"This software must not be decompiled, disassembled, reverse engineered or otherwise modified.";
}  // namespace EnglishTexts
