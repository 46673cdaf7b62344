// Window 0 and the controls of its seven pages.
#include <windows.h>
#include <richedit.h>

#include <string>

#include "common/fonts.h"
#include "common/gui.h"
#include "common/images.h"
#include "model/setup_files.h"
#include "setupruntime/licence_text.h"
#include "setupruntime/runtime_state.h"
#include "setupruntime/startup_rules.h"
#include "setupruntime/wizard.h"

namespace {

constexpr int kWidth = 497;
constexpr int kHeight = 362;
constexpr COLORREF kWhite = RGB(255, 255, 255);
// The text beside a page's icon may take two lines (translations run longer than one);
// the text below starts at 115, so the second line has room.
constexpr int kIconTextHeight = 30;

void Label(int number, int x, int y, int w, int h, const std::wstring& text, int font, bool white) {
  CreateLabelW(number, x, y, w, h, text);
  if (font >= 0) SetControlFont(number, RuntimeFontHandle(font));
  if (white) SetControlBackColour(number, kWhite);
}

// A label under a new number.
int FreeLabel(int x, int y, int w, int h, const std::wstring& text, int font, bool white) {
  int n = static_cast<int>(CreateLabelW(kAnyNumber, x, y, w, h, text));
  if (n == 0) return 0;
  if (font >= 0) SetControlFont(n, RuntimeFontHandle(font));
  if (white) SetControlBackColour(n, kWhite);
  return n;
}

void Image(int number, int x, int y, int w, int h, int image) {
  CreateImageControl(number, x, y, w, h, RuntimeImageHandle(image));
}

// The shared top of the pages with a header: white band, header picture, two texts, line.
void Header(const std::wstring& title, const std::wstring& subTitle, int imageSize) {
  int band = static_cast<int>(CreateContainer(kAnyNumber, 0, 0, kWidth, 58));
  SetControlBackColour(band, kWhite);
  Image(kAnyNumber, 440, 1, imageSize, imageSize, kImageHeader);
  FreeLabel(14, 10, 305, 15, title, kFontHeaderTitle, true);
  FreeLabel(25, 27, 355, 40, subTitle, kFontHeaderText, true);
  ClosePanel();
  Image(kAnyNumber, 0, 58, kWidth, 2, kImageSeparator);
}

int Page(int page) {
  int number = kPageContainers[page];
  CreateContainer(number, 0, 0, kWidth, 313);
  return number;
}

// Welcome and finish: the wizard picture beside a white panel.
void PicturePage(const std::wstring& title) {
  Image(kAnyNumber, 0, 0, 164, 314, kImageWizard);
  int panel = static_cast<int>(CreateContainer(kAnyNumber, 165, 0, 335, 315));
  SetControlBackColour(panel, kWhite);
  FreeLabel(14, 14, 305, 70, title, kFontTitle, true);
}

// The two folder pages start alike: header, the page's icon with a text beside it, and
// a second text below.
void FolderPageTop(int page, const std::wstring& headT, const std::wstring& headB, HICON icon,
                   const std::wstring& text1, const std::wstring& text2, int text2Height) {
  Page(page);
  Header(headT, headB, 55);
  CreateImageControl(kAnyNumber, 25, 70, 32, 32, icon);
  FreeLabel(60, 80, 400, kIconTextHeight, text1, -1, false);
  FreeLabel(25, 115, 400, text2Height, text2, -1, false);
}

void WelcomePage(const SetupTexts& t) {
  Page(kPageWelcome);
  PicturePage(t.startTitle);
  FreeLabel(14, 79, 305, 205, t.startText, -1, true);
  ClosePanel();
  ClosePanel();
}

void LicencePage(const SetupTexts& t) {
  Page(kPageLicence);
  Header(t.licenceHeadT, t.licenceHeadB, 70);
  FreeLabel(25, 70, 400, 40, t.licenceText1, -1, false);
  CreateEditor(kLicenceEditor, 25, 110, 410, 150, kEditorReadOnly | kEditorWordWrap);
  PrepareLicenceEditor(kLicenceEditor, Runtime().workFolder + setup_files::kLicence.wide);
  CreateOptionW(kAcceptOption, 25, 270, 385, 15, t.acceptOptn);
  CreateOptionW(kDoNotAcceptOption, 25, 290, 385, 15, t.doNotAcceptOptn);
  SetControlState(kDoNotAcceptOption, 1);
  ClosePanel();
}

void AppFolderPage(const SetupTexts& t, const SetupConfig& c) {
  FolderPageTop(kPageAppFolder, t.appFolderHeadT, t.appFolderHeadB, Runtime().folderIcon, t.appFolderText1,
                t.appFolderText2, 40);
  CreateFrameW(kAnyNumber, 25, 170, 415, 60, t.destinationFolderFR3);
  CreateTextFieldW(kInstallFolderField, 33, 195, 310, 22, c.installDir);
  CreateButtonW(kInstallFolderBrowse, 350, 194, 82, 24, t.browseBtn);
  Label(kTotalSizeText, 25, 270, 400, 20, t.appFolderText3 + L" " + c.totalSize, -1, false);
  Label(kFreeSpaceText, 25, 290, 400, 20, t.appFolderText4 + L" " + GetFreeSpaceText(c.installDir), -1, false);
  ClosePanel();
}

void TasksPage(const SetupTexts& t, const SetupConfig& c) {
  Page(kPageTasks);
  Header(t.tasksHeadT, t.tasksHeadB, 55);
  FreeLabel(25, 80, 410, 80, t.tasksText1 + L"\n\n\n" + t.tasksText2, -1, false);
  CreateCheckBoxW(kDesktopCheckBox, 25, 157, 300, 20, t.createDesktopIconCbx);
  CreateCheckBoxW(kStartMenuCheckBox, 25, 180, 300, 20, t.createStartMenuFolderCbx);
  // The settings reader clears each allow flag whose shortcuts are not made at all.
  if (c.allowDesktopIcons == 0) DisableControl(kDesktopCheckBox, true);
  if (c.allowStartMenuFolder == 0) DisableControl(kStartMenuCheckBox, true);
  if (c.desktopIcon != 0) SetControlState(kDesktopCheckBox, 1);
  if (c.startMenuFolder != 0) SetControlState(kStartMenuCheckBox, 1);
  ClosePanel();
}

void StartMenuPage(const SetupTexts& t, const SetupConfig& c) {
  FolderPageTop(kPageStartMenu, t.startMenuHeadT, t.startMenuHeadB, Runtime().startMenuIcon, t.startMenuText1,
                t.startMenuText2, 30);
  CreateTextFieldW(kStartMenuField, 25, 145, 290, 22, c.shortcutFolder);
  CreateButtonW(kStartMenuBrowse, 327, 145, 80, 22, t.browseBtn);
  ClosePanel();
}

void InstallingPage(const SetupTexts& t) {
  Page(kPageInstalling);
  Header(t.installingHeadT, t.installingHeadB, 55);
  Label(kStatusText, 25, 80, 435, 27, t.installingText1, -1, false);
  CreateProgress(kProgressBar, 25, 117, kWidth - 55, 17, 0, 10);
  ClosePanel();
}

void FinishPage(const SetupTexts& t, const SetupConfig& c) {
  Page(kPageFinish);
  PicturePage(t.finishTitle);
  FreeLabel(14, 79, 305, 80, t.finishText1, -1, true);
  std::wstring box;
  if (c.addition == 1) box = t.rebootCbx;
  if (c.addition == 2) box = t.launchProgramCbx + L" " + c.appName;
  if (c.addition == 1 || c.addition == 2) {
    CreateCheckBoxW(kFinishCheckBox, 14, 167, 300, 20, box);
    SetControlState(kFinishCheckBox, 1);
    SetControlFrontColour(kFinishCheckBox, RGB(0, 0, 0));
    SetControlBackColour(kFinishCheckBox, kWhite);
  }
  ClosePanel();
  ClosePanel();
}

}  // namespace

void CreateWizardWindow() {
  RuntimeState& r = Runtime();
  const SetupTexts& t = r.texts;
  const SetupConfig& c = r.config;
  if (!OpenRuntimeWindowW(
          kWizardWindow, 0, 0, kWidth, kHeight, t.mainTitle,
          kWindowTitleBar | kWindowSystemMenu | kWindowMinimizeBox | kWindowScreenCentered | kWindowInvisible))
    ExitSetup(1);
  WelcomePage(t);
  LicencePage(t);
  AppFolderPage(t, c);
  TasksPage(t, c);
  StartMenuPage(t, c);
  InstallingPage(t);
  FinishPage(t, c);
  CreateButtonW(kNextButton, 330, 327, 75, 23, t.nextBtn, kButtonDefault);
  CreateButtonW(kBackButton, 253, 327, 75, 23, t.backBtn);
  CreateButtonW(kCancelButton, 410, 327, 75, 23, t.cancelBtn);
  if (c.label == 1) Image(kSeparatorLine, 0, 313, kWidth, 2, kImageSeparator);
  ShowWizardPage(r.page);
  ShowRuntimeWindow(kWizardWindow, true);
}
